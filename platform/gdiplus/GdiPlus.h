#pragma once
// The GDI+ stand-in: include this for every TGP… class.

#include "platform/gdiplus/GdiPlusTypes.h"
#include "platform/gdiplus/TGPBrush.h"
#include "platform/gdiplus/TGPFont.h"
#include "platform/gdiplus/TGPFontFamily.h"
#include "platform/gdiplus/TGPGraphics.h"
#include "platform/gdiplus/TGPGraphicsPath.h"
#include "platform/gdiplus/TGPHatchBrush.h"
#include "platform/gdiplus/TGPImage.h"
#include "platform/gdiplus/TGPLinearGradientBrush.h"
#include "platform/gdiplus/TGPMatrix.h"
#include "platform/gdiplus/TGPPathGradientBrush.h"
#include "platform/gdiplus/TGPPen.h"
#include "platform/gdiplus/TGPRegion.h"
#include "platform/gdiplus/TGPStringFormat.h"
#include "platform/gdiplus/TGPTextureBrush.h"

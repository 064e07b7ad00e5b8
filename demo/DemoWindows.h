#pragma once
// The demo's window classes: a frame, coloured panels, a button that changes colour when
// clicked, and a pane that shows the last key and the typed text.

#include "platform/core/Unicode.h"
#include "platform/window/WindowApi.h"

namespace kestrel::demo {

using namespace kestrel::platform;

struct DemoWindows {
  HWND frame = nullptr;
  HWND button = nullptr;
  HWND keys = nullptr;
};

void RegisterDemoClasses();
DemoWindows CreateDemoWindows();

// Colours the button shows before and after a click.
constexpr COLORREF kButtonNormal = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kButtonClicked = RGB(0x30, 0xA0, 0x50);

// Gives the frame rounded corners through a window region (the display shapes the window).
void ShapeDemoFrame(HWND frame);

bool ButtonWasClicked(HWND button);
String KeysText(HWND keys);

}  // namespace kestrel::demo

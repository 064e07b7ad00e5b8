#pragma once
// The message-box flags and answers under the framework's names; TApplication::MessageBox shows
// the window system's box.

#include "framework/Strings.h"
#include "platform/window/MessageBox.h"

namespace kestrel {

// The flags and answers are the window system's (one definition for the whole program).
using platform::IDABORT;
using platform::IDCANCEL;
using platform::IDIGNORE;
using platform::IDNO;
using platform::IDOK;
using platform::IDRETRY;
using platform::IDYES;
using platform::MB_ABORTRETRYIGNORE;
using platform::MB_DEFBUTTON1;
using platform::MB_DEFBUTTON2;
using platform::MB_DEFBUTTON3;
using platform::MB_ICONASTERISK;
using platform::MB_ICONERROR;
using platform::MB_ICONEXCLAMATION;
using platform::MB_ICONHAND;
using platform::MB_ICONINFORMATION;
using platform::MB_ICONQUESTION;
using platform::MB_ICONWARNING;
using platform::MB_OK;
using platform::MB_OKCANCEL;
using platform::MB_RETRYCANCEL;
using platform::MB_YESNO;
using platform::MB_YESNOCANCEL;

}  // namespace kestrel

#include "framework/UtilWindow.h"

#include <set>

#include "platform/core/ProcessWide.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

constexpr const char16_t* kClassName = u"KestrelUtilWindow";

pf::LRESULT UtilWindowProc(pf::HWND hwnd, pf::UINT msg, pf::WPARAM wParam, pf::LPARAM lParam) {
  auto* method = reinterpret_cast<TWndMethod*>(pf::GetWindowLongPtrW(hwnd, 0));
  if (!method) return pf::DefWindowProcW(hwnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  (*method)(m);
  return m.Result;
}

// Every live method, so that windows alive at exit (the application's) still own theirs. The
// methods belong to their windows' owners, so a reset keeps the list.
using MethodSet = std::set<TWndMethod*>;
constinit platform::ProcessWide<MethodSet> gLiveMethods(platform::ProcessWideOptions<MethodSet>{.keptByReset = true});

MethodSet& LiveMethods() { return *gLiveMethods; }

void RegisterUtilClass() {
  pf::WNDCLASSEXW existing;
  if (pf::GetClassInfoExW(nullptr, kClassName, &existing)) return;
  pf::WNDCLASSEXW wc;
  wc.lpfnWndProc = UtilWindowProc;
  wc.cbWndExtra = sizeof(void*);
  wc.lpszClassName = kClassName;
  pf::RegisterClassExW(&wc);
}

}  // namespace

pf::HWND AllocateHWnd(TWndMethod method) {
  RegisterUtilClass();
  pf::HWND hwnd = pf::CreateWindowExW(pf::WS_EX_TOOLWINDOW, kClassName, u"", pf::WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      nullptr, nullptr);
  if (hwnd) {
    auto* stored = new TWndMethod(std::move(method));
    LiveMethods().insert(stored);
    pf::SetWindowLongPtrW(hwnd, 0, reinterpret_cast<pf::LONG_PTR>(stored));
  }
  return hwnd;
}

void DeallocateHWnd(pf::HWND hwnd) {
  if (!hwnd || !pf::IsWindow(hwnd)) return;
  auto* method = reinterpret_cast<TWndMethod*>(pf::GetWindowLongPtrW(hwnd, 0));
  pf::SetWindowLongPtrW(hwnd, 0, 0);
  pf::DestroyWindow(hwnd);
  LiveMethods().erase(method);
  delete method;
}

void DefaultUtilWindowProc(pf::HWND hwnd, TMessage& m) {
  m.Result = pf::DefWindowProcW(hwnd, m.Msg, m.WParam, m.LParam);
}

}  // namespace kestrel

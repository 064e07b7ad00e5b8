#include "platform/window/internal/WindowManager.h"

#include <cstdio>
#include <cstdlib>

#include "platform/gdi/SystemColors.h"
#include "platform/window/Backend.h"
#include "platform/window/Caret.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowClass.h"
#include "platform/window/internal/WindowInternal.h"

namespace kestrel::platform {

namespace {

std::shared_ptr<Window> MakeRoot(const char16_t* className, RECT rect) {
  auto cls = std::make_shared<WindowClass>();
  cls->name = className;
  cls->proc = DefWindowProcW;
  auto root = std::make_shared<Window>();
  root->windowClass = cls;
  root->proc = DefWindowProcW;
  root->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  root->window = root->client = rect;
  root->created = true;
  return root;
}

std::unique_ptr<WindowManager>& Installed() {
  static std::unique_ptr<WindowManager> state = std::make_unique<WindowManager>();
  return state;
}

}  // namespace

WindowManager& WindowManager::Get() { return *Installed(); }

void ResetPlatformState(std::unique_ptr<Backend> backend) {
  WindowManager& old = Wm();
  old.CheckGuiThread("platform state reset");
  std::vector<HWND> own;
  for (auto& w : old.AllWindows())
    if (w->thread == std::this_thread::get_id() && w->IsTopLevel()) own.push_back(w->handle);
  for (HWND h : own) DestroyWindow(h);
  detail::DropAllWindows();
  DestroyCaret();
  MessageQueue::Current()->Clear();
  // The fresh state keeps the handle table, emptied: a handle kept across the reset names no
  // window of the new state.
  auto fresh = std::make_unique<WindowManager>(old.TakeHandleTable());
  if (backend) fresh->SetBackend(std::move(backend));
  // The old state goes once the fresh one is in place.
  auto previous = std::exchange(Installed(), std::move(fresh));
  previous.reset();
}

WindowManager::WindowManager(std::unique_ptr<HandleTable<Window>> table) : table_(std::move(table)) {
  if (!table_) table_ = std::make_unique<HandleTable<Window>>(static_cast<std::uint8_t>(HandleTag::Window));
  desktop_ = MakeRoot(u"#32769", {0, 0, 1024, 768});
  desktop_->handle = Insert(desktop_);
  messageRoot_ = MakeRoot(u"Message", {0, 0, 0, 0});
  messageRoot_->style &= ~WS_VISIBLE;
  messageRoot_->handle = Insert(messageRoot_);
}

WindowManager::~WindowManager() {
  // Windows still alive at exit go with the table; release their native side first while the
  // backend still exists.
  if (backend_) {
    for (auto& top : desktop_->children) backend_->DestroyNativeWindow(top->handle);
  }
}

std::unique_ptr<HandleTable<Window>> WindowManager::TakeHandleTable() {
  Remove(desktop_->handle);
  Remove(messageRoot_->handle);
  return std::move(table_);
}

std::shared_ptr<Window> WindowManager::Lookup(HWND hwnd) const {
  auto w = table_->Lookup(reinterpret_cast<std::uintptr_t>(hwnd));
  if (!w || w->destroyed) return nullptr;
  return w;
}

HWND WindowManager::Insert(const std::shared_ptr<Window>& window) {
  return reinterpret_cast<HWND>(table_->Insert(window));
}

void WindowManager::Remove(HWND hwnd) { table_->Remove(reinterpret_cast<std::uintptr_t>(hwnd)); }

std::vector<std::shared_ptr<Window>> WindowManager::AllWindows() const {
  std::vector<std::shared_ptr<Window>> out;
  for (auto& [handle, w] : table_->Entries())
    if (!w->destroyed && !w->IsRoot()) out.push_back(w);
  return out;
}

Backend& WindowManager::GetBackend() {
  std::lock_guard lock(backendMutex_);
  if (!backend_) {
    backend_ = std::make_unique<HeadlessBackend>();
    BindGuiThread();
    desktop_->window = desktop_->client = backend_->ScreenRect();
  }
  return *backend_;
}

void WindowManager::SetBackend(std::unique_ptr<Backend> backend) {
  std::lock_guard lock(backendMutex_);
  backend_ = std::move(backend);
  BindGuiThread();
  if (!backend_) return;
  desktop_->window = desktop_->client = backend_->ScreenRect();
  // The metrics report the screen the backend really has.
  RECT screen = desktop_->client;
  for (int index : {SM_CXSCREEN, SM_CXFULLSCREEN, SM_CXVIRTUALSCREEN})
    SetSystemMetric(index, screen.right - screen.left);
  for (int index : {SM_CYSCREEN, SM_CYVIRTUALSCREEN}) SetSystemMetric(index, screen.bottom - screen.top);
}

DWORD WindowManager::Now() { return GetBackend().Now(); }

bool WindowManager::HasBackend() const {
  std::lock_guard lock(backendMutex_);
  return backend_ != nullptr;
}

std::thread::id WindowManager::BackendThread() const {
  std::lock_guard lock(backendMutex_);
  return backendThread_;
}

void WindowManager::BindGuiThread() {
  backendThread_ = std::this_thread::get_id();
  guiThread_.store(backendThread_, std::memory_order_relaxed);
}

bool WindowManager::OnGuiThread() const {
  std::thread::id gui = guiThread_.load(std::memory_order_relaxed);
  return gui == std::thread::id() || gui == std::this_thread::get_id();
}

bool WindowManager::HoldsInput(const Window& window) const {
  return OnGuiThread() && window.thread == guiThread_.load(std::memory_order_relaxed);
}

void WindowManager::CheckGuiThread([[maybe_unused]] const char* what) const {
#if KESTREL_THREAD_CHECKS
  if (OnGuiThread()) return;
  std::fprintf(stderr, "platform state: %s used off the GUI thread\n", what);
  std::abort();
#endif
}

HWND WindowManager::Focus() const {
  CheckGuiThread("focus");
  return focus_;
}

void WindowManager::AssignFocus(HWND hwnd) {
  CheckGuiThread("focus");
  focus_ = hwnd;
}

HWND WindowManager::Active() const {
  CheckGuiThread("active window");
  return active_;
}

void WindowManager::AssignActive(HWND hwnd) {
  CheckGuiThread("active window");
  active_ = hwnd;
}

std::optional<std::thread::id> WindowManager::ActiveApp() const {
  CheckGuiThread("active application");
  return activeApp_;
}

void WindowManager::AssignActiveApp(std::optional<std::thread::id> thread) {
  CheckGuiThread("active application");
  activeApp_ = thread;
}

HWND WindowManager::Capture() const {
  CheckGuiThread("capture");
  return capture_;
}

void WindowManager::AssignCapture(HWND hwnd) {
  CheckGuiThread("capture");
  capture_ = hwnd;
}

HCURSOR WindowManager::Cursor() const {
  CheckGuiThread("cursor");
  return cursor_;
}

void WindowManager::AssignCursor(HCURSOR cursor) {
  CheckGuiThread("cursor");
  cursor_ = cursor;
}

MouseState& WindowManager::Mouse() {
  CheckGuiThread("mouse state");
  return mouse_;
}

KeyStates& WindowManager::Keys() {
  CheckGuiThread("key state");
  return keys_;
}

KeyStates& WindowManager::AsyncKeys() {
  CheckGuiThread("key state");
  return asyncKeys_;
}

POINT WindowManager::MousePosition() const {
  std::uint64_t packed = mousePosition_.load(std::memory_order_relaxed);
  return {static_cast<LONG>(static_cast<std::int32_t>(packed >> 32)),
          static_cast<LONG>(static_cast<std::int32_t>(packed & 0xFFFFFFFFu))};
}

void WindowManager::SetMousePosition(POINT position) {
  auto x = static_cast<std::uint32_t>(position.x);
  auto y = static_cast<std::uint32_t>(position.y);
  mousePosition_.store((std::uint64_t{x} << 32) | y, std::memory_order_relaxed);
}

std::shared_ptr<Window> ValidWindow(HWND hwnd) {
  auto w = Wm().Lookup(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

}  // namespace kestrel::platform

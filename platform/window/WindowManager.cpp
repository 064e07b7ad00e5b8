#include "platform/window/WindowManager.h"

#include "platform/gdi/SystemColors.h"
#include "platform/window/Backend.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowApi.h"
#include "platform/window/WindowClass.h"

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

}  // namespace

WindowManager& WindowManager::Get() {
  static WindowManager manager;
  return manager;
}

WindowManager::WindowManager() : table_(static_cast<std::uint8_t>(HandleTag::Window)) {
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

std::shared_ptr<Window> WindowManager::Lookup(HWND hwnd) const {
  auto w = table_.Lookup(reinterpret_cast<std::uintptr_t>(hwnd));
  if (!w || w->destroyed) return nullptr;
  return w;
}

HWND WindowManager::Insert(const std::shared_ptr<Window>& window) {
  return reinterpret_cast<HWND>(table_.Insert(window));
}

void WindowManager::Remove(HWND hwnd) { table_.Remove(reinterpret_cast<std::uintptr_t>(hwnd)); }

std::vector<std::shared_ptr<Window>> WindowManager::AllWindows() const {
  std::vector<std::shared_ptr<Window>> out;
  for (auto& [handle, w] : table_.Entries())
    if (!w->destroyed && !w->IsRoot()) out.push_back(w);
  return out;
}

Backend& WindowManager::GetBackend() {
  std::lock_guard lock(backendMutex_);
  if (!backend_) {
    backend_ = std::make_unique<HeadlessBackend>();
    backendThread_ = std::this_thread::get_id();
    desktop_->window = desktop_->client = backend_->ScreenRect();
  }
  return *backend_;
}

void WindowManager::SetBackend(std::unique_ptr<Backend> backend) {
  std::lock_guard lock(backendMutex_);
  backend_ = std::move(backend);
  backendThread_ = std::this_thread::get_id();
  if (!backend_) return;
  desktop_->window = desktop_->client = backend_->ScreenRect();
  // The metrics report the screen the backend really has.
  RECT screen = desktop_->client;
  for (int index : {SM_CXSCREEN, SM_CXFULLSCREEN, SM_CXVIRTUALSCREEN}) SetSystemMetric(index, screen.right - screen.left);
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

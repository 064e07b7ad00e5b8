#include "platform/backend/internal/X11Connection.h"

#include <SDL_syswm.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>

#if defined(KESTREL_HAVE_XSHAPE) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#define KESTREL_X11_CONNECTION 1
#endif

namespace kestrel::platform {

#ifdef KESTREL_X11_CONNECTION

namespace {

std::optional<SDL_SysWMinfo> X11InfoOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
  return info;
}

// Xlib calls this once the connection to the server is gone (the server ended, the network went),
// and ends the program itself should this return. Nothing can be shown or cleaned up through a
// dead connection, and the windows' destructors would wait on it for ever: the program says why
// it ends and ends at once. The next start removes what the run left behind.
int DisplayLost(Display*) {
  static const char message[] = ": the connection to the display was lost; ending.\n";
  const char* name = program_invocation_short_name;
  [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, name, std::strlen(name));
  n = ::write(STDERR_FILENO, message, sizeof message - 1);
  ::_exit(1);
}

// Cairo's ARGB32 words as they lie in memory on this machine.
int HostByteOrder() {
  const std::uint32_t probe = 1;
  return *reinterpret_cast<const unsigned char*>(&probe) == 1 ? LSBFirst : MSBFirst;
}

// Whether an X request made while this is set failed (XShmAttach is refused by a server on
// another machine, which cannot see this machine's shared memory).
bool requestFailed = false;

int NoteFailure(Display*, XErrorEvent*) {
  requestFailed = true;
  return 0;
}

// Changes of at least this many pixels go out through shared memory (a whole window scrolled
// by a line, a page turned); smaller ones (a line, the caret) through the socket, which costs
// less for them than making sure the server is done with a shared image.
constexpr long kSharedFrom = 65536;

// Pixels shared with the server: a window's changed pixels are copied here and the server takes
// them from memory instead of from the socket (a whole window is about a megabyte, which the
// program would otherwise write through the socket while the server reads it).
class SharedImage {
 public:
  // An image of `width` × `height` for windows of `visual` and `depth`; Valid() says whether the
  // server took it.
  SharedImage(Display* display, Visual* visual, int depth, int width, int height) : display_(display) {
    image_ = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &info_,
                             static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!image_) return;
    info_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * image_->height, IPC_CREAT | 0600);
    if (info_.shmid < 0) return;
    info_.shmaddr = image_->data = static_cast<char*>(shmat(info_.shmid, nullptr, 0));
    if (info_.shmaddr == reinterpret_cast<char*>(-1)) {
      info_.shmaddr = image_->data = nullptr;
      return;
    }
    info_.readOnly = True;
    XSync(display, False);
    requestFailed = false;
    XErrorHandler previous = XSetErrorHandler(NoteFailure);
    attached_ = XShmAttach(display, &info_) && (XSync(display, False), !requestFailed);
    XSetErrorHandler(previous);
    // Marked for removal now: the segment goes when both sides let go of it, even after a crash.
    shmctl(info_.shmid, IPC_RMID, nullptr);
  }
  ~SharedImage() {
    if (attached_) {
      XShmDetach(display_, &info_);
      XSync(display_, False);
    }
    if (info_.shmaddr) shmdt(info_.shmaddr);
    if (image_) {
      image_->data = nullptr;  // not Xlib's to free
      XDestroyImage(image_);
    }
  }
  SharedImage(const SharedImage&) = delete;
  SharedImage& operator=(const SharedImage&) = delete;

  bool Valid() const { return attached_; }
  bool Fits(int width, int height) const { return image_->width >= width && image_->height >= height; }

  // Sends `r` of `source` (ARGB32) to the same place in `window`. The server reads the pixels
  // when it gets to the request, so they must not be written again before: a request the
  // server has sent an event or reply after is done (both carry the last request's number; the
  // completion event asked for here is one), and only when none came since does the program
  // wait for the server.
  void Put(::Window window, GC gc, cairo_surface_t* source, const RECT& r) {
    if (pending_ && LastKnownRequestProcessed(display_) < pending_) XSync(display_, False);
    const auto* from = cairo_image_surface_get_data(source);
    const int stride = cairo_image_surface_get_stride(source);
    const std::size_t bytes = static_cast<std::size_t>(r.right - r.left) * 4;
    for (LONG y = r.top; y < r.bottom; ++y)
      std::memcpy(image_->data + static_cast<std::ptrdiff_t>(y) * image_->bytes_per_line + r.left * 4,
                  from + static_cast<std::ptrdiff_t>(y) * stride + r.left * 4, bytes);
    pending_ = NextRequest(display_);
    XShmPutImage(display_, window, gc, image_, static_cast<int>(r.left), static_cast<int>(r.top),
                 static_cast<int>(r.left), static_cast<int>(r.top), static_cast<unsigned>(r.right - r.left),
                 static_cast<unsigned>(r.bottom - r.top), True);
  }

 private:
  Display* display_;
  XShmSegmentInfo info_{};
  XImage* image_ = nullptr;
  bool attached_ = false;
  unsigned long pending_ = 0;  // the request that reads the pixels, until known done
};

}  // namespace

struct X11Connection::Impl {
  Display* display = nullptr;  // SDL's
  GC gc = nullptr;
  // Per X window: its depth when the image words can go to it as they are, else 0.
  std::map<::Window, int> depths;
  std::map<SDL_Window*, ::Window> windows;
  std::map<::Window, Visual*> visuals;
  // Per X window, its shared image once made.
  std::map<::Window, std::unique_ptr<SharedImage>> shared;
  bool sharedMemory = false;  // the server offers shared images and took them so far
  int movesPending = 0;       // moves sent whose last report has not come
  // When the socket was last seen with nothing to read.
  std::chrono::steady_clock::time_point quietAt{};

  int DepthFor(::Window xwindow) {
    auto it = depths.find(xwindow);
    if (it != depths.end()) return it->second;
    XWindowAttributes a{};
    int depth = 0;
    // The pixel values SDL's own framebuffer would send for such a visual are the same words.
    if (XGetWindowAttributes(display, xwindow, &a) && a.visual &&
        (a.visual->c_class == TrueColor || a.visual->c_class == DirectColor) && a.depth == 24 &&
        a.visual->red_mask == 0xFF0000 && a.visual->green_mask == 0xFF00 && a.visual->blue_mask == 0xFF) {
      depth = a.depth;
      visuals[xwindow] = a.visual;
    }
    return depths[xwindow] = depth;
  }

  // The window's shared image, at least `width` × `height`; null when shared images are not to
  // be had.
  SharedImage* SharedFor(::Window xwindow, int depth, int width, int height) {
    if (!sharedMemory) return nullptr;
    std::unique_ptr<SharedImage>& image = shared[xwindow];
    if (image && image->Fits(width, height)) return image.get();
    image = std::make_unique<SharedImage>(display, visuals[xwindow], depth, width, height);
    if (image->Valid()) return image.get();
    sharedMemory = false;  // refused once, refused always (a server on another machine)
    shared.clear();
    return nullptr;
  }

  SDL_Window* SdlWindowOf(::Window xwindow) const {
    for (const auto& [sdl, x] : windows)
      if (x == xwindow) return sdl;
    return nullptr;
  }

  // A move ends with one NoExpose, or with GraphicsExpose events of which the last has count 0.
  void Report(const XEvent& e, std::vector<std::pair<SDL_Window*, RECT>>& uncopied) {
    if (e.type == NoExpose) {
      movesPending = std::max(movesPending - 1, 0);
      return;
    }
    const XGraphicsExposeEvent& g = e.xgraphicsexpose;
    if (SDL_Window* window = SdlWindowOf(g.drawable))
      uncopied.push_back({window, {g.x, g.y, g.x + g.width, g.y + g.height}});
    if (g.count == 0) movesPending = std::max(movesPending - 1, 0);
  }
};

namespace {

Bool IsMoveReport(Display*, XEvent* e, XPointer) {
  return e->type == NoExpose || e->type == GraphicsExpose ? True : False;
}

}  // namespace

X11Connection::X11Connection(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

X11Connection::~X11Connection() {
  impl_->shared.clear();
  if (impl_->gc) XFreeGC(impl_->display, impl_->gc);
}

std::unique_ptr<X11Connection> X11Connection::For(SDL_Window* window) {
  auto info = X11InfoOf(window);
  if (!info || !info->info.x11.display) return nullptr;
  XSetIOErrorHandler(DisplayLost);
  auto impl = std::make_unique<Impl>();
  impl->display = info->info.x11.display;
  impl->sharedMemory = XShmQueryExtension(impl->display) == True;
  return std::unique_ptr<X11Connection>(new X11Connection(std::move(impl)));
}

// The socket is asked at most once a millisecond: one pass of the message loop checks several
// times, and a wait just before has looked at it too.
bool X11Connection::EventsMayBePending() const {
  constexpr auto kRecheckAfter = std::chrono::milliseconds(1);
  if (XEventsQueued(impl_->display, QueuedAlready) > 0) return true;
  const auto now = std::chrono::steady_clock::now();
  if (now - impl_->quietAt < kRecheckAfter) return false;
  pollfd p{ConnectionNumber(impl_->display), POLLIN, 0};
  const bool pending = poll(&p, 1, 0) != 0;  // readable, or an error SDL should see
  if (!pending) impl_->quietAt = now;
  return pending;
}

void X11Connection::Wait(int wakeFd, int timeoutMs, std::vector<pollfd>* extra) const {
  XFlush(impl_->display);
  const bool queued = XEventsQueued(impl_->display, QueuedAlready) > 0;
  if (queued) {
    // Events are waiting already: only look at the other descriptors.
    if (extra && !extra->empty()) poll(extra->data(), extra->size(), 0);
    return;
  }
  const size_t own = wakeFd >= 0 ? 2 : 1;
  thread_local std::vector<pollfd> p;
  p.assign({{ConnectionNumber(impl_->display), POLLIN, 0}, {wakeFd, POLLIN, 0}});
  p.resize(own);
  if (extra) p.insert(p.end(), extra->begin(), extra->end());
  if (poll(p.data(), p.size(), timeoutMs) >= 0 && p[0].revents == 0) impl_->quietAt = std::chrono::steady_clock::now();
  else impl_->quietAt = {};
  if (extra) std::copy(p.begin() + static_cast<std::ptrdiff_t>(own), p.end(), extra->begin());
}

bool X11Connection::PutImage(SDL_Window* window, cairo_surface_t* image, const RECT& r) {
  auto info = X11InfoOf(window);
  if (!info) return false;
  const ::Window xwindow = info->info.x11.window;
  const int depth = impl_->DepthFor(xwindow);
  if (!depth) return false;
  impl_->windows[window] = xwindow;
  if (!impl_->gc) impl_->gc = XCreateGC(impl_->display, xwindow, 0, nullptr);
  const long area = static_cast<long>(r.right - r.left) * (r.bottom - r.top);
  SharedImage* shared = area >= kSharedFrom ? impl_->SharedFor(xwindow, depth, cairo_image_surface_get_width(image),
                                                               cairo_image_surface_get_height(image))
                                            : nullptr;
  if (shared) {
    shared->Put(xwindow, impl_->gc, image, r);
    return true;
  }
  XImage x{};
  x.width = cairo_image_surface_get_width(image);
  x.height = cairo_image_surface_get_height(image);
  x.format = ZPixmap;
  x.data = reinterpret_cast<char*>(cairo_image_surface_get_data(image));
  x.byte_order = HostByteOrder();
  x.bitmap_unit = 32;
  x.bitmap_bit_order = x.byte_order;
  x.bitmap_pad = 32;
  x.depth = depth;
  x.bytes_per_line = cairo_image_surface_get_stride(image);
  x.bits_per_pixel = 32;
  x.red_mask = 0xFF0000;
  x.green_mask = 0xFF00;
  x.blue_mask = 0xFF;
  if (!x.data || !XInitImage(&x)) return false;
  XPutImage(impl_->display, xwindow, impl_->gc, &x, r.left, r.top, r.left, r.top,
            static_cast<unsigned>(r.right - r.left), static_cast<unsigned>(r.bottom - r.top));
  return true;
}

void X11Connection::Flush() const { XFlush(impl_->display); }

bool X11Connection::MovePixels(SDL_Window* window, const std::vector<RECT>& area, int dx, int dy) {
  auto known = impl_->windows.find(window);
  if (known == impl_->windows.end() || !impl_->DepthFor(known->second) || impl_->movesPending > 0 || area.empty())
    return false;
  std::vector<XRectangle> clip;
  RECT box = area.front();
  for (const RECT& r : area) {
    clip.push_back({static_cast<short>(r.left), static_cast<short>(r.top),
                    static_cast<unsigned short>(r.right - r.left), static_cast<unsigned short>(r.bottom - r.top)});
    box = {std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
           std::max(box.bottom, r.bottom)};
  }
  XSetClipRectangles(impl_->display, impl_->gc, 0, 0, clip.data(), static_cast<int>(clip.size()), Unsorted);
  XCopyArea(impl_->display, known->second, known->second, impl_->gc, static_cast<int>(box.left - dx),
            static_cast<int>(box.top - dy), static_cast<unsigned>(box.right - box.left),
            static_cast<unsigned>(box.bottom - box.top), static_cast<int>(box.left), static_cast<int>(box.top));
  XSetClipMask(impl_->display, impl_->gc, None);
  XFlush(impl_->display);
  ++impl_->movesPending;
  return true;
}

void X11Connection::TakeMoveReports(const SDL_SysWMmsg* event, std::vector<std::pair<SDL_Window*, RECT>>& uncopied) {
  if (event) {
    if (event->subsystem == SDL_SYSWM_X11 && IsMoveReport(nullptr, const_cast<XEvent*>(&event->msg.x11.event), nullptr))
      impl_->Report(event->msg.x11.event, uncopied);
    return;
  }
  XEvent e;
  while (impl_->movesPending > 0 && XCheckIfEvent(impl_->display, &e, IsMoveReport, nullptr))
    impl_->Report(e, uncopied);
}

bool X11Connection::MovesPending() const { return impl_->movesPending > 0; }

void X11Connection::Forget(SDL_Window* window) {
  auto it = impl_->windows.find(window);
  if (it == impl_->windows.end()) return;
  impl_->depths.erase(it->second);
  impl_->visuals.erase(it->second);
  impl_->shared.erase(it->second);
  impl_->windows.erase(it);
}

#else

struct X11Connection::Impl {};
X11Connection::X11Connection(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
X11Connection::~X11Connection() = default;
std::unique_ptr<X11Connection> X11Connection::For(SDL_Window*) { return nullptr; }
bool X11Connection::EventsMayBePending() const { return true; }
void X11Connection::Wait(int, int, std::vector<pollfd>*) const {}
bool X11Connection::PutImage(SDL_Window*, cairo_surface_t*, const RECT&) { return false; }
void X11Connection::Flush() const {}
bool X11Connection::MovePixels(SDL_Window*, const std::vector<RECT>&, int, int) { return false; }
void X11Connection::TakeMoveReports(const SDL_SysWMmsg*, std::vector<std::pair<SDL_Window*, RECT>>&) {}
bool X11Connection::MovesPending() const { return false; }
void X11Connection::Forget(SDL_Window*) {}

#endif

}  // namespace kestrel::platform

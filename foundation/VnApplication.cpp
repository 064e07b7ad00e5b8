#include "foundation/VnApplication.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Form.h"
#include "framework/Screen.h"
#include "framework/TypeInfo.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TVnApplication, TComponent)

void TVnApplication::PublishProperties(TClassBuilder<TVnApplication>&) {}

TVnApplication::TVnApplication(TComponent* owner) : TComponent(owner) {
  SetLogName(String());
  if (!ComponentState().Contains(csDesigning)) ProbePreviousInstance();
  timers_ = TVnTimerPool::CreateRunTime(this, 50);
  pf::LARGE_INTEGER frequency{};
  if (pf::QueryPerformanceFrequency(&frequency)) timerFrequency_ = frequency.QuadPart;
}

TVnApplication::~TVnApplication() { delete brushBitmap_; }  // the pool is an owned component

template <class AddFn>
pf::WORD TVnApplication::AddAppTimer(AddFn add) {
  for (int s = 0; s < kVnAppTimerSlots; ++s) {
    if (timerSlots_[static_cast<size_t>(s)]) continue;
    const auto ident = static_cast<pf::WORD>(kVnAppTimerBase + s + 1);
    if (add(ident) == -1) return 0;
    timerSlots_[static_cast<size_t>(s)] = true;
    return ident;
  }
  return 0;  // all slots taken: nothing is added
}

pf::WORD TVnApplication::AddTimer(TVnTimerInterval interval, TNotifyEvent callProc) {
  return AddAppTimer([&](pf::WORD ident) { return timers_->AddTimer(ident, interval, callProc); });
}

pf::WORD TVnApplication::AddTimerExt(TVnTimerInterval interval, int callCount, bool enabled,
                                     TNotifyEvent callProc) {
  return AddAppTimer([&](pf::WORD ident) {
    return timers_->AddTimerExt(ident, interval, callCount, enabled, callProc);
  });
}

void TVnApplication::RemoveTimer(pf::WORD ident) {
  // Only identifiers this object handed out; anything beyond the table is not ours.
  if (ident <= kVnAppTimerBase || ident > kVnAppTimerBase + kVnAppTimerSlots) return;
  timers_->RemoveTimer(ident);
  timerSlots_[static_cast<size_t>(ident - kVnAppTimerBase - 1)] = false;
}

TBitmap* TVnApplication::GetBrushBitmap(TColor color) {
  // Made on first use even for clNone, so callers always get a usable bitmap.
  if (!brushBitmap_) {
    brushBitmap_ = new TBitmap(8, 8);
    brushBitmap_->Canvas()->Brush()->SetColor(clWhite);
    brushBitmap_->Canvas()->FillRect(Rect(0, 0, 8, 8));
  }
  if (color == brushColor_ || color == clNone) return brushBitmap_;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if ((x + y) % 2 == 1) brushBitmap_->Canvas()->SetPixels(x, y, color);
  brushColor_ = color;
  return brushBitmap_;
}

void TVnApplication::STWStart() {
  pf::LARGE_INTEGER now{};
  pf::QueryPerformanceCounter(&now);
  stwStart_ = now.QuadPart;
}

double TVnApplication::STWStopExt() const {
  if (timerFrequency_ == 0) return 0;
  pf::LARGE_INTEGER now{};
  pf::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - stwStart_) / static_cast<double>(timerFrequency_);
}

int TVnApplication::STWStop() const { return static_cast<int>(std::trunc(STWStopExt() * 1000)); }

namespace {

bool IsBlank(const String& s) { return s.find_first_not_of(u' ') == String::npos; }

void AppendPart(String& path, const String& part) {
  path += part;
  if (path.empty() || path.back() != u'\\') path += u'\\';
}

String ExecutablePath() {
  pf::WCHAR buffer[4096] = {};
  const pf::DWORD n = pf::GetModuleFileNameW(nullptr, buffer, 4096);
  return String(reinterpret_cast<const char16_t*>(buffer), n);
}

// WM_THEMECHANGED to every windowed descendant whose window exists.
void SendThemeChangedToDescendants(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (!child) continue;
    if (child->HandleAllocated()) pf::SendMessageW(child->Handle(), pf::WM_THEMECHANGED, 0, 0);
    SendThemeChangedToDescendants(child);
  }
}

}  // namespace

String TVnApplication::GetDefaultRegPath() const {
  String path = u"Software\\";
  if (!IsBlank(company_)) AppendPart(path, company_);
  const String title = ApplicationExists() ? Application()->Title() : String();
  AppendPart(path, IsBlank(title) ? ExecutablePath() : title);
  if (!IsBlank(version_)) AppendPart(path, version_);
  return path;
}

void TVnApplication::SetUseXPThemes(bool value) {
  if (value == useXPThemes_ || (value && !XPThemesSupported())) return;
  useXPThemes_ = value;
  if (ComponentState().Contains(csDesigning) || !ThemeServicesAvailable()) return;
  pf::PostMessageW(Application()->Handle(), pf::WM_THEMECHANGED, 0, 0);
  DoThemeChange();
}

void TVnApplication::SetUseXPThemesLibraryOnly(bool value) {
  libraryOnly_ = value;
  if (value && themeGlobalMode_ != ttmPlatform) DoThemeChange();
}

void TVnApplication::SetThemeGlobalMode(TVnThemeMode value) {
  if (value == themeGlobalMode_) return;
  themeGlobalMode_ = value;
  DoThemeChange();
}

void TVnApplication::DoThemeChange() {
  TScreen* screen = Screen();
  for (int i = 0; i < screen->FormCount(); ++i) {
    TCustomForm* form = screen->Forms(i);
    form->Perform(CM_VNTHEMECHANGE);
    if (!form->Visible()) continue;
    TMessage message{CM_VNTHEMECHANGE, 0, 0, 0};
    form->Broadcast(message);
    SendThemeChangedToDescendants(form);
    if (!libraryOnly_ && form->HandleAllocated())
      pf::SendMessageW(form->Handle(), pf::WM_THEMECHANGED, 0, 0);
  }
}

TVnApplication* VnApplication() {
  static TVnApplication* instance = new TVnApplication(nullptr);
  return instance;
}

}  // namespace kestrel

namespace kestrel {

namespace {

String TwoDigits(int v) { return String(1, char16_t(u'0' + v / 10 % 10)) + char16_t(u'0' + v % 10); }

String NowText(bool date) {
  pf::SYSTEMTIME t{};
  pf::GetLocalTime(&t);
  if (date)
    return TwoDigits(t.wDay) + u"." + TwoDigits(t.wMonth) + u"." + Utf8ToUtf16(std::to_string(t.wYear));
  return TwoDigits(t.wHour) + u":" + TwoDigits(t.wMinute) + u":" + TwoDigits(t.wSecond);
}

const String kRule(80, u'*');

}  // namespace

void TVnApplication::SetLogName(const String& value) {
  String name = IsBlank(value) ? ExecutablePath() : value;
  const size_t slash = name.find_last_of(u"/\\");
  const size_t dot = name.find_last_of(u'.');
  const bool hasExtension = dot != String::npos && (slash == String::npos || dot > slash) && dot + 1 < name.size();
  if (IsBlank(value) && hasExtension) name.erase(dot);
  if (IsBlank(value) || !hasExtension) name += u".LOG";
  logName_ = name;
}

bool TVnApplication::CheckLogSize(bool& fresh) {
  std::error_code error;
  const std::filesystem::path path(Utf16ToUtf8(logName_));
  if (logMaxsize_ <= 100 || !std::filesystem::exists(path, error)) return true;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size <= static_cast<std::uintmax_t>(logMaxsize_)) return true;
  bool cancel = false;
  if (OnMaxLogSize) OnMaxLogSize(this, logName_, cancel);
  if (cancel) return false;
  if (logMaxAction_ == laBackupLog) {
    for (int n = 0;; ++n) {
      std::filesystem::path backup = path;
      backup.replace_extension(".l" + std::to_string(n));
      if (std::filesystem::exists(backup, error)) continue;
      std::filesystem::rename(path, backup, error);
      break;
    }
  }
  fresh = logMaxAction_ != laNone;
  return true;
}

void TVnApplication::WriteHeader(std::vector<String>& lines) const {
  lines.push_back(String());
  lines.push_back(u"LogFile started: " + NowText(true) + u" " + NowText(false));
  lines.push_back(u"Application    : " + (ApplicationExists() ? Application()->Title() : String()));
  lines.push_back(u"Path/ExeName   : " + ExecutablePath());
  if (!IsBlank(version_)) lines.push_back(u"Version        : " + version_);
  lines.push_back(kRule);
  lines.push_back(String());
  lines.push_back(u"Entries:");
}

void TVnApplication::LogWrite(const String& value) {
  const std::string path = Utf16ToUtf8(logName_);
  bool restart = false;
  if (!CheckLogSize(restart)) return;
  const bool exists = std::ifstream(path).good();
  const bool fresh = restart || !exists || (options_.Contains(aoLogAlwaysClear) && !logWritten_);
  std::ofstream file(path, fresh ? std::ios::binary | std::ios::trunc : std::ios::binary | std::ios::app);
  if (!file) return;  // an unopenable log drops the entry
  std::vector<String> lines;
  if (restart || (!logWritten_ && options_.Contains(aoLogHeader))) WriteHeader(lines);
  if (value == u"#CR") {
    lines.push_back(String());
  } else if (value == u"#Header") {
    WriteHeader(lines);
  } else if (value == u"#Line") {
    lines.push_back(kRule);
  } else {
    ++logEntries_;
    String line;
    for (char16_t c : logMask_) {
      if (c == u'#' && options_.Contains(aoLogNr)) {
        char number[16];
        std::snprintf(number, sizeof number, "%.5d", logEntries_);
        line += Utf8ToUtf16(number) + u": ";
      } else if (c == u't' && options_.Contains(aoLogTime)) {
        line += u" [" + NowText(false) + u"]";
      } else if (c == u'd' && options_.Contains(aoLogDate)) {
        line += u" [" + NowText(true) + u"]";
      } else if (c == u'l') {
        line += value;
      }
    }
    lines.push_back(line);
  }
  for (const String& l : lines) file << Utf16ToUtf8(l) << "\r\n";
  logWritten_ = true;
}

}  // namespace kestrel

namespace kestrel {

// The running program's handles, so that a later instance can find this one.
void TVnApplication::ProbePreviousInstance() {
  TVnInstanceProbe::Handles own;
  own.instance = pf::GetModuleHandleW(nullptr);
  if (ApplicationExists()) {
    own.appWindow = Application()->Handle();
    TCustomForm* mainForm = Application()->MainForm();
    if (mainForm && mainForm->HandleAllocated()) own.mainForm = mainForm->Handle();
  }
  probe_ = std::make_unique<TVnInstanceProbe>(TVnInstanceProbe::NameForExecutable(ExecutablePath()), own);
}

}  // namespace kestrel

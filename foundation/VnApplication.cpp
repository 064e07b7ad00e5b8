#include "foundation/VnApplication.h"
#include "foundation/VnUtils.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "foundation/internal/CheckBoxStrip.h"
#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Form.h"
#include "framework/Screen.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "platform/theme/UxTheme.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;
using vn::ExecutablePath;
using vn::IsBlank;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TVnApplication, TComponent)

namespace {

const TEnumInfo& OptionInfo() {
  static const TEnumInfo info(u"TVnApplicationOption",
                              {u"aoAutoRealizePalette", u"aoMouseCtrlActive", u"aoLogAlwaysClear", u"aoLogException",
                               u"aoLogHeader", u"aoLogNr", u"aoLogTime", u"aoLogDate"});
  return info;
}

const TEnumInfo& PathPrefixInfo() {
  static const TEnumInfo info(u"TVnPathPrefix", {u"ppWindows", u"ppSystem", u"ppProgram", u"ppFixed"});
  return info;
}

const TEnumInfo& LogActionInfo() {
  static const TEnumInfo info(u"TVnLogAction", {u"laNone", u"laClearLog", u"laBackupLog"});
  return info;
}

const TEnumInfo& EditModeInfo() {
  static const TEnumInfo info(u"TVnEditMode",
                              {u"emInsert", u"emShift", u"emCtrl", u"emAlt", u"emCaps", u"emNum", u"emScroll"});
  return info;
}

}  // namespace

void TVnApplication::PublishProperties(TClassBuilder<TVnApplication>& b) {
  using A = TVnApplication;
  b.Property(u"ForceANSI", &A::ForceANSI, &A::SetForceANSI).Default(false);
  b.Property(u"LogMask", &A::LogMask, &A::SetLogMask).Default(u"#tdl");  // the constructor's layout
  b.Property(u"Company", &A::Company, &A::SetCompany);
  b.Property(u"Version", &A::Version, &A::SetVersion);
  b.Set(u"Options", &A::Options, &A::SetOptions, OptionInfo(), u"TVnApplicationOptions")
      .Default(TVnApplicationOptions{aoMouseCtrlActive, aoLogAlwaysClear, aoLogHeader, aoLogNr});
  // The prefix first: assigning it re-applies the log name read after it.
  b.Enum(u"LogPrefix", &A::LogPrefix, &A::SetLogPrefix, PathPrefixInfo()).Default(ppProgram);
  b.Property(u"LogName", &A::LogName, &A::SetLogName);
  b.Property(u"LogMaxsize", &A::LogMaxsize, &A::SetLogMaxsize).Default(-1);
  b.Enum(u"LogMaxAction", &A::LogMaxAction, &A::SetLogMaxAction, LogActionInfo()).Default(laNone);
  b.Set(u"EditMode", &A::EditMode, &A::SetEditMode, EditModeInfo(), u"TVnEditModes").Default(TVnEditModes{emInsert});
  b.Property(u"DlgEffectDelay", &A::DlgEffectDelay, &A::SetDlgEffectDelay).Default(3);
  b.Property(u"UseXPThemes", &A::UseXPThemes, &A::SetUseXPThemes).Default(true);
  b.Property(u"UseXPThemesLibraryOnly", &A::UseXPThemesLibraryOnly, &A::SetUseXPThemesLibraryOnly).Default(false);
  b.Property(u"ThemeUseColorProperty", &A::ThemeUseColorProperty, &A::SetThemeUseColorProperty).Default(true);
  b.Enum(u"ThemeGlobalMode", &A::ThemeGlobalMode, &A::SetThemeGlobalMode, VnThemeModeInfo()).Default(ttmPlatform);
  b.Event(
      u"OnMaxLogSize", [](const A& a) { return static_cast<bool>(a.OnMaxLogSize); }, u"TVnMaxLogSizeEvent");
  b.Event(
      u"OnHeaderWrite", [](const A& a) { return static_cast<bool>(a.OnHeaderWrite); }, u"TVnHeaderWriteEvent");
  b.Event(
      u"OnException", [](const A& a) { return static_cast<bool>(a.OnException); }, u"TVnExceptionEvent");
  b.Event(
      u"OnEditModeChange", [](const A& a) { return static_cast<bool>(a.OnEditModeChange); }, u"TNotifyEvent");
}

TVnApplication::TVnApplication(TComponent* owner) : TComponent(owner) {
  SetLogName(String());
  if (!ComponentState().Contains(csDesigning)) ProbePreviousInstance();
  timers_ = TVnTimerPool::CreateRunTime(this, 50);
  ini_ = new TVnIniCtrl(this);
  ini_->DefaultPath = [this] { return GetDefaultRegPath(); };
  pf::LARGE_INTEGER frequency{};
  if (pf::QueryPerformanceFrequency(&frequency)) timerFrequency_ = frequency.QuadPart;
  const std::unique_ptr<TBitmap> strip = LoadCheckBoxStrip();
  checkDefWidth_ = strip->Width() / kCheckBoxStripColumns;
  checkDefHeight_ = strip->Height() / kCheckBoxStripRows;
  session_ = TVnSessionControl::CreateSystem();
}

// The settings store and the pool go as owned components, the bitmaps, the probe (closing the
// shared block) and the session control as members.
TVnApplication::~TVnApplication() { Destroying(); }

void TVnApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == msgBox_) msgBox_ = nullptr;
}

void TVnApplication::GetChildren(const TGetChildProc& proc, TComponent* root) const {
  TComponent::GetChildren(
      [&](TComponent* child) {
        if (child != timers_ && child != ini_) proc(child);
      },
      root);
}

void TVnApplication::SetMsgBox(TComponent* value) {
  if (value == msgBox_) return;
  if (msgBox_) msgBox_->RemoveFreeNotification(this);
  msgBox_ = value;
  if (value) value->FreeNotification(this);
}

void TVnApplication::SetEditMode(TVnEditModes value) {
  if (value == editMode_) return;
  editMode_ = value;
  if (OnEditModeChange) OnEditModeChange(this);
}

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

pf::WORD TVnApplication::AddTimerExt(TVnTimerInterval interval, int callCount, bool enabled, TNotifyEvent callProc) {
  return AddAppTimer(
      [&](pf::WORD ident) { return timers_->AddTimerExt(ident, interval, callCount, enabled, callProc); });
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
    brushBitmap_ = std::make_unique<TBitmap>(8, 8);
    brushBitmap_->Canvas()->Brush()->SetColor(clWhite);
    brushBitmap_->Canvas()->FillRect(Rect(0, 0, 8, 8));
  }
  if (color == brushColor_ || color == clNone) return brushBitmap_.get();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if ((x + y) % 2 == 1) brushBitmap_->Canvas()->SetPixels(x, y, color);
  brushColor_ = color;
  return brushBitmap_.get();
}

TBitmap* TVnApplication::PatternBitmap() {
  if (!patternBitmap_) {
    patternBitmap_ = std::make_unique<TBitmap>();
    patternBitmap_->Assign(GetBrushBitmap(clBlack));
  }
  return patternBitmap_.get();
}

void TVnApplication::SetCheckBitmap(TBitmap* value) {
  if (!value) {
    checkBitmap_.reset();
    return;
  }
  if (!checkBitmap_) checkBitmap_ = std::make_unique<TBitmap>();
  checkBitmap_->Assign(value);
}

int TVnApplication::CheckCustomWidth() const { return checkBitmap_ ? checkBitmap_->Width() / 6 : 0; }

int TVnApplication::CheckCustomHeight() const { return checkBitmap_ ? checkBitmap_->Height() : 0; }

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

int TVnApplication::STWStop() const {
  // Beyond about 24 days the milliseconds no longer fit: the largest value, not an overflow.
  const double milliseconds = std::trunc(STWStopExt() * 1000);
  if (milliseconds >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (milliseconds <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(milliseconds);
}

namespace {

void AppendPart(String& path, const String& part) {
  path += part;
  if (path.empty() || path.back() != u'\\') path += u'\\';
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

void TVnApplication::SetSessionControl(std::unique_ptr<TVnSessionControl> control) {
  session_ = control ? std::move(control) : TVnSessionControl::CreateSystem();
}

bool TVnApplication::QuitWindows(TVnExitCode value) {
  pf::UINT flags = EWX_LOGOFF;
  if (value != ecRestart) {
    if (!session_->OpenProcessToken() || !session_->EnableShutdownPrivilege()) return false;
    flags = value == ecQuit ? EWX_SHUTDOWN | EWX_FORCE : EWX_REBOOT | EWX_FORCE;
  }
  if (!session_->ExitWindows(flags)) return false;
  Application()->Terminate();
  return true;
}

String TVnApplication::UnicodeTitle() const {
  if (!ApplicationExists() || !pf::IsWindow(Application()->Handle())) return String();
  const pf::HWND window = Application()->Handle();
  String text(static_cast<size_t>(pf::GetWindowTextLengthW(window)) + 1, u'\0');
  const int n = pf::GetWindowTextW(window, reinterpret_cast<pf::WCHAR*>(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(n, 0)));
  return text;
}

void TVnApplication::SetUnicodeTitle(const String& value) {
  if (!ApplicationExists() || !pf::IsWindow(Application()->Handle())) return;
  pf::SetWindowTextW(Application()->Handle(), reinterpret_cast<const pf::WCHAR*>(value.c_str()));
}

bool TVnApplication::XPThemesSupported() const { return ThemeServicesAvailable() && pf::IsThemeActive(); }

bool TVnApplication::UseXPThemes() const { return useXPThemes_ && ThemeServicesAvailable() && VnFrameworkUsesThemes(); }

void TVnApplication::SetUseXPThemes(bool value) {
  if (value == useXPThemes_ || (value && !XPThemesSupported())) return;
  useXPThemes_ = value;
  if (ComponentState().Contains(csDesigning) || !ThemeServicesAvailable()) return;
  if (ApplicationExists()) pf::PostMessageW(Application()->Handle(), pf::WM_THEMECHANGED, 0, 0);
  if (value) pf::SetThemeAppProperties(pf::STAP_ALLOW_NONCLIENT | pf::STAP_ALLOW_CONTROLS);
  else if (!libraryOnly_) pf::SetThemeAppProperties(0);
  DoThemeChange();
}

void TVnApplication::SetUseXPThemesLibraryOnly(bool value) {
  libraryOnly_ = value;
  if (!value || themeGlobalMode_ == ttmPlatform) return;
  pf::SetThemeAppProperties(pf::STAP_ALLOW_NONCLIENT | pf::STAP_ALLOW_CONTROLS);
  DoThemeChange();
}

void TVnApplication::SetThemeGlobalMode(TVnThemeMode value) {
  if (value == themeGlobalMode_) return;
  themeGlobalMode_ = value;
  DoThemeChange();
}

namespace {

// Whether `form` still exists: a theme handler may free forms, its own included.
bool IsLiveForm(TScreen* screen, const TCustomForm* form) {
  for (int i = 0; i < screen->FormCount(); ++i)
    if (screen->Forms(i) == form) return true;
  return false;
}

}  // namespace

void TVnApplication::DoThemeChange() {
  TScreen* screen = Screen();
  // The forms as they are now: one freed by another's handler is skipped, none is missed.
  std::vector<TCustomForm*> forms;
  for (int i = 0; i < screen->FormCount(); ++i) forms.push_back(screen->Forms(i));
  for (TCustomForm* form : forms) {
    if (!IsLiveForm(screen, form)) continue;
    form->Perform(CM_VNTHEMECHANGE);
    if (!IsLiveForm(screen, form) || !form->Visible()) continue;
    TMessage message{CM_VNTHEMECHANGE, 0, 0, 0};
    form->Broadcast(message);
    if (!IsLiveForm(screen, form)) continue;
    SendThemeChangedToDescendants(form);
    if (!libraryOnly_ && IsLiveForm(screen, form) && form->HandleAllocated())
      pf::SendMessageW(form->Handle(), pf::WM_THEMECHANGED, 0, 0);
  }
}

// The running program's handles, so that a later instance can find this one. Made before the
// GUI application exists, the object publishes the application window once it does.
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

void TVnApplication::ApplicationCreated(TApplication* application) {
  if (!probe_) return;
  TVnInstanceProbe::Handles own;
  own.instance = pf::GetModuleHandleW(nullptr);
  own.appWindow = application->Handle();
  probe_->UpdateOwnHandles(own);
}

}  // namespace kestrel

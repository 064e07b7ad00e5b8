#pragma once
// TVnApplication: the process-wide services object components consult: the application-wide
// theme settings, a log file, application timers on a shared 50 ms pool, a high-resolution
// stopwatch, pattern bitmaps and check-box metrics, a settings store under the default registry
// path, the previous-instance probe and the request to end the session.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/InstanceProbe.h"
#include "foundation/SessionControl.h"
#include "foundation/TimerPool.h"
#include "foundation/VnIniCtrl.h"
#include "foundation/VnThemeMode.h"
#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/EnumSet.h"
#include "framework/Exceptions.h"

namespace kestrel {

class TApplication;
class TBitmap;
class TStringList;

enum TVnApplicationOption {
  aoAutoRealizePalette,
  aoMouseCtrlActive,
  aoLogAlwaysClear,
  aoLogException,
  aoLogHeader,
  aoLogNr,
  aoLogTime,
  aoLogDate,
};
using TVnApplicationOptions = TEnumSet<TVnApplicationOption>;

enum TVnLogAction { laNone, laClearLog, laBackupLog };
// Where the log file lives: the Windows or system directory, the executable's, or as named.
enum TVnPathPrefix { ppWindows, ppSystem, ppProgram, ppFixed };
enum TVnEditMode { emInsert, emShift, emCtrl, emAlt, emCaps, emNum, emScroll };
using TVnEditModes = TEnumSet<TVnEditMode>;
enum TVnExitCode { ecQuit, ecReboot, ecRestart };

using TVnHeaderWriteEvent = std::function<void(TObject* Sender, TStringList* Target)>;
using TVnExceptionEvent = std::function<void(TObject* Sender, const Exception& E, bool& Cancel)>;
using TVnMaxLogSizeEvent = std::function<void(TObject* Sender, const String& LogName, bool& Cancel)>;

// The component-library theme-change notification every form and control hears.
constexpr platform::UINT CM_VNTHEMECHANGE = 0xB0D6;
// Application timers use identifiers above this base: 0xFD01 … 0xFD00 + kVnAppTimerSlots.
constexpr platform::WORD kVnAppTimerBase = 0xFD00;
constexpr int kVnAppTimerSlots = 250;

class TVnApplication : public TComponent {
  KESTREL_CLASS(TVnApplication)
  explicit TVnApplication(TComponent* owner);
  ~TVnApplication() override;

  bool ForceANSI() const { return forceANSI_; }
  void SetForceANSI(bool value) { forceANSI_ = value; }
  TVnApplicationOptions Options() const { return options_; }
  void SetOptions(TVnApplicationOptions value) { options_ = value; }
  const String& Company() const { return company_; }
  void SetCompany(const String& value) { company_ = value; }
  const String& Version() const { return version_; }
  void SetVersion(const String& value) { version_ = value; }
  int DlgEffectDelay() const { return dlgEffectDelay_; }
  void SetDlgEffectDelay(int value) { dlgEffectDelay_ = value; }
  // The message-box style component dialogs use (none by default); cleared when it is freed.
  TComponent* MsgBox() const { return msgBox_; }
  void SetMsgBox(TComponent* value);

  // The settings store; it works under GetDefaultRegPath until given a path of its own.
  TVnIniCtrl* Ini() const { return ini_; }

  // The keyboard's edit state as the program last reported it.
  TVnEditModes EditMode() const { return editMode_; }
  void SetEditMode(TVnEditModes value);
  TNotifyEvent OnEditModeChange;

  // The log file: LogWrite appends an entry laid out by LogMask ("#" number, "t" time, "d" date,
  // "l" the text); "#CR", "#Header" and "#Line" write an empty line, the header, a rule.
  const String& LogName() const { return logName_; }
  // Empty: the executable's path with ".LOG"; no extension: ".LOG" appended. Unless LogPrefix is
  // ppFixed, the file goes into the prefix directory under its own file name.
  void SetLogName(const String& value);
  TVnPathPrefix LogPrefix() const { return logPrefix_; }
  void SetLogPrefix(TVnPathPrefix value);
  const String& LogMask() const { return logMask_; }
  void SetLogMask(const String& value) { logMask_ = value; }
  void LogWrite(const String& value);
  // Above 100 bytes, a log larger than this triggers OnMaxLogSize and then LogMaxAction.
  int LogMaxsize() const { return logMaxsize_; }
  void SetLogMaxsize(int value) { logMaxsize_ = value; }
  TVnLogAction LogMaxAction() const { return logMaxAction_; }
  void SetLogMaxAction(TVnLogAction value) { logMaxAction_ = value; }
  TVnMaxLogSizeEvent OnMaxLogSize;
  // Adds lines of the program's own to the log header.
  TVnHeaderWriteEvent OnHeaderWrite;

  // Logs the exception being handled ("message, Address: p", prefixed with the sender).
  void LogException(TObject* sender);
  // OnException may cancel; otherwise the exception is logged (aoLogException) and shown. The
  // framework's application routes exceptions no OnException of its own takes here.
  void HandleException(TObject* sender, const Exception& e);
  TVnExceptionEvent OnException;

  // An 8x8 checkerboard: pixels whose x and y differ in parity take `color`, the others stay as
  // they were (white at first). clNone leaves a white bitmap. Owned by this object.
  TBitmap* GetBrushBitmap(TColor color);
  // A black checkerboard on white, made once.
  TBitmap* PatternBitmap();

  // A custom check-box strip of six images side by side; assigning copies it (nullptr drops it).
  TBitmap* CheckBitmap() const { return checkBitmap_.get(); }
  void SetCheckBitmap(TBitmap* value);
  int CheckCustomWidth() const;
  int CheckCustomHeight() const;
  // One image of the platform's check-box strip (four columns, three rows).
  int CheckDefWidth() const { return checkDefWidth_; }
  int CheckDefHeight() const { return checkDefHeight_; }

  // Application timers: the identifier (0xFD01 …), or 0 when every slot is taken or the pool
  // refused the timer.
  platform::WORD AddTimer(TVnTimerInterval interval, TNotifyEvent callProc);
  platform::WORD AddTimerExt(TVnTimerInterval interval, int callCount, bool enabled, TNotifyEvent callProc);
  void RemoveTimer(platform::WORD ident);
  TVnTimerPool* Timers() const { return timers_; }

  // Stopwatch on the performance counter (0 when the platform has none).
  std::int64_t TimerFrequency() const { return timerFrequency_; }
  void STWStart();
  int STWStop() const;
  double STWStopExt() const;

  // "Software\Company\Title\Version\", leaving out blank parts.
  String GetDefaultRegPath() const;

  // Shuts the machine down or reboots it (forced), or logs the user off (ecRestart); on success
  // the application is told to terminate. Whether the request succeeded.
  bool QuitWindows(TVnExitCode value);
  // The platform calls QuitWindows makes; replaceable (nullptr restores the system's own).
  void SetSessionControl(std::unique_ptr<TVnSessionControl> control);

  // The application window's text, read and written as UTF-16 (empty without the window).
  String UnicodeTitle() const;
  void SetUnicodeTitle(const String& value);

  // Whether another instance of this executable was running when this object was made, and that
  // instance's application window (nullptr when unknown).
  bool IsPrevRunning() const { return probe_ && probe_->IsPrevRunning(); }
  platform::HWND PreviouseAppWin() const { return probe_ ? probe_->PreviousAppWin() : nullptr; }
  // Publishes the GUI application's window for later instances (the probe ran before it existed).
  void ApplicationCreated(TApplication* application);

  // Theme settings. Supported: the platform shows a visual style. UseXPThemes reads true only
  // while it is wanted and the framework paints with visual styles.
  bool XPThemesSupported() const;
  bool UseXPThemes() const;
  // The setting itself, as last set (SetUseXPThemes refuses to switch it on while unsupported).
  bool UseXPThemesStored() const { return useXPThemes_; }
  void SetUseXPThemes(bool value);
  bool UseXPThemesLibraryOnly() const { return libraryOnly_; }
  void SetUseXPThemesLibraryOnly(bool value);
  bool ThemeUseColorProperty() const { return themeUseColorProperty_; }
  void SetThemeUseColorProperty(bool value) { themeUseColorProperty_ = value; }
  TVnThemeMode ThemeGlobalMode() const { return themeGlobalMode_; }
  void SetThemeGlobalMode(TVnThemeMode value);
  // Tells every form, and every control of the visible ones, that the theme changed.
  void DoThemeChange();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // The timer pool and the settings store are the object's own parts, never streamed.
  void GetChildren(const TGetChildProc& proc, TComponent* root) const override;

 private:
  // The theme engine is part of the platform layer, so its services are always there.
  static constexpr bool ThemeServicesAvailable() { return true; }
  void ProbePreviousInstance();
  void WriteHeader(std::vector<String>& lines);
  String LogEntry(const String& value);
  static String ExceptionText(const String& message, const void* address);
  static String SenderPrefix(TObject* sender);
  template <class AddFn>
  platform::WORD AddAppTimer(AddFn add);

  bool forceANSI_ = false;
  TVnApplicationOptions options_{aoMouseCtrlActive, aoLogAlwaysClear, aoLogHeader, aoLogNr};
  String company_, version_;
  String logName_, logMask_ = u"#tdl";
  TVnPathPrefix logPrefix_ = ppProgram;
  bool logWritten_ = false;
  int logEntries_ = 0;
  int logMaxsize_ = -1;
  std::unique_ptr<TBitmap> brushBitmap_, patternBitmap_, checkBitmap_;
  TColor brushColor_ = clNone;
  int checkDefWidth_ = 0, checkDefHeight_ = 0;
  TVnEditModes editMode_{emInsert};
  TVnIniCtrl* ini_ = nullptr;
  TComponent* msgBox_ = nullptr;
  std::unique_ptr<TVnSessionControl> session_;
  TVnLogAction logMaxAction_ = laNone;
  // Whether the size check allows the entry; sets `fresh` when the log is to start afresh.
  bool CheckLogSize(bool& fresh);
  int dlgEffectDelay_ = 3;
  TVnTimerPool* timers_ = nullptr;
  std::unique_ptr<TVnInstanceProbe> probe_;
  std::array<bool, kVnAppTimerSlots> timerSlots_{};
  std::int64_t timerFrequency_ = 0;
  std::int64_t stwStart_ = 0;
  bool useXPThemes_ = true;
  bool libraryOnly_ = false;
  bool themeUseColorProperty_ = true;
  TVnThemeMode themeGlobalMode_ = ttmPlatform;
};

// The process's services object once installed; nullptr before and once freed.
TVnApplication* VnApplication();
// Makes the services object; a program calls it first thing, before any form. Later calls
// return the installed object (none once the program has ended). It is freed when the program
// ends, by Halt before the application goes, or by ResetVnApplication.
TVnApplication* InstallVnApplication();
// Frees the services object now; a later InstallVnApplication makes a fresh one.
void ResetVnApplication();

}  // namespace kestrel

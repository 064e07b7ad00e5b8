#pragma once
// TVnApplication: the process-wide services object components consult: the application-wide
// theme settings, a log file, application timers on a shared 50 ms pool, a high-resolution
// stopwatch, a checkerboard brush bitmap and the default registry path.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include <memory>

#include "foundation/InstanceProbe.h"
#include "foundation/TimerPool.h"
#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/EnumSet.h"

namespace kestrel {

class TBitmap;

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
enum TVnThemeMode { ttmPlatform, ttmNone, ttmLibrary };

// The component-library theme-change notification every form and control hears.
constexpr platform::UINT CM_VNTHEMECHANGE = 0xB0D6;
// Application timers use identifiers above this base: 0xFD01 … 0xFD00 + kVnAppTimerSlots.
constexpr platform::WORD kVnAppTimerBase = 0xFD00;
constexpr int kVnAppTimerSlots = 250;

class TVnApplication : public TComponent {
  KESTREL_CLASS(TVnApplication)
  explicit TVnApplication(TComponent* owner);
  ~TVnApplication() override;

  TVnApplicationOptions Options() const { return options_; }
  void SetOptions(TVnApplicationOptions value) { options_ = value; }
  const String& Company() const { return company_; }
  void SetCompany(const String& value) { company_ = value; }
  const String& Version() const { return version_; }
  void SetVersion(const String& value) { version_ = value; }
  int DlgEffectDelay() const { return dlgEffectDelay_; }

  // The log file: LogWrite appends an entry laid out by LogMask ("#" number, "t" time, "d" date,
  // "l" the text); "#CR", "#Header" and "#Line" write an empty line, the header, a rule.
  const String& LogName() const { return logName_; }
  // Empty: the executable's path with ".LOG"; no extension: ".LOG" appended.
  void SetLogName(const String& value);
  const String& LogMask() const { return logMask_; }
  void SetLogMask(const String& value) { logMask_ = value; }
  void LogWrite(const String& value);
  // Above 100 bytes, a log larger than this triggers OnMaxLogSize and then LogMaxAction.
  int LogMaxsize() const { return logMaxsize_; }
  void SetLogMaxsize(int value) { logMaxsize_ = value; }
  TVnLogAction LogMaxAction() const { return logMaxAction_; }
  void SetLogMaxAction(TVnLogAction value) { logMaxAction_ = value; }
  std::function<void(TObject* Sender, const String& LogName, bool& Cancel)> OnMaxLogSize;

  // An 8x8 checkerboard: pixels whose x and y differ in parity take `color`, the others stay as
  // they were (white at first). clNone leaves a white bitmap. Owned by this object.
  TBitmap* GetBrushBitmap(TColor color);

  // Application timers: the identifier (0xFD01 …), or 0 when every slot is taken or the pool
  // refused the timer.
  platform::WORD AddTimer(TVnTimerInterval interval, TNotifyEvent callProc);
  platform::WORD AddTimerExt(TVnTimerInterval interval, int callCount, bool enabled, TNotifyEvent callProc);
  void RemoveTimer(platform::WORD ident);
  TVnTimerPool* Timers() const { return timers_; }

  // Stopwatch on the performance counter.
  void STWStart();
  int STWStop() const;
  double STWStopExt() const;

  // "Software\Company\Title\Version\", leaving out blank parts.
  String GetDefaultRegPath() const;

  // Whether another instance of this executable was running when this object was made, and that
  // instance's application window (nullptr when unknown).
  bool IsPrevRunning() const { return probe_ && probe_->IsPrevRunning(); }
  platform::HWND PreviouseAppWin() const { return probe_ ? probe_->PreviousAppWin() : nullptr; }

  // Theme settings. This platform has no visual-style engine, so themes are never supported.
  bool XPThemesSupported() const { return ThemeServicesAvailable(); }
  bool UseXPThemes() const { return useXPThemes_ && ThemeServicesAvailable(); }
  void SetUseXPThemes(bool value);
  bool UseXPThemesLibraryOnly() const { return libraryOnly_; }
  void SetUseXPThemesLibraryOnly(bool value);
  bool ThemeUseColorProperty() const { return themeUseColorProperty_; }
  void SetThemeUseColorProperty(bool value) { themeUseColorProperty_ = value; }
  TVnThemeMode ThemeGlobalMode() const { return themeGlobalMode_; }
  void SetThemeGlobalMode(TVnThemeMode value);
  // Tells every form, and every control of the visible ones, that the theme changed.
  void DoThemeChange();

 private:
  bool ThemeServicesAvailable() const { return false; }
  void ProbePreviousInstance();
  void WriteHeader(std::vector<String>& lines) const;
  template <class AddFn>
  platform::WORD AddAppTimer(AddFn add);

  TVnApplicationOptions options_{aoMouseCtrlActive, aoLogAlwaysClear, aoLogHeader, aoLogNr};
  String company_, version_;
  String logName_, logMask_ = u"#tdl";
  bool logWritten_ = false;
  int logEntries_ = 0;
  int logMaxsize_ = -1;
  TBitmap* brushBitmap_ = nullptr;
  TColor brushColor_ = clNone;
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

// The process's services object, made on first use.
TVnApplication* VnApplication();

}  // namespace kestrel

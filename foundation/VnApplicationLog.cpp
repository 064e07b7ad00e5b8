// TVnApplication's log file: naming, the size check, entries, the header, and exceptions.

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "foundation/VnApplication.h"
#include "foundation/VnUtils.h"
#include "framework/Application.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "platform/os/Clock.h"
#include "platform/os/CodePage.h"
#include "platform/os/Locale.h"
#include "platform/os/Paths.h"

namespace kestrel {

namespace pf = platform;
using vn::ExecutablePath;
using vn::IsBlank;

namespace {

using DirectoryCall = pf::UINT (*)(pf::WCHAR*, pf::UINT);

String DirectoryFrom(DirectoryCall call) {
  pf::WCHAR buffer[4096] = {};
  const pf::UINT n = call(buffer, 4096);
  return String(reinterpret_cast<const char16_t*>(buffer), n < 4096 ? n : 0);
}

String PrefixDirectory(TVnPathPrefix prefix) {
  switch (prefix) {
    case ppWindows: return DirectoryFrom(&pf::GetWindowsDirectoryW);
    case ppSystem: return DirectoryFrom(&pf::GetSystemDirectoryW);
    default: return ExtractFileDir(ExecutablePath());
  }
}

// The current date or time in the user's short date or long time format.
String NowText(bool date) {
  pf::SYSTEMTIME t{};
  pf::GetLocalTime(&t);
  pf::WCHAR buffer[128] = {};
  const int n = date ? pf::GetDateFormatW(pf::LOCALE_USER_DEFAULT, pf::DATE_SHORTDATE, &t, nullptr, buffer, 128)
                     : pf::GetTimeFormatW(pf::LOCALE_USER_DEFAULT, 0, &t, nullptr, buffer, 128);
  return n > 0 ? String(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(n - 1)) : String();
}

// A line in the system's 8-bit code page.
std::string ToAnsi(const String& line) {
  if (line.empty()) return std::string();
  const auto* wide = reinterpret_cast<const pf::WCHAR*>(line.data());
  const int length = static_cast<int>(line.size());
  const int size = pf::WideCharToMultiByte(pf::CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(std::max(size, 0)), '\0');
  if (size > 0) pf::WideCharToMultiByte(pf::CP_ACP, 0, wide, length, text.data(), size, nullptr, nullptr);
  return text;
}

const String kRule(80, u'*');

}  // namespace

void TVnApplication::SetLogName(const String& value) {
  String name = IsBlank(value) ? ChangeFileExt(ExecutablePath(), u".LOG") : value;
  if (!IsBlank(value) && IsBlank(ExtractFileExt(value))) name += u".LOG";
  if (logPrefix_ != ppFixed) name = IncludeTrailingPathDelimiter(PrefixDirectory(logPrefix_)) + ExtractFileName(name);
  logName_ = name;
}

void TVnApplication::SetLogPrefix(TVnPathPrefix value) {
  logPrefix_ = value;
  SetLogName(logName_);
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
  if (logMaxAction_ == laClearLog) fresh = true;
  if (logMaxAction_ == laBackupLog) {
    for (int n = 0;; ++n) {
      std::filesystem::path backup = path;
      backup.replace_extension(".l" + std::to_string(n));
      if (std::filesystem::exists(backup, error)) continue;
      std::filesystem::rename(path, backup, error);
      break;
    }
    if (ApplicationExists()) Application()->ProcessMessages();
    // A log that could not be moved aside is kept (and appended to), never cleared unsaved.
    fresh = !error;
  }
  return true;
}

void TVnApplication::WriteHeader(std::vector<String>& lines) {
  lines.push_back(String());
  lines.push_back(u"LogFile started: " + NowText(true) + u" " + NowText(false));
  lines.push_back(u"Application    : " + (ApplicationExists() ? Application()->Title() : String()));
  lines.push_back(u"Path/ExeName   : " + ExecutablePath());
  if (!IsBlank(version_)) lines.push_back(u"Version        : " + version_);
  if (OnHeaderWrite) {
    TStringList target;
    OnHeaderWrite(this, &target);
    for (int i = 0; i < target.Count(); ++i) lines.push_back(target[i]);
  }
  lines.push_back(kRule);
  lines.push_back(String());
  lines.push_back(u"Entries:");
}

String TVnApplication::LogEntry(const String& value) {
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
  return line;
}

void TVnApplication::LogWrite(const String& value) {
  bool restart = false;
  if (!CheckLogSize(restart)) return;
  const std::string path = Utf16ToUtf8(logName_);
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
    lines.push_back(LogEntry(value));
  }
  for (const String& line : lines) file << ToAnsi(line) << "\r\n";
  logWritten_ = true;
}

void TVnApplication::LogException(TObject* sender) {
  String text;
  try {
    if (std::current_exception()) throw;
  } catch (const Exception& e) {
    text = ExceptionText(e.Message(), &e);
  } catch (const std::exception& e) {
    text = ExceptionText(Utf8ToUtf16(e.what()), &e);
  } catch (...) {
  }
  LogWrite(SenderPrefix(sender) + text);
}

String TVnApplication::ExceptionText(const String& message, const void* address) {
  // No code address exists for a C++ exception; the exception object's address tells them apart.
  return Format(u"%s, Address: %p", {message, address});
}

String TVnApplication::SenderPrefix(TObject* sender) {
  if (!sender) return String();
  const auto* component = dynamic_cast<TComponent*>(sender);
  if (component && !component->Name().empty()) return sender->ClassName() + u" (Name: " + component->Name() + u"): ";
  return sender->ClassName() + u": ";
}

void TVnApplication::HandleException(TObject* sender, const Exception& e) {
  bool cancel = false;
  if (OnException) OnException(sender, e, cancel);
  if (cancel) return;
  // The exception at hand, also when this is called outside the handler that caught it.
  if (options_.Contains(aoLogException)) LogWrite(SenderPrefix(sender) + ExceptionText(e.Message(), &e));
  Application()->ShowException(e);
}

}  // namespace kestrel

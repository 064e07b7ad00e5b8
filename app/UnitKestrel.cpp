#include "app/UnitKestrel.h"

#include <filesystem>
#include <system_error>

#include "framework/Application.h"
#include "framework/MessageBox.h"
#include "framework/SysUtils.h"
#include "platform/os/Environment.h"
#include "platform/os/FileSystem.h"
#include "platform/os/Language.h"
#include "platform/os/Paths.h"
#include "platform/os/Shell.h"
#include "platform/window/WindowDefs.h"

#ifndef KESTREL_INSTALLER_URL
#define KESTREL_INSTALLER_URL "http://download.corvane.example/download/CorvaneSetup.exe"
#endif
#ifndef KESTREL_INSTALLER_SHA256
#define KESTREL_INSTALLER_SHA256 ""
#endif

namespace kestrel {

namespace pf = platform;

TForm1* Form1 = nullptr;

namespace {

constexpr pf::DWORD kTempBufferSize = 260;
constexpr unsigned kFailureBoxFlags = MB_OK | MB_ICONEXCLAMATION | pf::MB_SYSTEMMODAL | pf::MB_SETFOREGROUND;
static_assert(kFailureBoxFlags == 0x00011030);

// The texts the creation handler sets; the design's German ones stay for German systems.
constexpr char16_t kTitleEnglish[] = u"Download assistant - Corvane full version";
constexpr char16_t kStepEnglish[] = u"<B><U>Step 3:</U></B><br><br>Download and install full version on your computer:";
constexpr char16_t kButtonEnglish[] = u"Download full version";
constexpr char16_t kLeadInGerman[] = u"Willkommen beim Download-Assistenten der";
constexpr char16_t kLeadInEnglish[] = u"Welcome to the download assistant for";
constexpr char16_t kFailedTitleGerman[] = u"Download fehlgeschlagen";
constexpr char16_t kFailedTitleEnglish[] = u"Download failed";
constexpr char16_t kFailedTextGerman[] =
    u"Der Download der Vollversion ist fehlgeschlagen!\r\n\r\n"
    u"Bitte stellen Sie sicher, dass Ihre Firewall den Zugang zum Internet nicht blockiert.";
constexpr char16_t kFailedTextEnglish[] =
    u"The download of the full version failed!\r\n\r\n"
    u"Please make sure that your firewall does not block internet access.";

std::filesystem::path FsPath(const String& path) { return std::filesystem::path(Utf16ToUtf8(path)); }

// A symbolic link whose target is a directory: one entry, deleted as a file would be.
bool IsLinkToDirectory(const String& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_symlink(std::filesystem::symlink_status(FsPath(path), ec)) &&
         std::filesystem::is_directory(std::filesystem::status(FsPath(path), ec));
}

String FullPath(const String& path) {
  if (path.empty()) return String();
  const pf::DWORD needed = pf::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return String();
  String buffer(needed, u'\0');
  const pf::DWORD length = pf::GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
  if (length == 0 || length >= needed) return String();
  buffer.resize(length);
  return buffer;
}

// The entry name of a search result, at most MAX_PATH characters.
String FoundName(const pf::WIN32_FIND_DATAW& data) {
  std::size_t n = 0;
  while (n < pf::MAX_PATH && data.cFileName[n]) ++n;
  return String(data.cFileName, n);
}

}  // namespace

const char* InstallerURL() { return KESTREL_INSTALLER_URL; }

const char* InstallerSHA256() { return KESTREL_INSTALLER_SHA256; }

bool SystemLanguageIsGerman() { return pf::PRIMARYLANGID(pf::GetSystemDefaultLangID()) == pf::LANG_GERMAN; }

String LongPathForm(const String& path) {
  String rest = FullPath(path);
  const std::size_t root = rest.find(PathDelim);
  if (root == String::npos) return rest;
  String result = rest.substr(0, root + 1);
  rest.erase(0, root + 1);
  while (!rest.empty()) {
    const std::size_t end = rest.find(PathDelim);
    const bool delimited = end != String::npos;
    const String component = rest.substr(0, end);
    pf::WIN32_FIND_DATAW data;
    const pf::HANDLE search = pf::FindFirstFileW((result + component).c_str(), &data);
    if (search == pf::INVALID_HANDLE_VALUE) return result + rest;
    try {
      result += FoundName(data);
      if (delimited) result += PathDelim;
    } catch (...) {
      pf::FindClose(search);
      throw;
    }
    pf::FindClose(search);
    rest.erase(0, delimited ? end + 1 : rest.size());
  }
  return result;
}

void DeleteEarlierFile(const String& path) {
  try {
    if (!FileExists(path) && !IsLinkToDirectory(path)) return;
    if (pf::DeleteFileW(path.c_str())) return;
    const pf::DWORD error = pf::GetLastError();
    const pf::DWORD attributes = pf::GetFileAttributesW(path.c_str());
    const pf::DWORD linkToDirectory = pf::FILE_ATTRIBUTE_REPARSE_POINT | pf::FILE_ATTRIBUTE_DIRECTORY;
    if (attributes != pf::INVALID_FILE_ATTRIBUTES && (attributes & linkToDirectory) == linkToDirectory)
      pf::RemoveDirectoryW(path.c_str());
    else pf::SetLastError(error);
  } catch (...) {
    // The transfer's own file creation decides the outcome.
  }
}

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  BuildDesign();
  OnCreate = [this](TObject* sender) { FormCreate(sender); };
  OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
}

void TForm1::FormCreate(TObject*) {
  const bool german = SystemLanguageIsGerman();
  ProdName = u"Corvane";
  HTTPGetUpdate->SetURL(InstallerURL());
  // A pinned installer that arrives with another digest is a failed download, never opened.
  HTTPGetUpdate->SetExpectedSHA256(InstallerSHA256());
  if (german) {
    KsHTMLLabel1->SetCaption(kLeadInGerman + String(u"<br><b>Vollversion von <font size=22>") + ProdName +
                             u"</b></font>");
  } else {
    SetCaption(kTitleEnglish);
    KsHTMLLabel1->SetCaption(kLeadInEnglish + String(u"<br><b><font size=22>") + ProdName +
                             u"</font> (full version)</b>");
    KsHTMLLabel6->SetCaption(kStepEnglish);
    Button1->SetCaption(kButtonEnglish);
  }
  const AnsiString& url = HTTPGetUpdate->URL();
  const String installer = Utf8ToUtf16(url.substr(url.rfind('/') + 1));
  HTTPGetUpdate->SetFileName(Utf16ToUtf8(GetTempDir() + installer));
  // A run that was killed mid-download could not remove its hidden partial file.
  HTTPGetUpdate->RemoveAbandonedDownloads();
}

void TForm1::FormClose(TObject*, TCloseAction&) {
  // Closing ends the program: a running transfer must not go on to open its file afterwards.
  HTTPGetUpdate->Abort();
}

String TForm1::GetTempDir() const {
  pf::WCHAR buffer[kTempBufferSize] = {};
  const pf::DWORD needed = pf::ExpandEnvironmentStringsW(u"%temp%", buffer, kTempBufferSize);
  // Nothing is written when the expansion does not fit: the buffer stays empty.
  const String expanded = needed != 0 && needed <= kTempBufferSize ? String(buffer) : String();
  const String folder = LongPathForm(Trim(expanded));
  if (!DirectoryExists(folder)) return pf::kFallbackRootPath;
  return IncludeTrailingPathDelimiter(folder);
}

void TForm1::Button1Click(TObject*) {
  // The overlay hides the button but leaves it the keyboard focus: Space or Enter during a
  // transfer must not delete the file being written (the transfer would then open nothing).
  if (HTTPGetUpdate->Busy()) return;
  DeleteEarlierFile(Utf8ToUtf16(HTTPGetUpdate->FileName()));
  KsPanel2->Show();
  HTTPGetUpdate->GetFile();
}

void TForm1::HTTPGetUpdateDoneFile(TObject*, const AnsiString&, int) {
  KsPanel2->Hide();
  pf::ShellExecuteA(Handle(), "open", HTTPGetUpdate->FileName().c_str(), "", "", pf::SW_SHOW);
  Halt(0);
}

void TForm1::HTTPGetUpdateError(TObject*) {
  KsPanel2->Hide();
  // A transfer aborted because the dialog was closed has nobody left to tell.
  if (Application()->Terminated()) return;
  const bool german = SystemLanguageIsGerman();
  Application()->MessageBox(german ? kFailedTextGerman : kFailedTextEnglish,
                            german ? kFailedTitleGerman : kFailedTitleEnglish, kFailureBoxFlags);
}

}  // namespace kestrel

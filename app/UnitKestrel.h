#pragma once
// The download assistant: one fixed dialog that fetches the product's full-version installer
// into the temporary folder, hands it to the desktop to be opened and ends the program; a failed
// download is reported in a message box and the dialog stays for another attempt.

#include "controls/KsPanel.h"
#include "framework/Button.h"
#include "framework/Form.h"
#include "html/KsHTMLLabel.h"
#include "net/HTTPGet.h"
#include "smooth/SmoothWin8Marquee.h"

namespace kestrel {

// The installer's address, built in per product (a CMake cache setting).
const char* InstallerURL();
// The installer's SHA-256 as hex digits, built in per product (empty: not checked).
const char* InstallerSHA256();

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* owner);

  // Controls, by the names the logic refers to them with.
  TKsPanel* KsPanel1;                                        // the header band
  TKsHTMLLabel* KsHTMLLabel1;                                // the header text
  TKsHTMLLabel* KsHTMLLabel6;                                // the download step text
  TButton* Button1;                                          // the download button
  TKsPanel* KsPanel2;                                        // the overlay shown while a transfer runs
  TSmoothWin8Marquee* SmoothWin8MarqueeUserSynchronization;  // the busy animation on the overlay
  THTTPGet* HTTPGetUpdate;

  String ProdName;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  // The temporary folder, ending in the path delimiter.
  String GetTempDir() const;
  void Button1Click(TObject* Sender);
  void HTTPGetUpdateDoneFile(TObject* Sender, const AnsiString& FileName, int FileSize);
  void HTTPGetUpdateError(TObject* Sender);

 private:
  // The window and its controls, made in this order: the step text, the header band with its
  // text, the button, the overlay with the busy animation, the download component.
  void BuildDesign();
  void BuildHeader();
  void BuildOverlay();
  void BuildDownload();
};

extern TForm1* Form1;

// German when the system's default language is German (primary language 7), asked afresh each
// time a text is chosen.
bool SystemLanguageIsGerman();

// `path` made absolute with every component that exists spelled as the directory lists it; from
// the first component that cannot be found on, the rest stays as it was.
String LongPathForm(const String& path);

// Deletes the file at `path` (a link to a directory is removed as a link); failures are ignored.
void DeleteEarlierFile(const String& path);

}  // namespace kestrel

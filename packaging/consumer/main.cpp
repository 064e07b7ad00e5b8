// Opens a form with a label on the off-screen backend, paints it and reports what it measured:
// the fonts and their configuration come from the installed prefix.
#include <cstdio>
#include <string>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Label.h"
#include "platform/backend/BackendSelection.h"
#include "platform/core/DataDirectory.h"

// argv[1]: the prefix the data must come from.
int main(int argc, char** argv) {
  using namespace kestrel;
  platform::InstallBackend("headless");
  TForm* form = nullptr;
  Application()->CreateForm(form);
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption(u"Hello from an installed Kestrel");
  label->SetAutoSize(true);
  form->Show();
  Application()->ProcessMessages();
  std::printf("label %d x %d\n", label->Width(), label->Height());
  const std::string data = platform::DataDirectory();
  std::printf("data %s\n", data.c_str());
  const bool fromPrefix = argc > 1 && data.rfind(argv[1], 0) == 0;
  const bool measured = label->Width() > 100 && label->Height() > 8;
  Halt(fromPrefix && measured ? 0 : 1);
}

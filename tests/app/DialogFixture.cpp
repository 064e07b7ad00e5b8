#include "tests/app/DialogFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/Label.h"
#include "framework/Screen.h"

namespace kestrel::testing {

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  if (value) ::setenv(name, value->c_str(), 1);
  else ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
  else ::unsetenv(name_.c_str());
}

void DialogTest::FormDeleter::operator()(TForm1* form) const {
  if (Form1 == form) Form1 = nullptr;
  form->BeforeDestruction();
  delete form;
}

void DialogTest::SetUp() {
  Application();
  tempVar_ = std::make_unique<ScopedEnv>("TEMP", temp_.Path().string());
  noProxy_ = std::make_unique<ScopedEnv>("no_proxy", std::nullopt);
  language_ = std::make_unique<ScopedEnv>("LANGUAGE", "en_US");
}

void DialogTest::TearDown() {
  Application()->OnIdle = nullptr;
  forms_.clear();
}

TForm1* DialogTest::MakeDialog() {
  forms_.emplace_back(TCustomForm::Create<TForm1>(nullptr));
  Form1 = forms_.back().get();
  return Form1;
}

void DialogTest::UseProxy(const LoopbackServer& server) {
  proxy_ = std::make_unique<ScopedEnv>("http_proxy", "http://127.0.0.1:" + std::to_string(server.Port()));
}

void DialogTest::AnswerMessageBoxes() {
  Application()->OnIdle = [this](TObject*, bool& done) {
    done = false;
    TCustomForm* box = Screen()->ActiveForm();
    if (!box || dynamic_cast<TForm1*>(box)) return;
    BoxSeen seen{box->Caption(), {}};
    TButton* first = nullptr;
    for (int i = 0; i < box->ControlCount(); ++i) {
      if (auto* label = dynamic_cast<TLabel*>(box->Controls(i))) seen.text = label->Caption();
      if (auto* button = dynamic_cast<TButton*>(box->Controls(i)); button && !first) first = button;
    }
    boxes_.push_back(seen);
    if (first) first->Click();
    else box->Close();
  };
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text, bool executable) {
  std::ofstream(path, std::ios::binary) << text;
  if (executable) std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::string FakeOpenerScript(const std::filesystem::path& dir) {
  const std::string arg = (dir / "opened-arg").string(), opened = (dir / "opened").string();
  return "#!/bin/sh\nprintf '%s' \"$1\" > '" + arg + "'\ncp \"$1\" '" + opened + ".part' && mv '" + opened +
         ".part' '" + opened + "'\n";
}

std::string Payload(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

}  // namespace kestrel::testing

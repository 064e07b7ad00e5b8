#include "tests/app/DialogFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/Application.h"
#include "framework/Button.h"
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

void DialogTest::SetUp() {
  Application();
  env_.push_back(std::make_unique<ScopedEnv>("TEMP", temp_.Path().string()));
  env_.push_back(std::make_unique<ScopedEnv>("no_proxy", std::nullopt));
  env_.push_back(std::make_unique<ScopedEnv>("LANGUAGE", "en_US"));
}

void DialogTest::TearDown() {
  Application()->OnIdle = nullptr;
  Form1 = nullptr;
  for (TForm1* form : forms_) {
    form->BeforeDestruction();
    delete form;
  }
}

TForm1* DialogTest::MakeDialog() {
  forms_.push_back(Form1 = TCustomForm::Create<TForm1>(nullptr));
  return Form1;
}

void DialogTest::UseProxy(const LoopbackServer& server) {
  env_.push_back(std::make_unique<ScopedEnv>("http_proxy", "http://127.0.0.1:" + std::to_string(server.Port())));
}

void DialogTest::AnswerMessageBoxes() {
  Application()->OnIdle = [this](TObject*, bool& done) {
    done = false;
    TCustomForm* box = Screen()->ActiveForm();
    if (!box || dynamic_cast<TForm1*>(box)) return;
    boxes_.emplace_back(box->Caption(), String());
    TButton* button = nullptr;
    for (int i = box->ControlCount() - 1; i >= 0; --i) {
      if (auto* b = dynamic_cast<TButton*>(box->Controls(i))) button = b;
      else boxes_.back().second = box->Controls(i)->Caption();
    }
    if (button) button->Click();
  };
}

std::string ReadFile(const std::filesystem::path& path) {
  std::stringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
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

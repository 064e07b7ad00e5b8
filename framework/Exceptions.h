#pragma once
// The exception family. Every framework error is an Exception: a TObject (so handlers can report
// the class name) and a std::exception whose what() is the message in UTF-8.

#include <exception>
#include <initializer_list>
#include <string>

#include "framework/FormatArg.h"
#include "framework/Object.h"

namespace kestrel {

class Exception : public TObject, public std::exception {
  KESTREL_CLASS(Exception)
  explicit Exception(String message);
  explicit Exception(std::string_view utf8Message);
  explicit Exception(const char16_t* message) : Exception(String(message)) {}
  explicit Exception(const char* utf8Message) : Exception(std::string_view(utf8Message)) {}
  // Message formatted with Format().
  Exception(std::u16string_view format, std::initializer_list<TFormatArg> args);
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;
  ~Exception() override = default;

  const String& Message() const { return message_; }
  void SetMessage(const String& value);
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  String message_;
  std::string utf8_;
};

}  // namespace kestrel

// A family member: same constructors as its base, its own class name.
#define KESTREL_EXCEPTION(Class, Base) \
  class Class : public Base {          \
    KESTREL_CLASS(Class)               \
    using Base::Base;                  \
  };

namespace kestrel {

KESTREL_EXCEPTION(EAbort, Exception)
KESTREL_EXCEPTION(EConvertError, Exception)
KESTREL_EXCEPTION(EListError, Exception)
KESTREL_EXCEPTION(EStringListError, EListError)
KESTREL_EXCEPTION(EStreamError, Exception)
KESTREL_EXCEPTION(EFCreateError, EStreamError)
KESTREL_EXCEPTION(EFOpenError, EStreamError)
KESTREL_EXCEPTION(EFilerError, EStreamError)
KESTREL_EXCEPTION(EReadError, EFilerError)
KESTREL_EXCEPTION(EWriteError, EFilerError)
KESTREL_EXCEPTION(EClassNotFound, EFilerError)
KESTREL_EXCEPTION(EInvalidImage, EFilerError)
KESTREL_EXCEPTION(EInvalidOperation, Exception)
KESTREL_EXCEPTION(EOutOfResources, Exception)
KESTREL_EXCEPTION(EComponentError, Exception)
KESTREL_EXCEPTION(EPropertyError, Exception)
KESTREL_EXCEPTION(EPropertyConvertError, Exception)
KESTREL_EXCEPTION(EInvalidCast, Exception)
KESTREL_EXCEPTION(EArgumentException, Exception)
KESTREL_EXCEPTION(EArgumentOutOfRangeException, EArgumentException)
KESTREL_EXCEPTION(ENotSupportedException, Exception)
KESTREL_EXCEPTION(EAbstractError, Exception)
KESTREL_EXCEPTION(EInOutError, Exception)
KESTREL_EXCEPTION(EOSError, Exception)
KESTREL_EXCEPTION(EIniFileException, Exception)
KESTREL_EXCEPTION(EEncodingError, Exception)
KESTREL_EXCEPTION(EResNotFound, Exception)
KESTREL_EXCEPTION(EInvalidOp, Exception)
KESTREL_EXCEPTION(EParserError, Exception)

// Raises EAbort, the silent exception that unwinds without a message box.
[[noreturn]] void Abort();

}  // namespace kestrel

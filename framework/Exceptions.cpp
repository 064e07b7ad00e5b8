#include "framework/Exceptions.h"

#include "framework/SysUtils.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(Exception, TObject)

Exception::Exception(String message) { SetMessage(message); }

Exception::Exception(std::string_view utf8Message) { SetMessage(Utf8ToUtf16(utf8Message)); }

Exception::Exception(std::u16string_view format, std::initializer_list<TFormatArg> args) {
  SetMessage(FmtStr(format, args));
}

void Exception::SetMessage(const String& value) {
  message_ = value;
  utf8_ = Utf16ToUtf8(value);
}

KESTREL_IMPLEMENT_CLASS(EAbort, Exception)
KESTREL_IMPLEMENT_CLASS(EConvertError, Exception)
KESTREL_IMPLEMENT_CLASS(EListError, Exception)
KESTREL_IMPLEMENT_CLASS(EStringListError, EListError)
KESTREL_IMPLEMENT_CLASS(EStreamError, Exception)
KESTREL_IMPLEMENT_CLASS(EFCreateError, EStreamError)
KESTREL_IMPLEMENT_CLASS(EFOpenError, EStreamError)
KESTREL_IMPLEMENT_CLASS(EFilerError, EStreamError)
KESTREL_IMPLEMENT_CLASS(EReadError, EFilerError)
KESTREL_IMPLEMENT_CLASS(EWriteError, EFilerError)
KESTREL_IMPLEMENT_CLASS(EClassNotFound, EFilerError)
KESTREL_IMPLEMENT_CLASS(EInvalidImage, EFilerError)
KESTREL_IMPLEMENT_CLASS(EInvalidOperation, Exception)
KESTREL_IMPLEMENT_CLASS(EOutOfResources, Exception)
KESTREL_IMPLEMENT_CLASS(EComponentError, Exception)
KESTREL_IMPLEMENT_CLASS(EPropertyError, Exception)
KESTREL_IMPLEMENT_CLASS(EPropertyConvertError, Exception)
KESTREL_IMPLEMENT_CLASS(EInvalidCast, Exception)
KESTREL_IMPLEMENT_CLASS(EArgumentException, Exception)
KESTREL_IMPLEMENT_CLASS(EArgumentOutOfRangeException, EArgumentException)
KESTREL_IMPLEMENT_CLASS(ENotSupportedException, Exception)
KESTREL_IMPLEMENT_CLASS(EAbstractError, Exception)
KESTREL_IMPLEMENT_CLASS(EInOutError, Exception)
KESTREL_IMPLEMENT_CLASS(EOSError, Exception)
KESTREL_IMPLEMENT_CLASS(EIniFileException, Exception)
KESTREL_IMPLEMENT_CLASS(EEncodingError, Exception)
KESTREL_IMPLEMENT_CLASS(EResNotFound, Exception)
KESTREL_IMPLEMENT_CLASS(EInvalidOp, Exception)
KESTREL_IMPLEMENT_CLASS(EParserError, Exception)

void Abort() { throw EAbort(u"Operation aborted"); }

}  // namespace kestrel

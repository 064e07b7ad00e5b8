#pragma once
// Component streaming in a readable text form:
//
//   object Form1: TForm1
//     Caption = 'Hello'#13#10'world'
//     Font.Name = 'Tahoma'
//     Anchors = [akLeft, akTop]
//     Lines.Strings = (
//       'one'
//       'two')
//     Picture = {
//       89504E47...}
//     Snippets = <
//       item
//         Name = 'intro'
//       end>
//     object Button1: TButton
//       Left = 8
//     end
//   end
//
// TWriter (Writer.h) writes a component's stored published properties that differ from their
// declared defaults (sub-objects as dotted paths, links to other components by name), then what
// the component declares in DefineProperties, then its children. TReader (Reader.h) reads it
// back through the setters, creating components through the class registry, inside the
// csLoading/csReading bracket, and calls Loaded at the end. This header holds what both share:
// the filer base that DefineProperties receives and the value types.

#include <functional>

#include "framework/Component.h"

namespace kestrel {

class TStream;
class TCollection;
class TReader;
class TWriter;
struct TPropInfo;
class TEnumInfo;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

enum TValueType {
  vaNull,
  vaList,
  vaInteger,
  vaFloat,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaNil,
  vaCollection,
};

class TFiler : public TObject {
  KESTREL_CLASS(TFiler)
  TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  // Data of the object being filed that is not a published property. `hasData` tells the
  // writer whether there is anything to write (ignored when reading).
  virtual void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                              bool hasData) = 0;
  virtual void DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc& writeData,
                                    bool hasData) = 0;

  TComponent* Root() const { return root_; }

 protected:
  TComponent* root_ = nullptr;
};

}  // namespace kestrel

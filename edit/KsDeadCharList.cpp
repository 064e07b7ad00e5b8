#include "edit/KsDeadCharList.h"

#include <algorithm>

namespace kestrel {

namespace {

// Grouped by dead character; within a group the base character and its result.
constexpr TKsDeadChar kDeadChars[] = {
    {u'`', u'A', u'À'},  {u'`', u'a', u'à'},  {u'`', u'E', u'È'},  {u'`', u'e', u'è'},  {u'`', u'I', u'Ì'},
    {u'`', u'i', u'ì'},  {u'`', u'O', u'Ò'},  {u'`', u'o', u'ò'},  {u'`', u'U', u'Ù'},  {u'`', u'u', u'ù'},

    {u'´', u'A', u'Á'},  {u'´', u'a', u'á'},  {u'´', u'e', u'é'},  {u'´', u'I', u'Í'},  {u'´', u'i', u'í'},
    {u'´', u'O', u'Ó'},  {u'´', u'o', u'ó'},  {u'´', u'U', u'Ú'},  {u'´', u'u', u'ú'},  {u'´', u'Y', u'Ý'},
    {u'´', u'y', u'ý'},

    {u'^', u'A', u'Â'},  {u'^', u'a', u'â'},  {u'^', u'E', u'Ê'},  {u'^', u'e', u'ê'},  {u'^', u'I', u'Î'},
    {u'^', u'i', u'î'},  {u'^', u'O', u'Ô'},  {u'^', u'o', u'ô'},  {u'^', u'U', u'Û'},  {u'^', u'u', u'û'},

    {u'~', u'A', u'Ã'},  {u'~', u'a', u'ã'},  {u'~', u'O', u'Õ'},  {u'~', u'ι', u'ΐ'},  {u'~', u'υ', u'ΰ'},

    {u'¨', u'A', u'Ä'},  {u'¨', u'a', u'ä'},  {u'¨', u'E', u'Ë'},  {u'¨', u'e', u'ë'},  {u'¨', u'I', u'Ï'},
    {u'¨', u'i', u'ï'},  {u'¨', u'O', u'Ö'},  {u'¨', u'o', u'ö'},  {u'¨', u'U', u'Ü'},  {u'¨', u'u', u'ü'},
    {u'¨', u'ι', u'ϊ'},  {u'¨', u'υ', u'ϋ'},

    {u'¡', u'A', u'Å'},  {u'¡', u'a', u'å'},  {u'¡', u'C', u'Č'},  {u'¡', u'c', u'č'},  {u'¡', u'D', u'Ď'},
    {u'¡', u'd', u'ď'},  {u'¡', u'E', u'Ĕ'},  {u'¡', u'e', u'ĕ'},  {u'¡', u'I', u'Ñ'},  {u'¡', u'i', u'ñ'},
    {u'¡', u'L', u'Ľ'},  {u'¡', u'l', u'ľ'},  {u'¡', u'N', u'Ň'},  {u'¡', u'n', u'ň'},  {u'¡', u'O', u'×'},
    {u'¡', u'o', u'÷'},  {u'¡', u'R', u'Ř'},  {u'¡', u'r', u'ř'},  {u'¡', u'S', u'Š'},  {u'¡', u's', u'š'},
    {u'¡', u'T', u'Ť'},  {u'¡', u't', u'ť'},  {u'¡', u'U', u'Þ'},  {u'¡', u'u', u'þ'},  {u'¡', u'Z', u'Ž'},
    {u'¡', u'z', u'ž'},

    {u';', u'A', u'Æ'},  {u';', u'a', u'æ'},  {u';', u'C', u'Ĉ'},  {u';', u'c', u'ĉ'},  {u';', u'E', u'Î'},
    {u';', u'e', u'î'},  {u';', u'G', u'Ĝ'},  {u';', u'g', u'ĝ'},  {u';', u'H', u'Ĥ'},  {u';', u'h', u'ĥ'},
    {u';', u'I', u'Ò'},  {u';', u'i', u'ò'},  {u';', u'J', u'Ĵ'},  {u';', u'j', u'ĵ'},  {u';', u'O', u'Ø'},
    {u';', u'o', u'ø'},  {u';', u'S', u'Ŝ'},  {u';', u's', u'ŝ'},  {u';', u'U', u'Ŭ'},

    {u':', u'A', u'Æ'},  {u':', u'a', u'æ'},  {u':', u'C', u'Ĉ'},  {u':', u'c', u'ĉ'},  {u':', u'E', u'Î'},
    {u':', u'e', u'î'},  {u':', u'G', u'Ĝ'},  {u':', u'g', u'ĝ'},  {u':', u'H', u'Ĥ'},  {u':', u'h', u'ĥ'},
    {u':', u'I', u'Ò'},  {u':', u'i', u'ò'},  {u':', u'J', u'Ĵ'},  {u':', u'j', u'ĵ'},  {u':', u'O', u'Ø'},
    {u':', u'o', u'ø'},  {u':', u'S', u'Ŝ'},  {u':', u's', u'ŝ'},  {u':', u'U', u'Ŭ'},  {u':', u'u', u'ŭ'},

    {u'°', u'A', u'Ç'},  {u'°', u'a', u'ç'},  {u'°', u'E', u'Ï'},  {u'°', u'e', u'ï'},  {u'°', u'i', u'ó'},
    {u'°', u'O', u'Ù'},  {u'°', u'o', u'ù'},  {u'°', u'U', u'Ů'},  {u'°', u'u', u'ů'},

    {u'\'', u'A', u'Á'}, {u'\'', u'a', u'á'}, {u'\'', u'C', u'Ç'}, {u'\'', u'c', u'ç'}, {u'\'', u'E', u'É'},
    {u'\'', u'e', u'é'}, {u'\'', u'I', u'Í'}, {u'\'', u'i', u'í'}, {u'\'', u'O', u'Ó'}, {u'\'', u'o', u'ó'},
    {u'\'', u'U', u'Ú'}, {u'\'', u'u', u'ú'}, {u'\'', u'Y', u'Ý'}, {u'\'', u'y', u'ý'},

    {u'"', u'U', u'Ü'},  {u'"', u'u', u'ü'},

    {u'΄', u'Α', u'Ά'},  {u'΄', u'Ο', u'Ό'},  {u'΄', u'Υ', u'Ύ'},  {u'΄', u'Ω', u'Ώ'},  {u'΄', u'α', u'ά'},
    {u'΄', u'ο', u'ό'},  {u'΄', u'υ', u'ύ'},  {u'΄', u'ω', u'ώ'},
};

}  // namespace

TKsDeadCharList::TKsDeadCharList() : items_(std::begin(kDeadChars), std::end(kDeadChars)) {}

std::span<const TKsDeadChar> TKsDeadCharList::DefaultTable() { return kDeadChars; }

char16_t TKsDeadCharList::GetDeadChar(char16_t baseChar, char16_t auxChar) const {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [&](const TKsDeadChar& d) { return d.BaseChar() == baseChar && d.AuxChar() == auxChar; });
  return it == items_.end() ? u'\0' : it->DeadChar();
}

}  // namespace kestrel

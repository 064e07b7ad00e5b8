#pragma once
// The detail enumerations: one per element family, each value naming one (part, state) of that
// family's theme class. Every enumeration counts the same way: 0 "don't care" and 1 the root
// (both part 0, state 0), then each part of the family's table in order, a part with states
// giving one value per state (1 … n) and a part without giving one value (state 0).
// GetThemedDetails turns a value into its record; GetThemedDetailOrd is the inverse.

#include <array>
#include <cstdint>
#include <span>

#include "controls/ThemedElements.h"

namespace kestrel {

enum class TThemedButton : std::uint16_t {};
enum class TThemedComboBox : std::uint16_t {};
enum class TThemedEdit : std::uint16_t {};
enum class TThemedExplorerBar : std::uint16_t {};
enum class TThemedHeader : std::uint16_t {};
enum class TThemedListView : std::uint16_t {};
enum class TThemedProgress : std::uint16_t {};
enum class TThemedRebar : std::uint16_t {};
enum class TThemedScrollBar : std::uint16_t {};
enum class TThemedSpin : std::uint16_t {};
enum class TThemedTab : std::uint16_t {};
enum class TThemedToolBar : std::uint16_t {};
enum class TThemedToolTip : std::uint16_t {};
enum class TThemedTrackBar : std::uint16_t {};
enum class TThemedTreeview : std::uint16_t {};
enum class TThemedWindow : std::uint16_t {};
// TThemedStatus (ThemedElements.h) counts the same way: don't care, root, pane, gripper pane,
// gripper.

// One part of a family: its number and how many states it has (0: the part alone).
struct TThemedPartStates {
  std::uint8_t Part;
  std::uint8_t States;
};

// The parts of an element's theme class, in enumeration order (empty for the elements that
// have no detail enumeration).
std::span<const TThemedPartStates> ThemedElementParts(TThemedElement element);

// The record of value `ordinal` of the element's enumeration; an ordinal past the end gives the
// root (part 0, state 0).
TThemedElementDetails GetThemedDetails(TThemedElement element, int ordinal);
// The ordinal of the record in its element's enumeration: 0 for part 0 state 0, -1 for a
// (part, state) the enumeration does not list.
int GetThemedDetailOrd(const TThemedElementDetails& details);

// Which element each enumeration belongs to.
template <class E>
struct TThemedDetailElement;
#define KESTREL_THEMED_DETAIL(Enum, Element)         \
  template <>                                        \
  struct TThemedDetailElement<Enum> {                \
    static constexpr TThemedElement Value = Element; \
  };
KESTREL_THEMED_DETAIL(TThemedButton, teButton)
KESTREL_THEMED_DETAIL(TThemedComboBox, teComboBox)
KESTREL_THEMED_DETAIL(TThemedEdit, teEdit)
KESTREL_THEMED_DETAIL(TThemedExplorerBar, teExplorerBar)
KESTREL_THEMED_DETAIL(TThemedHeader, teHeader)
KESTREL_THEMED_DETAIL(TThemedListView, teListView)
KESTREL_THEMED_DETAIL(TThemedProgress, teProgress)
KESTREL_THEMED_DETAIL(TThemedRebar, teRebar)
KESTREL_THEMED_DETAIL(TThemedScrollBar, teScrollBar)
KESTREL_THEMED_DETAIL(TThemedSpin, teSpin)
KESTREL_THEMED_DETAIL(TThemedStatus, teStatus)
KESTREL_THEMED_DETAIL(TThemedTab, teTab)
KESTREL_THEMED_DETAIL(TThemedToolBar, teToolBar)
KESTREL_THEMED_DETAIL(TThemedToolTip, teToolTip)
KESTREL_THEMED_DETAIL(TThemedTrackBar, teTrackBar)
KESTREL_THEMED_DETAIL(TThemedTreeview, teTreeview)
KESTREL_THEMED_DETAIL(TThemedWindow, teWindow)
#undef KESTREL_THEMED_DETAIL

template <class E>
concept ThemedDetail = requires {
  TThemedDetailElement<E>::Value;
};

template <ThemedDetail E>
TThemedElementDetails GetThemedDetails(E detail) {
  return GetThemedDetails(TThemedDetailElement<E>::Value, static_cast<int>(detail));
}

// The value of `E` that names (part, state); the root when the family does not list it.
template <ThemedDetail E>
E ThemedDetailOf(int part, int state) {
  const int ordinal = GetThemedDetailOrd({TThemedDetailElement<E>::Value, part, state});
  return static_cast<E>(ordinal < 0 ? 1 : ordinal);
}

}  // namespace kestrel

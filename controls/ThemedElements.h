#pragma once
// Theme classes by element, and the (element, part, state) record that names one themed part.
// Part and state are the platform theme API's numbers.

#include <cstdint>

namespace kestrel {

enum TThemedElement : std::uint8_t {
  teButton,
  teClock,
  teComboBox,
  teEdit,
  teExplorerBar,
  teHeader,
  teListView,
  teMenu,
  tePage,
  teProgress,
  teRebar,
  teScrollBar,
  teSpin,
  teStartPanel,
  teStatus,
  teTab,
  teTaskBand,
  teTaskBar,
  teToolBar,
  teToolTip,
  teTrackBar,
  teTrayNotify,
  teTreeview,
  teWindow
};
inline constexpr int kThemedElementCount = teWindow + 1;

struct TThemedElementDetails {
  TThemedElement Element = teButton;
  int Part = 0;
  int State = 0;
  friend bool operator==(const TThemedElementDetails&, const TThemedElementDetails&) = default;
};

// The theme class name the platform opens for `element` ("BUTTON" … "WINDOW").
const char16_t* ThemedElementClassName(TThemedElement element);

// The status bar's details: the whole bar, a pane, a gripper pane, the size gripper.
enum TThemedStatus : std::uint8_t { tsStatusDontCare, tsStatusRoot, tsPane, tsGripperPane, tsGripper };

}  // namespace kestrel

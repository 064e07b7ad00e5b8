#include "controls/ThemedDetails.h"

namespace kestrel {

namespace {

using P = TThemedPartStates;

// The parts and state counts of the theme classes, as the platform's theme API numbers them.
constexpr P kButton[] = {{1, 5}, {2, 8}, {3, 12}, {4, 2}, {5, 0}};
constexpr P kComboBox[] = {{1, 4}};
constexpr P kEdit[] = {{1, 7}, {2, 0}};
constexpr P kExplorerBar[] = {{1, 0}, {2, 3}, {3, 6}, {4, 3},  {5, 0},  {6, 3},
                              {7, 3}, {8, 0}, {9, 0}, {10, 3}, {11, 3}, {12, 0}};
constexpr P kHeader[] = {{1, 3}, {2, 3}, {3, 3}, {4, 2}};
constexpr P kListView[] = {{1, 6}, {2, 0}, {3, 0}, {4, 0}, {5, 0}};
constexpr P kProgress[] = {{1, 0}, {2, 0}, {3, 0}, {4, 0}};
constexpr P kRebar[] = {{1, 0}, {2, 0}, {3, 0}, {4, 3}, {5, 3}};
constexpr P kScrollBar[] = {{1, 16}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {8, 0}, {9, 0}, {10, 2}};
constexpr P kSpin[] = {{1, 4}, {2, 4}, {3, 4}, {4, 4}};
constexpr P kStatus[] = {{1, 0}, {2, 0}, {3, 0}};
constexpr P kTab[] = {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 0}, {10, 0}};
constexpr P kToolBar[] = {{1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 0}, {6, 0}};
constexpr P kToolTip[] = {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 3}};
constexpr P kTrackBar[] = {{1, 1}, {2, 1}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 1}, {10, 1}};
constexpr P kTreeview[] = {{1, 6}, {2, 2}, {3, 0}};
// Captions (3 states), frames (2), caption buttons and the window's own bars (4), the dialog
// and the sizing templates (none).
constexpr P kWindow[] = {{1, 3},  {2, 3},  {3, 3},  {4, 3},  {5, 3},  {6, 3},  {7, 2},  {8, 2},  {9, 2},  {10, 2},
                         {11, 2}, {12, 2}, {13, 4}, {14, 4}, {15, 4}, {16, 4}, {17, 4}, {18, 4}, {19, 4}, {20, 4},
                         {21, 4}, {22, 4}, {23, 4}, {24, 4}, {25, 4}, {26, 4}, {27, 4}, {28, 4}, {29, 0}, {30, 0},
                         {31, 0}, {32, 0}, {33, 0}, {34, 0}, {35, 0}, {36, 0}, {37, 0}, {38, 0}};

// Values before the first part: don't care and the root.
constexpr int kLeadingValues = 2;

int ValuesOf(const P& part) { return part.States == 0 ? 1 : part.States; }

}  // namespace

std::span<const TThemedPartStates> ThemedElementParts(TThemedElement element) {
  switch (element) {
    case teButton: return kButton;
    case teComboBox: return kComboBox;
    case teEdit: return kEdit;
    case teExplorerBar: return kExplorerBar;
    case teHeader: return kHeader;
    case teListView: return kListView;
    case teProgress: return kProgress;
    case teRebar: return kRebar;
    case teScrollBar: return kScrollBar;
    case teSpin: return kSpin;
    case teStatus: return kStatus;
    case teTab: return kTab;
    case teToolBar: return kToolBar;
    case teToolTip: return kToolTip;
    case teTrackBar: return kTrackBar;
    case teTreeview: return kTreeview;
    case teWindow: return kWindow;
    default: return {};
  }
}

TThemedElementDetails GetThemedDetails(TThemedElement element, int ordinal) {
  int index = ordinal - kLeadingValues;
  if (index >= 0) {
    for (const P& part : ThemedElementParts(element)) {
      if (index < ValuesOf(part)) return {element, part.Part, part.States == 0 ? 0 : index + 1};
      index -= ValuesOf(part);
    }
  }
  return {element, 0, 0};
}

int GetThemedDetailOrd(const TThemedElementDetails& details) {
  if (details.Part == 0 && details.State == 0) return 0;
  int ordinal = kLeadingValues;
  for (const P& part : ThemedElementParts(details.Element)) {
    if (part.Part == details.Part) {
      if (part.States == 0) return details.State == 0 ? ordinal : -1;
      return details.State >= 1 && details.State <= part.States ? ordinal + details.State - 1 : -1;
    }
    ordinal += ValuesOf(part);
  }
  return -1;
}

}  // namespace kestrel

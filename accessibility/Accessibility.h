#pragma once
// The program's windows and controls readable and operable through the desktop's accessibility
// bus (AT-SPI, through ATK and its bridge). Call once on the GUI thread, after the backend is
// installed and before the first window. The bridge is loaded only when assistive technologies
// are enabled; otherwise nothing is loaded and nothing changes.
//
// Whether they are: KESTREL_ACCESSIBILITY=1 or 0 decides; NO_AT_BRIDGE=1 says no; otherwise the
// accessibility bus's org.a11y.Status (IsEnabled or ScreenReaderEnabled) on the session bus,
// when that bus runs.

namespace kestrel {

// Whether the bridge was loaded.
bool StartAccessibility();
// Whether assistive technologies are enabled, as above (asks the session bus).
bool AssistiveTechnologiesEnabled();

}  // namespace kestrel

// A window event as the dispatcher sees it: what happened, where, and of which type.
#pragma once

namespace quillscan {

inline constexpr int kSearchShortcutId = 2;  // the Enter key, bound while the search box has focus

enum class EventKind { WindowClosed, Shortcut, Control, Other };

enum class ControlId { None, SearchBox, SearchButton, ResultList, OpenLinkButton, StatusText };

enum class ControlEventType { FocusGained, FocusLost, LeftClick, LeftDoubleClick, Other };

struct WindowEvent {
    EventKind kind = EventKind::Other;
    int shortcutId = 0;                   // for EventKind::Shortcut
    ControlId control = ControlId::None;  // for EventKind::Control
    ControlEventType type = ControlEventType::Other;

    bool operator==(const WindowEvent&) const = default;
};

enum class DispatchResult { Continue, Stop };

}  // namespace quillscan

#include "window/event_dispatcher.h"

namespace quillscan {

EventDispatcher::EventDispatcher(WindowControls& window, const TitleSearch& search,
                                 LinkActions& links)
    : window_(window), search_(search), links_(links) {}

DispatchResult EventDispatcher::dispatch(const WindowEvent& event) {
    switch (event.kind) {
        case EventKind::WindowClosed:
            return DispatchResult::Stop;
        case EventKind::Shortcut:
            if (event.shortcutId == kSearchShortcutId) runSearch();
            break;
        case EventKind::Control:
            dispatchControlEvent(event.control, event.type);
            break;
        case EventKind::Other:
            break;
    }
    return DispatchResult::Continue;
}

void EventDispatcher::dispatchControlEvent(ControlId control, ControlEventType type) {
    switch (control) {
        case ControlId::SearchBox:
            // Enter searches only while the box has the focus.
            if (type == ControlEventType::FocusGained) window_.bindEnterShortcut();
            if (type == ControlEventType::FocusLost) window_.unbindEnterShortcut();
            break;
        case ControlId::SearchButton:
            runSearch();
            break;
        case ControlId::OpenLinkButton:
            openSelectedLinkOrComplain();
            break;
        case ControlId::ResultList:
            // Clicks arrive with or without a selected row; only a selected row has a link.
            if (type == ControlEventType::LeftClick) copySelectedLink();
            if (type == ControlEventType::LeftDoubleClick) openSelectedLink();
            break;
        case ControlId::StatusText:
        case ControlId::None:
            break;
    }
}

void EventDispatcher::runSearch() {
    search_.runSearch(window_.searchText(), window_.resultView());
}

void EventDispatcher::openSelectedLinkOrComplain() {
    if (const auto link = window_.selectedLink()) {
        links_.openLink(*link);
    } else {
        window_.showError(kNoSelectionMessage);
    }
}

void EventDispatcher::copySelectedLink() {
    if (const auto link = window_.selectedLink()) links_.copyLink(*link);
}

void EventDispatcher::openSelectedLink() {
    if (const auto link = window_.selectedLink()) links_.openLink(*link);
}

}  // namespace quillscan

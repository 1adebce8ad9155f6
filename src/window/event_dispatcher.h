// What each window event means: a search, the Enter binding, a link action, or the end.
#pragma once

#include <string_view>

#include "index/title_search.h"
#include "window/link_actions.h"
#include "window/window_controls.h"
#include "window/window_event.h"

namespace quillscan {

inline constexpr std::u16string_view kNoSelectionMessage = u"请选择要打开的链接";

class EventDispatcher {
public:
    EventDispatcher(WindowControls& window, const TitleSearch& search, LinkActions& links);

    // Carries out the event's action; Stop only when the window was closed.
    DispatchResult dispatch(const WindowEvent& event);

private:
    void dispatchControlEvent(ControlId control, ControlEventType type);
    void runSearch();
    void openSelectedLinkOrComplain();
    void copySelectedLink();
    void openSelectedLink();

    WindowControls& window_;
    const TitleSearch& search_;
    LinkActions& links_;
};

}  // namespace quillscan

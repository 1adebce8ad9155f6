// The running program: the window, and what its events do.
#pragma once

#include <QFont>
#include <filesystem>
#include <functional>

#include "index/title_search.h"
#include "window/event_dispatcher.h"
#include "window/link_actions.h"
#include "window/search_window.h"

namespace quillscan {

// Builds the window, hands every event it reports to the event dispatcher, and gives the
// search box the focus. Links are started through `launcher`; `stop` is called when the
// dispatcher reports the close of the window, and should end the event loop.
class SearchProgram {
public:
    SearchProgram(const QFont& listFont, std::filesystem::path indexFile, LinkLauncher& launcher,
                  std::function<void()> stop);

    SearchProgram(const SearchProgram&) = delete;
    SearchProgram& operator=(const SearchProgram&) = delete;

    SearchWindow& window() { return window_; }

private:
    SearchWindow window_;
    TitleSearch search_;
    DesktopLinkActions links_;
    EventDispatcher dispatcher_;
    std::function<void()> stop_;
};

}  // namespace quillscan

#include "window/search_program.h"

#include <utility>

namespace quillscan {

SearchProgram::SearchProgram(const QFont& listFont, std::filesystem::path indexFile,
                             LinkLauncher& launcher, std::function<void()> stop)
    : window_(listFont),
      search_(std::move(indexFile)),
      links_(launcher),
      dispatcher_(window_, search_, links_),
      stop_(std::move(stop)) {
    QObject::connect(&window_, &SearchWindow::windowEvent, &window_,
                     [this](const WindowEvent& event) {
                         if (dispatcher_.dispatch(event) == DispatchResult::Stop) stop_();
                     });
    // Only now: the search box gaining the focus is the event that binds the Enter key.
    window_.focusSearchBox();
}

}  // namespace quillscan

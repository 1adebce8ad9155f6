// What the event dispatcher may do to the window: the few operations its actions need.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "index/types.h"

namespace quillscan {

class WindowControls {
public:
    virtual ~WindowControls() = default;

    virtual std::u16string searchText() const = 0;
    virtual ResultView& resultView() = 0;

    // The Enter key as window shortcut kSearchShortcutId; binding twice keeps one binding,
    // unbinding when not bound does nothing.
    virtual void bindEnterShortcut() = 0;
    virtual void unbindEnterShortcut() = 0;

    // The link column of the selected row, if a row is selected.
    virtual std::optional<std::u16string> selectedLink() const = 0;

    // A modal message box titled "错误" with this text, an OK button and no icon.
    virtual void showError(std::u16string_view message) = 0;
};

}  // namespace quillscan

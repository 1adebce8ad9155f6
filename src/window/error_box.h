// The program's error message box.
#pragma once

#include <string_view>

class QWidget;

namespace quillscan {

inline constexpr std::u16string_view kErrorTitle = u"错误";

// Shows a modal box titled "错误" with `message`, an OK button and no icon, and returns when it
// is closed. `owner` is the program's window in front, or null when there is none.
void showErrorBox(QWidget* owner, std::u16string_view message);

}  // namespace quillscan

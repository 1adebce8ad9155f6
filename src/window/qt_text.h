// The program's UTF-16 strings as QString.
#pragma once

#include <QString>
#include <QStringView>
#include <string_view>

namespace quillscan {

inline QString toQString(std::u16string_view text) {
    return QStringView(text).toString();
}

}  // namespace quillscan

// Readable test failure messages for the core's values.
#pragma once

#include <ostream>

#include "index/types.h"
#include "index/utf8.h"

namespace quillscan {

inline void PrintTo(const ThreadEntry& entry, std::ostream* out) {
    *out << "{\"" << utf16ToUtf8(entry.title) << "\", \"" << utf16ToUtf8(entry.link) << "\"}";
}

inline void PrintTo(const StatusLine& status, std::ostream* out) {
    *out << "{\"" << utf16ToUtf8(status.text) << "\", (" << int{status.color.red} << ", "
         << int{status.color.green} << ", " << int{status.color.blue} << ")}";
}

}  // namespace quillscan

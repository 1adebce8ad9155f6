// Readable test failure messages for the core's values.
#pragma once

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

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

namespace testing {

// Code units in hex ("0061 FFFD"), so that failures show exactly which units differ.
inline std::string units(std::u16string_view text) {
    std::string out;
    for (const char16_t unit : text) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%s%04X", out.empty() ? "" : " ",
                      static_cast<unsigned>(unit));
        out += buffer;
    }
    return out;
}

// Bytes in hex ("61 C3 A9").
inline std::string hexBytes(std::string_view bytes) {
    std::string out;
    for (const char byte : bytes) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%s%02X", out.empty() ? "" : " ",
                      static_cast<unsigned>(static_cast<unsigned char>(byte)));
        out += buffer;
    }
    return out;
}

}  // namespace testing

}  // namespace quillscan

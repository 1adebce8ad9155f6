#include "cli/json.h"

namespace quillscan {

namespace {

void appendControlEscape(std::string& out, unsigned char byte) {
    constexpr char kHexDigits[] = "0123456789abcdef";
    out += "\\u00";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

}  // namespace

void appendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    appendControlEscape(out, static_cast<unsigned char>(c));
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

}  // namespace quillscan

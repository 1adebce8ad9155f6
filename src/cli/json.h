// JSON string literals for the machine-readable output.
#pragma once

#include <string>
#include <string_view>

namespace quillscan {

// Appends `utf8` as a JSON string literal, quotes included. Quotes, backslashes and control
// characters are escaped; every other byte, non-ASCII included, is copied as it is, so
// well-formed UTF-8 in gives well-formed JSON out.
void appendJsonString(std::string& out, std::string_view utf8);

}  // namespace quillscan

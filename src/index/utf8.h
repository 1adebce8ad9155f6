// UTF-8 <-> UTF-16 conversion with well-defined results for ill-formed input.
#pragma once

#include <string>
#include <string_view>

namespace quillscan {

// Appends the UTF-16 form of `bytes`. Well-formed text converts exactly; each maximal
// ill-formed subpart (Unicode's recommended practice) becomes one U+FFFD.
void appendUtf8AsUtf16(std::string_view bytes, std::u16string& out);

// The same for text known to be well-formed UTF-8 (anything else gives unspecified units).
void appendWellFormedUtf8AsUtf16(std::string_view bytes, std::u16string& out);

std::u16string utf8ToUtf16(std::string_view bytes);

// True when every byte of `bytes` is below 0x80.
bool isAscii(std::string_view bytes);

// True when `bytes` is well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
bool isWellFormedUtf8(std::string_view bytes);

// UTF-8 form of `text`; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

inline bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

inline bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

inline bool isSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

}  // namespace quillscan

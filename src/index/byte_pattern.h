// Finds a byte string in which ASCII letters match either case and every other byte only itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillscan {

class BytePattern {
public:
    // `pattern` must not be empty; its ASCII letters must be lower case.
    explicit BytePattern(std::string pattern);

    // Offset of the first occurrence at or after `from`, or npos.
    std::size_t findIn(std::string_view text, std::size_t from = 0) const;

    std::size_t size() const { return pattern_.size(); }

private:
    bool matchesAt(const char* text) const;
    std::size_t findPlainly(std::string_view text, std::size_t start) const;
    std::size_t findInAvx2(std::string_view text, std::size_t start) const;

    std::string pattern_;
    // Two bytes of the pattern, chosen to be rare in index text, are tested at every position
    // at once; only positions where both fit are compared in full.
    std::size_t firstProbe_ = 0;
    std::size_t secondProbe_ = 0;
};

}  // namespace quillscan

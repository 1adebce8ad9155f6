// Decides whether a title contains the query, ignoring case unit by unit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "index/byte_pattern.h"
#include "index/thread_index_reader.h"

namespace quillscan {

// The match rule: some position in the title starts a run of UTF-16 units equal to the query,
// both sides mapped unit by unit through toLowerUnit.
//
// Most queries are matched on the raw bytes of well-formed lines: an ASCII letter matches
// either case of itself; every other character of the query must be one that only itself
// lowers to, so it matches only itself. Two characters outside ASCII lower into it, the Kelvin
// sign (to k) and capital I with dot above (to i): a title holding one of them, when the query
// holds k or i, is decided in UTF-16. So is every title with a query that cannot take the byte
// road, and every line that is not well-formed.
class TitleMatcher {
public:
    // `query` must not be empty.
    explicit TitleMatcher(std::u16string_view query);

    bool matches(RawLine title) const;

    // Whole runs of lines may be searched at once, by findIn, when the query takes the byte
    // road and the run holds none of the characters that need UTF-16.
    bool scansBlocks() const { return bytePattern_ && patternFitsRuns_; }
    bool canScanBlock(std::string_view lines) const;
    std::size_t findIn(std::string_view lines, std::size_t from) const {
        return bytePattern_->findIn(lines, from);
    }

private:
    bool holdsForeignPreimage(std::string_view bytes) const;

    std::u16string loweredQuery_;
    std::optional<BytePattern> bytePattern_;  // UTF-8 of the lowered query, on the byte road
    bool patternFitsRuns_ = false;
    // UTF-8 of the characters outside ASCII that lower into an ASCII unit of the query.
    std::vector<std::string> foreignPreimages_;
};

}  // namespace quillscan

#include "index/title_matcher.h"

#include <algorithm>
#include <array>
#include <vector>

#include "index/line_scan.h"
#include "index/lower_case.h"
#include "index/utf8.h"

namespace quillscan {

namespace {

// What the lower-case table says about who lowers into what, gathered once.
struct LoweringFacts {
    // Units that some other unit lowers to.
    std::vector<bool> hasOtherPreimage = std::vector<bool>(0x10000);
    // UTF-8 of the non-ASCII units that lower into ASCII, by the ASCII unit they lower to.
    std::array<std::vector<std::string>, 0x80> nonAsciiPreimages;

    LoweringFacts() {
        for (char32_t unit = 0; unit < 0x10000; ++unit) {
            const char16_t original = static_cast<char16_t>(unit);
            const char16_t lowered = toLowerUnit(original);
            if (lowered == original) continue;
            hasOtherPreimage[lowered] = true;
            if (lowered < 0x80 && original >= 0x80)
                nonAsciiPreimages[lowered].push_back(utf16ToUtf8(std::u16string(1, original)));
        }
    }
};

const LoweringFacts& loweringFacts() {
    static const LoweringFacts facts;
    return facts;
}

// True when every unit of the lowered query matches only itself in a title, ASCII letters
// aside (they match both cases, which the byte comparison handles), and the query's surrogates
// form pairs, so that a byte search on UTF-8 decides the match exactly.
bool canMatchBytes(std::u16string_view loweredQuery) {
    const LoweringFacts& facts = loweringFacts();
    for (std::size_t i = 0; i < loweredQuery.size(); ++i) {
        const char16_t unit = loweredQuery[i];
        if (isHighSurrogate(unit) && i + 1 < loweredQuery.size() &&
            isLowSurrogate(loweredQuery[i + 1])) {
            ++i;
            continue;
        }
        if (isSurrogate(unit)) return false;
        if (unit >= 0x80 && facts.hasOtherPreimage[unit]) return false;
    }
    return true;
}

// The match rule on decoded text.
bool containsIgnoringCase(std::u16string title, std::u16string_view loweredQuery) {
    if (title.empty() || loweredQuery.size() > title.size()) return false;
    for (char16_t& unit : title) unit = toLowerUnit(unit);  // in place: a title may be huge
    return title.find(loweredQuery) != std::u16string::npos;
}

}  // namespace

TitleMatcher::TitleMatcher(std::u16string_view query) {
    loweredQuery_.reserve(query.size());
    for (char16_t unit : query) loweredQuery_ += toLowerUnit(unit);

    if (!canMatchBytes(loweredQuery_)) return;
    std::string pattern = utf16ToUtf8(loweredQuery_);
    // A pattern with a line terminator could match across the lines of a run; one with '?' or
    // U+FFFD could match characters that stand for other bytes in a line that is not
    // well-formed.
    patternFitsRuns_ = findLineTerminator(pattern) == pattern.size() &&
                       loweredQuery_.find_first_of(u"?\uFFFD") == std::u16string::npos;
    bytePattern_.emplace(std::move(pattern));
    const LoweringFacts& facts = loweringFacts();
    for (char16_t unit : loweredQuery_) {
        if (unit >= 0x80) continue;
        for (const std::string& preimage : facts.nonAsciiPreimages[unit])
            if (std::find(foreignPreimages_.begin(), foreignPreimages_.end(), preimage) ==
                foreignPreimages_.end())
                foreignPreimages_.push_back(preimage);
    }
}

bool TitleMatcher::matches(RawLine title) const {
    if (title.bytes.empty()) return false;
    if (bytePattern_ && title.wellFormed && !holdsForeignPreimage(title.bytes))
        return bytePattern_->findIn(title.bytes) != std::string_view::npos;
    return containsIgnoringCase(decodeLine(title), loweredQuery_);
}

bool TitleMatcher::canScanBlock(std::string_view lines) const {
    return scansBlocks() && !holdsForeignPreimage(lines);
}

bool TitleMatcher::holdsForeignPreimage(std::string_view bytes) const {
    for (const std::string& preimage : foreignPreimages_)
        if (bytes.find(preimage) != std::string_view::npos) return true;
    return false;
}

}  // namespace quillscan

#include "index/title_search.h"

#include <optional>
#include <utility>

#include "index/line_scan.h"
#include "index/thread_index_reader.h"
#include "index/title_matcher.h"

namespace quillscan {

namespace {

std::u16string_view trimSpaces(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

// Takes the index's lines in file order, one at a time or in well-formed runs, pairs them into
// title and link, and appends each entry whose title matches.
class SearchPass {
public:
    SearchPass(const TitleMatcher& matcher, ResultView& view) : matcher_(matcher), view_(view) {}

    void takeLine(RawLine line) {
        if (nextIsTitle_) {
            nextIsTitle_ = false;
            if (matcher_.matches(line)) matchedTitle_ = decodeLine(line);
            return;
        }
        nextIsTitle_ = true;
        if (matchedTitle_) appendMatch(decodeLine(line));
    }

    // Only the lines that hold an occurrence of the query's bytes are looked at one by one; the
    // others are only counted, to keep titles and links apart. A line without the bytes cannot
    // match: its characters are its bytes, but for stray bytes read as '?', and the query holds
    // no '?' on this road (TitleMatcher::scansBlocks).
    void takeBlock(const ThreadIndexReader::LineRun& run) {
        const std::string_view lines = run.bytes;
        std::size_t position = 0;
        std::size_t linesBefore = 0;  // lines that end before `position`
        if (!nextIsTitle_) {
            position = takeLineAt(lines, position);
            ++linesBefore;
        }
        while (position < lines.size()) {  // `position` starts a title line
            const std::size_t hit = matcher_.findIn(lines, position);
            if (hit == std::string_view::npos) {
                nextIsTitle_ = (run.lineEnds - linesBefore) % 2 == 0;
                return;
            }
            std::size_t lineStart = hit;
            while (lineStart > position && !isLineTerminator(lines[lineStart - 1])) --lineStart;
            const std::size_t skipped = countLineEnds(lines.substr(position, lineStart - position));
            linesBefore += skipped;
            if (skipped % 2 == 1) {  // the hit is in a link
                position = nextLineStart(lines, lineStart);
                ++linesBefore;
                continue;
            }
            position = takeLineAt(lines, lineStart);
            ++linesBefore;
            if (position < lines.size()) {
                position = takeLineAt(lines, position);
                ++linesBefore;
            }
        }
    }

    void finish() {
        if (matchedTitle_) appendMatch(u"");  // the file ended after a title
    }

private:
    std::size_t takeLineAt(std::string_view lines, std::size_t start) {
        const std::size_t end = findLineTerminator(lines, start);
        takeLine(lineRunLine(lines.substr(start, end - start), lineScratch_));
        return lineStartAfter(lines, end);
    }

    void appendMatch(std::u16string link) {
        view_.appendRow({std::move(*matchedTitle_), std::move(link)});
        matchedTitle_.reset();
    }

    const TitleMatcher& matcher_;
    ResultView& view_;
    bool nextIsTitle_ = true;
    std::optional<std::u16string> matchedTitle_;  // waiting for its link
    std::string lineScratch_;
};

}  // namespace

std::u16string countLine(std::size_t count) {
    std::u16string line(kCountPrefix);
    for (char digit : std::to_string(count)) line += static_cast<char16_t>(digit);
    line += kCountSuffix;
    return line;
}

TitleSearch::TitleSearch(std::filesystem::path indexPath, std::size_t bufferSize)
    : indexPath_(std::move(indexPath)), bufferSize_(bufferSize) {}

void TitleSearch::runSearch(std::u16string_view typedText, ResultView& view) const {
    const std::u16string_view query = trimSpaces(typedText);
    if (query.empty()) {
        view.showStatus({std::u16string(kEmptyQueryMessage), kErrorColor});
        return;
    }
    view.showStatus({u"", kDoneColor});
    view.setSearchEnabled(false);
    view.clearRows();

    const TitleMatcher matcher(query);
    const bool scanBlocks = matcher.scansBlocks();
    SearchPass pass(matcher, view);
    ThreadIndexReader reader(bufferSize_);
    reader.open(indexPath_);
    while (!reader.atEnd()) {
        if (const auto run = scanBlocks ? reader.peekBlock() : ThreadIndexReader::LineRun();
            !run.bytes.empty()) {
            if (matcher.canScanBlock(run.bytes)) {
                pass.takeBlock(run);
                reader.skipBlock();
                continue;
            }
            reader.readLinesOfBlock();
        }
        pass.takeLine(reader.readLine());
    }
    pass.finish();
    reader.close();

    view.setSearchEnabled(true);
    view.showStatus({countLine(view.rowCount()), kDoneColor});
}

}  // namespace quillscan

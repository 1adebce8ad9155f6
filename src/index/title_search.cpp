#include "index/title_search.h"

#include <utility>

#include "index/thread_index_reader.h"
#include "index/title_matcher.h"

namespace quillscan {

namespace {

std::u16string_view trimSpaces(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

}  // namespace

std::u16string countLine(std::size_t count) {
    std::u16string line(kCountPrefix);
    for (char digit : std::to_string(count)) line += static_cast<char16_t>(digit);
    line += kCountSuffix;
    return line;
}

TitleSearch::TitleSearch(std::filesystem::path indexPath) : indexPath_(std::move(indexPath)) {}

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
    ThreadIndexReader reader;
    reader.open(indexPath_);
    while (!reader.atEnd()) {
        const RawLine title = reader.readLine();
        if (!matcher.matches(title)) {
            reader.readLine();  // the link of a title that does not match is never decoded
            continue;
        }
        ThreadEntry entry;
        entry.title = decodeLine(title);  // before the link's read reuses the buffer
        entry.link = decodeLine(reader.readLine());
        view.appendRow(entry);
    }
    reader.close();

    view.setSearchEnabled(true);
    view.showStatus({countLine(view.rowCount()), kDoneColor});
}

}  // namespace quillscan

// Feeds arbitrary index files and queries to the reader and the title search and holds both to
// the plain byte-at-a-time reading rules of the test support.
//
// Input layout:
//   byte 0             query length n (cut to what is there)
//   byte 1             small reader buffer: 16 + byte % 64 bytes
//   bytes 2, 3         a third query cut out of a title: byte 2 picks the title (bit 0: swap
//                      the case of ASCII letters), byte 3 the start and the length (1 to 4 units)
//   bytes 4 .. 4+n     the query, searched twice: decoded as UTF-8, and taken as raw
//                      little-endian UTF-16 units (so lone surrogates occur)
//   the rest           the index file
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "index/thread_index_reader.h"
#include "index/title_search.h"
#include "index/utf8.h"
#include "recording_view.h"
#include "reference_reader.h"

namespace quillscan {
namespace {

using testing::readAllEntries;

namespace fs = std::filesystem;

constexpr std::size_t kLargeBufferSize = ThreadIndexReader::kDefaultBufferSize;

// One index file per process, in memory-backed /dev/shm when there is one; removed at exit.
class ScratchIndex {
public:
    ScratchIndex() {
        const fs::path base =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "quillscan-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        folder_ = pattern;
        path_ = folder_ / "threads.db5";
    }
    ~ScratchIndex() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    const fs::path& write(std::string_view bytes) const {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
            std::fclose(file) != 0) {
            std::abort();
        }
        return path_;
    }

private:
    fs::path folder_;
    fs::path path_;
};

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "search_fuzzer: %s differs from the reference\n", what);
    std::abort();
}

std::u16string rawUtf16(std::string_view bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    return units;
}

// A query that matches at least the title it comes from: whatever characters the fuzzer puts
// into titles, some query holds them too, in either case for ASCII letters. Cutting it out by
// UTF-16 units also splits surrogate pairs.
std::u16string queryFromTitle(const std::vector<ThreadEntry>& entries, std::uint8_t pick,
                              std::uint8_t cut) {
    if (entries.empty()) return {};
    const std::u16string& title = entries[(pick >> 1) % entries.size()].title;
    if (title.empty()) return {};
    std::u16string query = title.substr(cut % title.size(), 1 + cut / 64);
    if (pick & 1) {
        for (char16_t& unit : query) {
            if ((unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z')) unit ^= 0x20;
        }
    }
    return query;
}

bool emptyAfterTrimming(std::u16string_view query) {
    return query.find_first_not_of(u' ') == std::u16string_view::npos;
}

void checkSearch(const fs::path& index, std::string_view fileBytes, std::u16string_view query,
                 std::size_t smallBufferSize) {
    const std::vector<ThreadEntry> expected = emptyAfterTrimming(query)
                                                  ? std::vector<ThreadEntry>()
                                                  : testing::referenceMatches(fileBytes, query);
    const std::string expectedLastCall =
        emptyAfterTrimming(query)
            ? R"(showStatus(255,0,0, ")" + utf16ToUtf8(kEmptyQueryMessage) + R"("))"
            : R"(showStatus(0,128,0, ")" + utf16ToUtf8(countLine(expected.size())) + R"("))";
    for (std::size_t bufferSize : {smallBufferSize, TitleSearch::kDefaultBufferSize}) {
        testing::RecordingView view;
        TitleSearch(index, bufferSize).runSearch(query, view);
        require(view.rows == expected, "search rows");
        require(view.calls.back() == expectedLastCall, "search status");
    }
}

}  // namespace
}  // namespace quillscan

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillscan;
    static const ScratchIndex scratch;
    constexpr std::size_t kHeaderSize = 4;
    if (size < kHeaderSize) return -1;  // not worth keeping in the corpus

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t queryLength = std::min<std::size_t>(data[0], size - kHeaderSize);
    const std::size_t smallBufferSize = 16 + data[1] % 64;
    const std::string_view queryBytes = input.substr(kHeaderSize, queryLength);
    const std::string_view fileBytes = input.substr(kHeaderSize + queryLength);

    const fs::path& index = scratch.write(fileBytes);
    const std::vector<ThreadEntry> entries = testing::referenceEntries(fileBytes);
    for (std::size_t bufferSize : {smallBufferSize, kLargeBufferSize}) {
        require(readAllEntries(index, bufferSize) == entries, "reader entries");
    }
    checkSearch(index, fileBytes, utf8ToUtf16(queryBytes), smallBufferSize);
    checkSearch(index, fileBytes, rawUtf16(queryBytes), smallBufferSize);
    checkSearch(index, fileBytes, queryFromTitle(entries, data[2], data[3]), smallBufferSize);
    return 0;
}

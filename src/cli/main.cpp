// quillscan-search: the title search for terminals and scripts.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/printing_view.h"
#include "cli/system_text.h"
#include "index/title_search.h"
#include "index/utf8.h"

namespace {

using quillscan::OutputFormat;

constexpr int kExitOk = 0;
constexpr int kExitNoIndex = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kDefaultIndexName = "threads.db5";
constexpr std::string_view kNoIndexMessage = "当前文件夹里没有数据文件 ";

constexpr std::string_view kUsage =
    "用法: quillscan-search [--index 文件] [--json] [--count] [--] 查询\n";
constexpr std::string_view kHelpDetails =
    "在索引文件的标题中查找查询内容 (不区分大小写), 每个结果输出一行 \"标题<TAB>链接\",\n"
    "最后一行是状态。\n"
    "  --index 文件  使用这个索引文件 (默认: 当前文件夹里的 threads.db5)\n"
    "  --json        每行输出一个 JSON 对象\n"
    "  --count       只输出状态行\n"
    "  --            其后的参数是查询, 即使以 - 开头\n"
    "  --help        显示本帮助\n";

struct Options {
    std::string indexName{kDefaultIndexName};
    OutputFormat format = OutputFormat::kText;
    bool printRows = true;
    std::string query;
};

enum class Request { kSearch, kHelp, kUsageError };

Request parseArguments(std::span<const std::string> args, Options& options) {
    std::optional<std::string_view> query;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            if (query) return Request::kUsageError;
            query = arg;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            return Request::kHelp;
        } else if (arg == "--json") {
            options.format = OutputFormat::kJson;
        } else if (arg == "--count") {
            options.printRows = false;
        } else if (arg == "--index" && i + 1 < args.size()) {
            options.indexName = args[++i];
        } else {
            return Request::kUsageError;
        }
    }
    if (!query) return Request::kUsageError;
    options.query = *query;
    return Request::kSearch;
}

void print(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

// Any kind of entry counts, as for the window; opening a missing index would create it.
bool indexPresent(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

int main(int argc, char* argv[]) {
    const quillscan::Utf8Output utf8Output;
    const std::vector<std::string> args = quillscan::utf8Arguments(argc, argv);

    Options options;
    switch (parseArguments(args, options)) {
        case Request::kHelp:
            print(stdout, kUsage);
            print(stdout, kHelpDetails);
            return kExitOk;
        case Request::kUsageError:
            print(stderr, kUsage);
            return kExitUsage;
        case Request::kSearch:
            break;
    }

    const std::filesystem::path indexPath = quillscan::utf8Path(options.indexName);
    if (!indexPresent(indexPath)) {
        print(stderr, std::string(kNoIndexMessage) + options.indexName + "\n");
        return kExitNoIndex;
    }

    quillscan::PrintingView view(stdout, options.format, options.printRows);
    quillscan::TitleSearch(indexPath).runSearch(quillscan::utf8ToUtf16(options.query), view);
    view.finish();
    return kExitOk;
}

// Runs the built quillscan-search on small index files in a temporary folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUsagePrefix = "用法: quillscan-search";
constexpr std::string_view kMissingIndex = "当前文件夹里没有数据文件 ";
constexpr unsigned kRunTimeLimitSeconds = 60;

// Matches for "hello": three rows (case ignored, the last one without a link line); the link
// that holds "hello" and the empty title never match.
constexpr std::string_view kIndex =
    "Hello World\nhttp://a.example/1\n"
    "nothing here\nhttp://hello.example/\n"
    "say HELLO again\nhttp://a.example/2\n"
    "中文标题\nhttps://a.example/中文\n"
    "a -dash title\nhttp://a.example/dash\n"
    "\nhttp://a.example/empty-title\n"
    "last hello\n";

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, std::string_view content) {
    std::ofstream(path, std::ios::binary)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
}

class SearchCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillscan-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        work_ = root_ / "work";
        fs::create_directory(work_);
    }

    void TearDown() override { fs::remove_all(root_); }

    void writeIndex(std::string_view content, std::string_view name = "threads.db5") {
        writeFile(work_ / name, content);
    }

    // Runs the program in the work folder; its output goes to files beside that folder.
    Outcome run(std::vector<std::string> args) {
        args.insert(args.begin(), QUILLSCAN_SEARCH_BINARY);
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);

        const fs::path outPath = root_ / "stdout";
        const fs::path errPath = root_ / "stderr";
        const int outFd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const std::string workDir = work_.string();

        const pid_t pid = fork();
        if (pid == 0) {
            alarm(kRunTimeLimitSeconds);  // a hanging program is killed and the test fails
            if (chdir(workDir.c_str()) == 0 && dup2(outFd, STDOUT_FILENO) >= 0 &&
                dup2(errFd, STDERR_FILENO) >= 0) {
                execv(argv[0], argv.data());
            }
            _exit(127);
        }
        close(outFd);
        close(errFd);

        Outcome outcome;
        int status = 0;
        if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
            outcome.exitCode = WEXITSTATUS(status);
        }
        outcome.out = readFile(outPath);
        outcome.err = readFile(errPath);
        return outcome;
    }

    fs::path root_;
    fs::path work_;
};

TEST_F(SearchCommandTest, PrintsRowsThenStatus) {
    writeIndex(kIndex);
    struct Case {
        std::vector<std::string> args;
        std::string expectedOut;
    };
    const Case cases[] = {
        {{"hello"},
         "Hello World\thttp://a.example/1\n"
         "say HELLO again\thttp://a.example/2\n"
         "last hello\t\n"
         "共搜索到: 3 个结果。\n"},
        {{"  中文 "}, "中文标题\thttps://a.example/中文\n共搜索到: 1 个结果。\n"},
        {{"absent"}, "共搜索到: 0 个结果。\n"},
        {{"   "}, "请输入搜索内容\n"},
        {{""}, "请输入搜索内容\n"},
        {{"--", "-dash"}, "a -dash title\thttp://a.example/dash\n共搜索到: 1 个结果。\n"},
        {{"--", "--help"}, "共搜索到: 0 个结果。\n"},
        {{"--count", "hello"}, "共搜索到: 3 个结果。\n"},
        {{"--json", "--count", "hello"},
         R"({"status": "共搜索到: 3 个结果。", "color": [0, 128, 0]})"
         "\n"},
        {{"--json", " "},
         R"({"status": "请输入搜索内容", "color": [255, 0, 0]})"
         "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome outcome = run(c.args);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.out, c.expectedOut);
        EXPECT_EQ(outcome.err, "");
    }
}

TEST_F(SearchCommandTest, JsonEscapesTitlesAndLinks) {
    writeIndex(
        "say \"hi\" \\ back\ttab\x01"
        "ctl 中文\nhttp://x.example/?a=1&b=\"2\"\n");
    const Outcome outcome = run({"--json", "SAY"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(
        outcome.out,
        R"json({"title": "say \"hi\" \\ back\ttab\u0001ctl 中文", "link": "http://x.example/?a=1&b=\"2\""})json"
        "\n"
        R"json({"status": "共搜索到: 1 个结果。", "color": [0, 128, 0]})json"
        "\n");
}

TEST_F(SearchCommandTest, PrintsEveryRowOfALargeResult) {
    constexpr int kRows = 20000;
    std::string index;
    for (int i = 0; i < kRows; ++i) {
        index += "match " + std::to_string(i) + "\nhttp://l.example/" + std::to_string(i) + "\n";
    }
    writeIndex(index);

    const Outcome text = run({"match"});
    EXPECT_EQ(text.exitCode, 0);
    std::string expected;
    for (int i = 0; i < kRows; ++i) {
        expected += "match " + std::to_string(i) + "\thttp://l.example/" + std::to_string(i) + "\n";
    }
    expected += "共搜索到: 20000 个结果。\n";
    EXPECT_EQ(text.out, expected);

    EXPECT_EQ(run({"--count", "match"}).out, "共搜索到: 20000 个结果。\n");
}

TEST_F(SearchCommandTest, ReportsAMissingIndexWithoutCreatingIt) {
    writeIndex(kIndex, "other.db5");
    fs::create_symlink(work_ / "gone.db5", work_ / "dangling.db5");
    struct Case {
        std::vector<std::string> args;
        std::string named;
    };
    const Case cases[] = {
        {{"hello"}, "threads.db5"},
        {{"--count", ""}, "threads.db5"},
        {{"--index", "missing.db5", "hello"}, "missing.db5"},
        {{"--index", "dangling.db5", "hello"}, "dangling.db5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome outcome = run(c.args);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, std::string(kMissingIndex) + c.named + "\n");
    }
    EXPECT_FALSE(fs::exists(work_ / "threads.db5"));
    EXPECT_FALSE(fs::exists(work_ / "missing.db5"));
    EXPECT_FALSE(fs::exists(work_ / "gone.db5"));
}

TEST_F(SearchCommandTest, SearchesTheIndexNamedByOption) {
    writeIndex(kIndex);
    writeIndex("Other hello\nhttp://o.example/\n", "other.db5");
    const Outcome outcome = run({"--index", "other.db5", "hello"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "Other hello\thttp://o.example/\n共搜索到: 1 个结果。\n");
}

TEST_F(SearchCommandTest, AFolderNamedLikeTheIndexCountsAsPresent) {
    fs::create_directory(work_ / "threads.db5");
    const Outcome outcome = run({"hello"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "共搜索到: 0 个结果。\n");
    EXPECT_TRUE(fs::is_directory(work_ / "threads.db5"));
}

TEST_F(SearchCommandTest, AFifoOrADeviceAsIndexReadsAsEmpty) {
    const fs::path index = work_ / "threads.db5";
    const struct {
        const char* kind;
        std::function<void()> make;
        std::function<bool()> stillThere;
    } cases[] = {
        {"fifo", [&] { ASSERT_EQ(mkfifo(index.c_str(), 0644), 0); },
         [&] { return fs::is_fifo(index); }},
        {"link to /dev/zero", [&] { fs::create_symlink("/dev/zero", index); },
         [&] { return fs::is_symlink(index) && fs::read_symlink(index) == "/dev/zero"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        c.make();
        const Outcome outcome = run({"hello"});
        EXPECT_EQ(outcome.exitCode, 0);  // and no hang: -1 when killed
        EXPECT_EQ(outcome.out, "共搜索到: 0 个结果。\n");
        EXPECT_EQ(outcome.err, "");
        EXPECT_TRUE(c.stillThere());
        fs::remove(index);
    }
}

TEST_F(SearchCommandTest, RejectsBadArgumentsWithUsage) {
    writeIndex(kIndex);
    const std::vector<std::string> cases[] = {
        {},
        {"--json"},
        {"--bogus", "hello"},
        {"-x", "hello"},
        {"hello", "world"},
        {"--", "hello", "world"},
        {"hello", "--index"},
    };
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const Outcome outcome = run(args);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_TRUE(outcome.err.starts_with(kUsagePrefix)) << outcome.err;
    }
}

TEST_F(SearchCommandTest, HelpGoesToStdout) {
    const std::vector<std::string> cases[] = {{"--help"}, {"--json", "--help"}};
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const Outcome outcome = run(args);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_TRUE(outcome.out.starts_with(kUsagePrefix)) << outcome.out;
        EXPECT_NE(outcome.out.find("--index"), std::string::npos);
        EXPECT_EQ(outcome.err, "");
    }
}

}  // namespace

// The link actions on the desktop: programs really started, the default handler seen through
// the launcher seam (no browser opens), and the clipboard of the offscreen platform.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include <unistd.h>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "window/link_actions.h"

namespace fs = std::filesystem;
using quillscan::DesktopLinkActions;
using quillscan::desktopLinkLauncher;
using quillscan::LinkLauncher;

namespace {

// Starts programs for real but only writes down what would go to the default handler, which
// then fails, so a link that no program takes goes nowhere.
class RecordingHandlerLauncher : public LinkLauncher {
public:
    struct Handover {
        std::u16string name;
        std::u16string workingDirectory;
    };
    std::vector<Handover> handovers;

    bool startProcess(std::u16string_view program,
                      const std::vector<std::u16string>& arguments) override {
        return desktopLinkLauncher().startProcess(program, arguments);
    }
    bool openWithDefaultHandler(std::u16string_view name,
                                std::u16string_view workingDirectory) override {
        handovers.push_back({std::u16string(name), std::u16string(workingDirectory)});
        return false;
    }
};

// Writes its arguments, one a line, to marker.txt beside it; the rename makes the file appear
// complete.
const char* const kMarkerScript =
    "#!/bin/sh\n"
    "dir=$(dirname \"$0\")\n"
    "for argument in \"$@\"; do printf '%s\\n' \"$argument\"; done > \"$dir/marker.tmp\"\n"
    "mv \"$dir/marker.tmp\" \"$dir/marker.txt\"\n";

QString qtPath(const fs::path& path) {
    return QString::fromStdString(path.string());
}

std::u16string toU16(const QString& text) {
    return text.toStdU16String();
}

// Processes whose parent is this one, running or waiting to be reaped, from /proc.
int childProcessCount() {
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = quillscan::testing::readFile(entry.path() / "stat");
        const std::size_t nameEnd = stat.rfind(')');  // the name in parentheses may hold anything
        if (nameEnd == std::string::npos) continue;
        std::istringstream fields(stat.substr(nameEnd + 1));
        char state = 0;
        pid_t parent = 0;
        fields >> state >> parent;
        if (parent == ::getpid()) ++count;
    }
    return count;
}

}  // namespace

class LinkActionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void openLinkStartsTheNamedProgram_data();
    void openLinkStartsTheNamedProgram();
    void openLinkHandsWhatNoProgramTakesToTheDefaultHandler_data();
    void openLinkHandsWhatNoProgramTakesToTheDefaultHandler();
    void copyLinkReplacesTheClipboardText_data();
    void copyLinkReplacesTheClipboardText();

private:
    // The script sits in a folder with a space, so its path needs the quotes of the link.
    QString script() const { return qtPath(dir_->path() / "my scripts" / "marker.sh"); }
    QString marker() const { return qtPath(dir_->path() / "my scripts" / "marker.txt"); }
    QString pwned() const { return qtPath(dir_->path() / "pwned"); }

    std::unique_ptr<quillscan::testing::TempDir> dir_;
};

void LinkActionsTest::initTestCase() {
    dir_ = std::make_unique<quillscan::testing::TempDir>();
    fs::create_directory(dir_->path() / "my scripts");
    const fs::path script = dir_->write("my scripts/marker.sh", kMarkerScript);
    fs::permissions(script, fs::perms::owner_all);
    dir_->write("not-a-program.txt", "plain text\n");
    // A program named without a folder is looked up on the PATH.
    const QByteArray scripts = QFile::encodeName(qtPath(dir_->path() / "my scripts"));
    qputenv("PATH", scripts + ':' + qgetenv("PATH"));
}

void LinkActionsTest::cleanup() {
    QFile::remove(marker());
    QFile::remove(pwned());
}

void LinkActionsTest::openLinkStartsTheNamedProgram_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QStringList>("arguments");

    const QString quoted = '"' + script() + '"';
    QTest::newRow("quoted path with arguments")
        << quoted + " \"arg with space\" plain" << QStringList{"arg with space", "plain"};
    QTest::newRow("bare path, wrapped in quotes") << script() << QStringList{};
    QTest::newRow("program found on the PATH") << "\"marker.sh\" found" << QStringList{"found"};
    QTest::newRow("non-ASCII argument") << quoted + " 链接" << QStringList{"链接"};
    QTest::newRow("semicolon") << quoted + " ; touch " + pwned()
                               << QStringList{";", "touch", pwned()};
    QTest::newRow("command substitution")
        << quoted + " $(touch " + pwned() + ")" << QStringList{"$(touch", pwned() + ")"};
    QTest::newRow("backticks") << quoted + " `touch " + pwned() + "`"
                               << QStringList{"`touch", pwned() + "`"};
    QTest::newRow("pipe") << quoted + " | touch " + pwned() << QStringList{"|", "touch", pwned()};
    QTest::newRow("redirection and and-list") << quoted + " > " + pwned() + " && touch " + pwned()
                                              << QStringList{">", pwned(), "&&", "touch", pwned()};
}

// What a shell would make of the link would leave other arguments in the marker, or a pwned file.
void LinkActionsTest::openLinkStartsTheNamedProgram() {
    QFETCH(QString, link);
    QFETCH(QStringList, arguments);
    RecordingHandlerLauncher launcher;

    DesktopLinkActions(launcher).openLink(toU16(link));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker()), 10000);
    QFile file(marker());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts), arguments);
    QVERIFY(!QFile::exists(pwned()));
    QVERIFY(launcher.handovers.empty());
    QCOMPARE(childProcessCount(), 0);  // the program was never ours to wait for
}

void LinkActionsTest::openLinkHandsWhatNoProgramTakesToTheDefaultHandler_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("workingDirectory");

    QTest::newRow("web address") << "https://example.com/thread-1"
                                 << "";
    QTest::newRow("missing program") << "/nonexistent-quillscan/run"
                                     << "";
    QTest::newRow("missing quoted program with arguments")
        << "\"/nonexistent-quillscan/run\" \"a b\" c"
        << "";
    QTest::newRow("file that is not a program") << qtPath(dir_->path() / "not-a-program.txt") << "";
    QTest::newRow("Windows path") << "C:\\threads\\a b.txt"
                                  << "C:\\threads\\";
    QTest::newRow("unquoted path with a command after it") << script() + "; touch " + pwned() << "";
    QTest::newRow("empty link") << ""
                                << "";
}

void LinkActionsTest::openLinkHandsWhatNoProgramTakesToTheDefaultHandler() {
    QFETCH(QString, link);
    QFETCH(QString, workingDirectory);
    RecordingHandlerLauncher launcher;

    DesktopLinkActions(launcher).openLink(toU16(link));

    QCOMPARE(launcher.handovers.size(), 1u);
    QCOMPARE(QString::fromStdU16String(launcher.handovers[0].name), link);
    QCOMPARE(QString::fromStdU16String(launcher.handovers[0].workingDirectory), workingDirectory);
    // The start failed before returning, so nothing runs that could write these later.
    QVERIFY(!QFile::exists(marker()));
    QVERIFY(!QFile::exists(pwned()));
}

void LinkActionsTest::copyLinkReplacesTheClipboardText_data() {
    QTest::addColumn<QString>("link");

    QTest::newRow("web address") << "https://bbs.example.com/thread-1";
    QTest::newRow("non-ASCII") << "https://例子.example/帖子?标题=入门 教程";
    QTest::newRow("empty") << "";
}

void LinkActionsTest::copyLinkReplacesTheClipboardText() {
    QFETCH(QString, link);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("old content");

    DesktopLinkActions().copyLink(toU16(link));

    QCOMPARE(clipboard->text(), link);
    QVERIFY(!clipboard->mimeData()->hasHtml());
}

QTEST_MAIN(LinkActionsTest)
#include "test_link_actions.moc"

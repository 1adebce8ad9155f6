// The whole program as main() builds it, next to a small index, with the links it opens
// written down instead of started; and the answering of the message boxes it shows.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "window/link_launcher.h"
#include "window/list_font.h"
#include "window/search_program.h"
#include "window_fixture.h"

namespace quillscan::test {

// "qt" matches three threads: thread-1, thread-3 and one with an empty link, in this order.
inline constexpr char kIndex[] =
    "Qt 教程 入门\nhttps://bbs.example.com/thread-1\n"
    "其他帖子\nhttps://bbs.example.com/thread-2\n"
    "QT 进阶\nhttps://bbs.example.com/thread-3\n"
    "qt 没有链接\n\n";
inline const QString kQuery = QStringLiteral("qt");
inline const QString kCountLine = QStringLiteral("共搜索到: 3 个结果。");
inline const std::vector<QString> kFoundLinks{QStringLiteral("https://bbs.example.com/thread-1"),
                                              QStringLiteral("https://bbs.example.com/thread-3"),
                                              QString()};

// Writes down the programs it is asked to start and the names handed to the default handler.
// On its own it starts nothing, so each opened link reaches the default handler, which takes it;
// with `passOnTo` set, both requests go on to that launcher and its answers count.
class RecordingLauncher : public LinkLauncher {
public:
    std::vector<QString> started;
    std::vector<QString> opened;
    LinkLauncher* passOnTo = nullptr;

    bool startProcess(std::u16string_view program,
                      const std::vector<std::u16string>& arguments) override {
        started.push_back(QStringView(program).toString());
        return passOnTo && passOnTo->startProcess(program, arguments);
    }
    bool openWithDefaultHandler(std::u16string_view name,
                                std::u16string_view workingDirectory) override {
        opened.push_back(QStringView(name).toString());
        return !passOnTo || passOnTo->openWithDefaultHandler(name, workingDirectory);
    }
};

inline std::filesystem::path writeIndex(const QTemporaryDir& folder,
                                        std::string_view contents = kIndex) {
    const std::filesystem::path index =
        folder.filePath(QStringLiteral("threads.db5")).toStdString();
    std::ofstream(index, std::ios::binary) << contents;
    return index;
}

class RunningProgram {
public:
    explicit RunningProgram(std::string_view index = kIndex)
        : program_(createListFont(96), writeIndex(folder_, index), launcher, [this] { ++stops; }) {}

    SearchWindow& window() { return program_.window(); }
    Controls controls() { return Controls(program_.window()); }

    // Types the query into the search box and presses Enter there, as a user would.
    void search(const QString& query = kQuery) {
        QLineEdit* box = controls().searchBox;
        box->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(box, query);
        QTest::keyClick(box, Qt::Key_Return);
    }

    RecordingLauncher launcher;
    int stops = 0;

private:
    QTemporaryDir folder_;
    SearchProgram program_;
};

// True when a call queued now runs within one pass of the event loop.
inline bool eventLoopAnswers() {
    bool answered = false;
    QTimer::singleShot(0, [&answered] { answered = true; });
    QCoreApplication::processEvents();
    return answered;
}

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
};

// Runs `action` and answers each modal message box that it opens with OK, from inside the box's
// own event loop; returns what the boxes showed.
inline std::vector<ShownBox> answerMessageBoxes(const std::function<void()>& action) {
    std::vector<ShownBox> shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown.push_back({box->windowTitle(), box->text(), box->standardButtons(), box->icon()});
        box->done(QMessageBox::Ok);
    });
    poll.start(10);
    action();
    return shown;
}

}  // namespace quillscan::test

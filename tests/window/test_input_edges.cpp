// Hostile text at the edges of the running program: queries pasted into the search box (very
// long, control characters, lone surrogates), and links that are very long or name a program
// that does not exist. Each gets its defined result, and the program keeps running.
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "program_fixture.h"

using quillscan::desktopLinkLauncher;
using quillscan::test::answerMessageBoxes;
using quillscan::test::eventLoopAnswers;
using quillscan::test::RunningProgram;
using Links = std::vector<QString>;

namespace {

constexpr int kLongLength = 100000;
constexpr int kLineEditDefaultMaxLength = 32767;

// 100,000 characters that do not begin or end with a space, so that the query is all of them.
QString longQuery() {
    return QStringLiteral("Qt帖子-").repeated(kLongLength / 5);
}

// Tab, U+0001 and U+007F; the spaces around them are trimmed, the rest is the query.
const QString kControlCharacters = QStringLiteral("\t\u0001\u007F");

const QString kEmoji = QStringLiteral("\U0001F600");  // the surrogates D83D DE00
const QChar kHighSurrogate = kEmoji.at(0);
const QChar kLowSurrogate = kEmoji.at(1);

std::string indexOf(const QStringList& titles, const QStringList& links) {
    std::string index;
    for (qsizetype i = 0; i < titles.size(); ++i) {
        index += (titles[i] + '\n' + links.value(i) + '\n').toStdString();
    }
    return index;
}

std::string indexOf(const QStringList& titles) {
    QStringList links;
    for (qsizetype i = 0; i < titles.size(); ++i) {
        links.append(QStringLiteral("https://bbs.example.com/thread-%1").arg(i));
    }
    return indexOf(titles, links);
}

QString countLine(qsizetype rows) {
    return QStringLiteral("共搜索到: %1 个结果。").arg(rows);
}

}  // namespace

class InputEdgesTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void queryPastedIntoSearchBox_data();
    void queryPastedIntoSearchBox();
    void linkAtTheEdges_data();
    void linkAtTheEdges();

private:
    void start(const std::string& index);
    QStringList listedTitles() const;
    void requireStillRunning();

    std::unique_ptr<RunningProgram> program_;
};

void InputEdgesTest::cleanup() {
    program_.reset();
}

void InputEdgesTest::start(const std::string& index) {
    program_ = std::make_unique<RunningProgram>(index);
    QVERIFY(QTest::qWaitForWindowActive(&program_->window()));
}

QStringList InputEdgesTest::listedTitles() const {
    const QAbstractItemModel* rows = program_->controls().resultList->model();
    QStringList titles;
    for (int row = 0; row < rows->rowCount(); ++row) {
        titles.append(rows->index(row, 0).data().toString());
    }
    return titles;
}

void InputEdgesTest::requireStillRunning() {
    QVERIFY(eventLoopAnswers());
    QVERIFY(program_->window().isVisible());
    QCOMPARE(program_->stops, 0);
}

void InputEdgesTest::queryPastedIntoSearchBox_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("found");

    const QString query = longQuery();
    const QString whole = QStringLiteral("开头 ") + query.toUpper() + QStringLiteral(" 结尾");
    const QString cutShort = QStringLiteral("开头 ") + query.left(kLineEditDefaultMaxLength);
    QTest::newRow("100,000 characters are searched whole")
        << query << QStringList{cutShort, whole} << QStringList{whole};

    const QStringList controlTitles{QStringLiteral("a\tb"), QStringLiteral("a\u0001b"),
                                    QStringLiteral("a\u007Fb"), QStringLiteral("a b"),
                                    QStringLiteral("x") + kControlCharacters + QStringLiteral("y")};
    QTest::newRow("tab") << "\t" << controlTitles << QStringList{"a\tb", controlTitles[4]};
    QTest::newRow("U+0001") << "\u0001" << controlTitles
                            << QStringList{"a\u0001b", controlTitles[4]};
    QTest::newRow("U+007F") << "\u007F" << controlTitles
                            << QStringList{"a\u007Fb", controlTitles[4]};
    QTest::newRow("all three, spaces around them")
        << "  " + kControlCharacters + "  " << controlTitles << QStringList{controlTitles[4]};

    const QStringList surrogateTitles{QStringLiteral("表情 ") + kEmoji,
                                      kEmoji + kEmoji + QStringLiteral(" 两个"),
                                      QStringLiteral("没有表情")};
    QTest::newRow("lone high surrogate")
        << QString(kHighSurrogate) << surrogateTitles << surrogateTitles.first(2);
    QTest::newRow("lone low surrogate")
        << QString(kLowSurrogate) << surrogateTitles << surrogateTitles.first(2);
    QTest::newRow("low before high: the end of one pair, the start of the next")
        << QString(kLowSurrogate) + kHighSurrogate << surrogateTitles
        << QStringList{surrogateTitles[1]};
    QTest::newRow("lone surrogate that no title holds")
        << QString(QChar(0xDBFF)) << surrogateTitles << QStringList{};
}

// Pasted, since typed control characters never reach the box.
void InputEdgesTest::queryPastedIntoSearchBox() {
    QFETCH(QString, pasted);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, found);
    start(indexOf(titles));
    QLineEdit* box = program_->controls().searchBox;

    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text().size(), pasted.size());
    QVERIFY(box->text() == pasted);  // a failed QCOMPARE would print 100,000 characters
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();

    QVERIFY(listedTitles() == found);
    QCOMPARE(program_->window().rowCount(), std::size_t(found.size()));
    QCOMPARE(program_->controls().statusText->text(), countLine(found.size()));
    QVERIFY(box->text() == pasted);
    requireStillRunning();
}

void InputEdgesTest::linkAtTheEdges_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("desktop");
    QTest::addColumn<Links>("started");

    const QString longLink =
        QStringLiteral("https://bbs.example.com/").leftJustified(kLongLength, QLatin1Char('a'));
    QTest::newRow("100,000 characters") << longLink << false << Links{longLink};
    QTest::newRow("100,000 characters, desktop launcher") << longLink << true << Links{longLink};
    const QString missing = QStringLiteral("/nonexistent-quillscan/bin/run");
    QTest::newRow("missing program, desktop launcher")
        << '"' + missing + "\" --thread 1" << true << Links{missing};
}

// A click copies the link, a double-click opens it: the program named by its command line is
// tried first, then the link goes as stored to the default handler. With the desktop launcher
// behind the recording one, both fail for real (the offscreen desktop has no default handler),
// and silently.
void InputEdgesTest::linkAtTheEdges() {
    QFETCH(QString, link);
    QFETCH(bool, desktop);
    QFETCH(Links, started);
    start(indexOf({QStringLiteral("edge link")}, {link}));
    if (desktop) program_->launcher.passOnTo = &desktopLinkLauncher();
    program_->search(QStringLiteral("edge"));
    QTableView* list = program_->controls().resultList;
    const QPoint firstRow = list->visualRect(list->model()->index(0, 0)).center();

    QString copied;
    const auto boxes = answerMessageBoxes([&] {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, firstRow);
        copied = QGuiApplication::clipboard()->text();
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, firstRow);
    });

    QVERIFY(boxes.empty());
    QVERIFY(copied == link);  // a failed QCOMPARE would print 100,000 characters
    QVERIFY(program_->launcher.started == started);
    QVERIFY(program_->launcher.opened == Links{link});
    QCOMPARE(program_->controls().statusText->text(), countLine(1));
    requireStillRunning();
}

QTEST_MAIN(InputEdgesTest)
#include "test_input_edges.moc"

// The window as the search's ResultView: status text, search button, rows and their batches.
#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "index/title_search.h"
#include "window/result_model.h"
#include "window_fixture.h"

using quillscan::Rgb;
using quillscan::SearchWindow;
using quillscan::StatusLine;
using quillscan::test::Controls;
using quillscan::test::openSearchWindow;

class ResultViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showStatus_data();
    void showStatus();
    void setSearchEnabled();
    void rowsShowTitleAndLink();
    void rowsReachTheListInBatches();
    void clearRowsEmptiesTheListAndFreesItsText();
    void selectedLink();
    void wholeSearch();

private:
    void appendRows(int count);
    QAbstractItemModel* listModel() const { return Controls(*window_).resultList->model(); }

    std::unique_ptr<SearchWindow> window_;
};

void ResultViewTest::init() {
    window_ = openSearchWindow();
}

void ResultViewTest::cleanup() {
    window_.reset();
}

void ResultViewTest::appendRows(int count) {
    for (int i = 0; i < count; ++i) {
        window_->appendRow({u"title " + std::u16string(1, char16_t(u'a' + i % 26)), u"link"});
    }
}

void ResultViewTest::showStatus_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color");

    QTest::newRow("empty query") << QStringLiteral("请输入搜索内容") << QColor(255, 0, 0);
    QTest::newRow("search starts") << QString() << QColor(0, 128, 0);
    QTest::newRow("count") << QStringLiteral("共搜索到: 12 个结果。") << QColor(0, 128, 0);
    QTest::newRow("ampersand") << QStringLiteral("a && b & c") << QColor(1, 2, 3);
}

void ResultViewTest::showStatus() {
    QFETCH(QString, text);
    QFETCH(QColor, color);

    window_->showStatus({u"先前", {9, 9, 9}});
    const StatusLine status{text.toStdU16String(), Rgb{static_cast<std::uint8_t>(color.red()),
                                                       static_cast<std::uint8_t>(color.green()),
                                                       static_cast<std::uint8_t>(color.blue())}};
    window_->showStatus(status);

    const QLabel* label = Controls(*window_).statusText;
    QCOMPARE(label->text(), text);
    QCOMPARE(label->textFormat(), Qt::PlainText);  // ampersands stay literal
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        QCOMPARE(label->palette().color(group, QPalette::WindowText), color);
    }
    QVERIFY(!label->autoFillBackground());  // the window's face shows behind the text
}

void ResultViewTest::setSearchEnabled() {
    const QPushButton* button = Controls(*window_).searchButton;
    window_->setSearchEnabled(false);
    QVERIFY(!button->isEnabled());
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    window_->setSearchEnabled(true);
    QVERIFY(button->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);  // restored, none left stacked
}

void ResultViewTest::rowsShowTitleAndLink() {
    window_->appendRow({u"Python 教程", u"https://a/1"});
    window_->appendRow({u"", u""});
    window_->appendRow({u"第三 \U0001F600", u"\"C:\\x\" y"});
    window_->showStatus({});

    QCOMPARE(window_->rowCount(), std::size_t{3});
    const QAbstractItemModel* model = listModel();
    QCOMPARE(model->rowCount(), 3);
    const QStringList expected[] = {{"Python 教程", "https://a/1"},
                                    {"", ""},
                                    {QStringLiteral("第三 \U0001F600"), "\"C:\\x\" y"}};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            QCOMPARE(model->index(row, column).data().toString(), expected[row][column]);
        }
    }
    QCOMPARE(Controls(*window_).resultList->selectionModel()->selectedIndexes().size(), 0);
}

void ResultViewTest::rowsReachTheListInBatches() {
    QSignalSpy inserted(listModel(), &QAbstractItemModel::rowsInserted);

    appendRows(1000);
    QCOMPARE(window_->rowCount(), std::size_t{1000});
    QCOMPARE(inserted.count(), 0);

    QCoreApplication::processEvents();  // the event loop takes over: the rows are shown
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 999);

    appendRows(500);
    window_->setSearchEnabled(true);  // the end of a search shows them at once
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(inserted.at(1).at(1).toInt(), 1000);
    QCOMPARE(inserted.at(1).at(2).toInt(), 1499);
    QCOMPARE(listModel()->rowCount(), 1500);

    QCoreApplication::processEvents();
    QCOMPARE(inserted.count(), 2);
}

void ResultViewTest::clearRowsEmptiesTheListAndFreesItsText() {
    appendRows(200);
    window_->showStatus({});
    Controls(*window_).resultList->selectRow(5);
    appendRows(10);  // not yet shown when the list is cleared

    window_->clearRows();
    QCoreApplication::processEvents();

    QCOMPARE(window_->rowCount(), std::size_t{0});
    QCOMPARE(listModel()->rowCount(), 0);
    QVERIFY(!window_->selectedLink());
    QCOMPARE(window_->findChild<quillscan::ResultModel*>()->reservedBytes(), std::size_t{0});
}

void ResultViewTest::selectedLink() {
    window_->appendRow({u"a", u"https://a/1"});
    window_->appendRow({u"b", u""});
    window_->showStatus({});
    QTableView* list = Controls(*window_).resultList;

    QVERIFY(!window_->selectedLink());
    list->selectRow(0);
    QCOMPARE(window_->selectedLink(), std::optional<std::u16string>(u"https://a/1"));
    list->selectRow(1);
    QCOMPARE(window_->selectedLink(), std::optional<std::u16string>(u""));
    list->clearSelection();
    QVERIFY(!window_->selectedLink());
}

void ResultViewTest::wholeSearch() {
    QTemporaryDir folder;
    const std::filesystem::path index = folder.filePath("threads.db5").toStdString();
    std::ofstream(index) << "Qt 教程\nhttps://a/1\n杂谈\nhttps://a/2\nC++ 教程 & 练习\n\n";

    window_->appendRow({u"old", u"old"});
    quillscan::TitleSearch(index).runSearch(u" 教程 ", *window_);

    const Controls controls(*window_);
    QCOMPARE(listModel()->rowCount(), 2);
    QCOMPARE(listModel()->index(1, 0).data().toString(), QStringLiteral("C++ 教程 & 练习"));
    QCOMPARE(listModel()->index(1, 1).data().toString(), QString());
    QCOMPARE(controls.statusText->text(), QStringLiteral("共搜索到: 2 个结果。"));
    QCOMPARE(controls.statusText->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QVERIFY(controls.searchButton->isEnabled());
    QCOMPARE(controls.searchBox->text(), QString());
}

QTEST_MAIN(ResultViewTest)
#include "test_result_view.moc"

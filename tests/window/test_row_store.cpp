// RowStore: rows come back exactly as appended, across block boundaries; they take about the
// bytes of the index file; clear frees everything.
#include <QTest>
#include <string>
#include <vector>

#include "window/row_store.h"

using quillscan::RowStore;

namespace {

struct Row {
    std::u16string title;
    std::u16string link;
};

}  // namespace

Q_DECLARE_METATYPE(std::vector<Row>)

class RowStoreTest : public QObject {
    Q_OBJECT

private slots:
    void keepsRowsExactly_data();
    void keepsRowsExactly();
    void takesAboutTheTextsBytes();
    void clearReleasesEverything();
};

void RowStoreTest::keepsRowsExactly_data() {
    QTest::addColumn<std::size_t>("blockBytes");
    QTest::addColumn<std::vector<Row>>("rows");

    const std::size_t large = RowStore::kDefaultBlockBytes;
    const std::size_t small = 64;
    QTest::newRow("plain and CJK")
        << large << std::vector<Row>{{u"Python 教程", u"https://a/1"}, {u"杂谈", u"https://a/2"}};
    QTest::newRow("empty texts") << large << std::vector<Row>{{u"", u""}, {u"t", u""}, {u"", u"l"}};
    QTest::newRow("Latin-1 edge and beyond")
        << large << std::vector<Row>{{u"caf\u00e9 \u00ff", u"\u0100"}, {u"x\u00ff", u"\u0100y"}};
    QTest::newRow("surrogates, paired and lone, and NUL")
        << large
        << std::vector<Row>{{u"\U0001F600 x \xD800", std::u16string(u"a\0b", 3)}, {u"\xDC00", u""}};
    QTest::newRow("long texts (multi-byte length headers)")
        << large << std::vector<Row>{{std::u16string(300, u'长'), std::u16string(70000, u'h')}};
    QTest::newRow("wide texts at odd and even offsets")
        << small << std::vector<Row>{{u"a", u"教"}, {u"ab", u"程"}, {u"教", u"a"}, {u"程程", u"x"}};
    QTest::newRow("rows spilling into new blocks")
        << small
        << std::vector<Row>{
               {u"abcde", u"f"}, {u"ghi", u"jk"}, {u"lmnop", u"q"}, {u"rstuvwxyz", u"0123456789"}};
    QTest::newRow("row larger than a block, between small ones")
        << small
        << std::vector<Row>{{u"a", u"b"}, {std::u16string(100, u'长'), u"link"}, {u"c", u"d"}};
}

void RowStoreTest::keepsRowsExactly() {
    QFETCH(std::size_t, blockBytes);
    QFETCH(std::vector<Row>, rows);

    RowStore store(blockBytes);
    for (const Row& row : rows) store.append(row.title, row.link);

    QCOMPARE(store.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QVERIFY(store.title(i).toU16String() == rows[i].title);
        QVERIFY(store.link(i).toU16String() == rows[i].link);
    }
}

void RowStoreTest::takesAboutTheTextsBytes() {
    // A typical row: 16 Chinese characters (48 bytes in the file) and a 46-byte link.
    const std::u16string title(16, u'帖');
    const std::u16string link = u"https://bbs.example.com/thread-123456-1-1.html";
    const std::size_t rows = 100000;

    RowStore store;
    for (std::size_t i = 0; i < rows; ++i) store.append(title, link);

    const std::size_t fileBytes = rows * (48 + 1 + link.size() + 1);
    QVERIFY2(store.reservedBytes() < fileBytes + RowStore::kDefaultBlockBytes,
             std::to_string(store.reservedBytes()).c_str());
}

void RowStoreTest::clearReleasesEverything() {
    RowStore store(64);
    for (int i = 0; i < 1000; ++i) store.append(u"title of a thread", u"https://example.org/t");
    QVERIFY(store.reservedBytes() > 0);

    store.clear();
    QCOMPARE(store.size(), std::size_t{0});
    QCOMPARE(store.reservedBytes(), std::size_t{0});

    store.append(u"again", u"link");
    QVERIFY(store.title(0).toU16String() == u"again");
    QVERIFY(store.link(0).toU16String() == u"link");
}

QTEST_MAIN(RowStoreTest)
#include "test_row_store.moc"

// A long session in the running program: a thousand searches in a row, by Enter and by the
// search button, alternating a query with many matches and one with a single match. The event
// loop keeps answering, every search lists the right rows, and the heap in use stays flat.
#include <QTest>
#include <array>
#include <cstddef>
#include <string>

#include "program_fixture.h"

#if defined(__SANITIZE_ADDRESS__)
// From the AddressSanitizer runtime, which replaces the C library's allocator.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

using quillscan::test::Controls;
using quillscan::test::eventLoopAnswers;
using quillscan::test::RunningProgram;

namespace {

constexpr int kThreads = 3000;
constexpr int kSearches = 1000;
constexpr int kFirstMeasuredSearch = 100;
// Rows never freed would add about 140 KB a search, 60 MB over the session.
constexpr std::size_t kAllowedHeapGrowth = std::size_t{1} << 20;

struct Query {
    QString text;
    std::size_t rows;
};

// Every third thread is about something else; "qt" finds the other two thirds.
const std::array<Query, 2> kQueries{Query{QStringLiteral("qt"), 2000},
                                    Query{QStringLiteral("第 0042 帖"), 1}};

std::string longIndex() {
    std::string index;
    for (int thread = 0; thread < kThreads; ++thread) {
        const QString title =
            QStringLiteral("第 %1 帖 %2")
                .arg(thread, 4, 10, QLatin1Char('0'))
                .arg(thread % 3 == 0 ? QStringLiteral("其他话题") : QStringLiteral("Qt 讨论"));
        index += title.toStdString() + "\nhttps://bbs.example.com/thread-" +
                 std::to_string(thread) + '\n';
    }
    return index;
}

// Bytes the allocator has handed out and not got back. Freed pages that the C library keeps for
// later do not count, so rows that are freed leave no trace, and rows that are not do.
std::size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;  // small chunks, and the large ones mapped on their own
#else
    return 0;
#endif
}

}  // namespace

class LongSessionTest : public QObject {
    Q_OBJECT

private slots:
    void thousandSearchesKeepTheWindowAnsweringAndTheHeapFlat();
};

void LongSessionTest::thousandSearchesKeepTheWindowAnsweringAndTheHeapFlat() {
    RunningProgram program(longIndex());
    QVERIFY(QTest::qWaitForWindowActive(&program.window()));
    const Controls controls = program.controls();

    std::size_t heapAtFirstMeasure = 0;
    for (int search = 1; search <= kSearches; ++search) {
        const Query& query = kQueries[search % 2];
        controls.searchBox->setText(query.text);
        // The trigger changes every second search, so both queries come by both ways.
        if ((search / 2) % 2 == 0) {
            QTest::keyClick(controls.searchBox, Qt::Key_Return);
        } else {
            controls.searchButton->click();
        }
        QCoreApplication::processEvents();
        QCOMPARE(program.window().rowCount(), query.rows);

        if (search % 100 != 0) continue;
        QVERIFY(eventLoopAnswers());
        QCOMPARE(controls.resultList->model()->rowCount(), int(query.rows));
        QCOMPARE(controls.statusText->text(),
                 QStringLiteral("共搜索到: %1 个结果。").arg(query.rows));
        if (search == kFirstMeasuredSearch) heapAtFirstMeasure = heapInUse();
    }
    QCOMPARE(program.stops, 0);

    const std::size_t heapAtEnd = heapInUse();
    if (heapAtEnd == 0) QSKIP("the allocator in use gives no figure for the heap in use");
    const QByteArray figures =
        QStringLiteral("heap in use after search %1: %2 bytes, after search %3: %4 bytes")
            .arg(kFirstMeasuredSearch)
            .arg(heapAtFirstMeasure)
            .arg(kSearches)
            .arg(heapAtEnd)
            .toUtf8();
    qInfo("%s", figures.constData());
    QVERIFY2(heapAtEnd <= heapAtFirstMeasure + kAllowedHeapGrowth, figures.constData());
}

QTEST_MAIN(LongSessionTest)
#include "test_long_session.moc"

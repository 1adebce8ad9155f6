// Times one search shown in the real window against the same search into a view that only
// counts, and reports the process's memory.
//
// usage: window_bench INDEX QUERY [RUNS]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise. Each run is timed from
// the call of runSearch until the window has painted the list with every row in it; the
// median of RUNS runs (default 3) is printed for both views, with the peak resident memory and
// how much the window's search added to it, next to the size of the index file.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "index/title_search.h"
#include "window/list_font.h"
#include "window/search_window.h"

namespace {

using Clock = std::chrono::steady_clock;

class CountingView : public quillscan::ResultView {
public:
    void showStatus(const quillscan::StatusLine&) override {}
    void setSearchEnabled(bool) override {}
    void clearRows() override { rows_ = 0; }
    void appendRow(const quillscan::ThreadEntry&) override { ++rows_; }
    std::size_t rowCount() const override { return rows_; }

private:
    std::size_t rows_ = 0;
};

double medianMilliseconds(int runs, const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;  // kilobytes on Linux
}

double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024 * 1024);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s INDEX QUERY [RUNS]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const std::filesystem::path index = argv[1];
    const std::u16string query = QString::fromLocal8Bit(argv[2]).toStdU16String();
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    const quillscan::TitleSearch search(index);

    CountingView counter;
    const double countingMs = medianMilliseconds(runs, [&] { search.runSearch(query, counter); });

    quillscan::SearchWindow window(quillscan::createListFont(quillscan::displayVerticalDpi()));
    auto* list = window.findChild<QTableView*>(QStringLiteral("resultList"));
    QCoreApplication::processEvents();
    const double residentBefore = residentMiB();
    std::vector<double> residentAfterSearch;  // a later search must free the rows of the one before
    const double windowMs = medianMilliseconds(runs, [&] {
        search.runSearch(query, window);
        list->scrollToBottom();
        QCoreApplication::processEvents();
        list->viewport()->repaint();
        residentAfterSearch.push_back(residentMiB());
    });
    const double residentWithRows = residentAfterSearch.back();
    window.clearRows();
    QCoreApplication::processEvents();

    const double indexMiB = static_cast<double>(std::filesystem::file_size(index)) / (1024 * 1024);
    std::printf("index            %.1f MiB, %zu matching titles (of the query \"%s\")\n", indexMiB,
                counter.rowCount(), argv[2]);
    std::printf("counting view    %8.1f ms\n", countingMs);
    std::printf("window           %8.1f ms  (median of %d, until the last row is painted)\n",
                windowMs, runs);
    std::printf(
        "resident memory  %.1f MiB before the window's search, %.1f MiB with its rows "
        "(+%.1f MiB, %.2f x the index), %.1f MiB after clearing\n",
        residentBefore, residentWithRows, residentWithRows - residentBefore,
        (residentWithRows - residentBefore) / indexMiB, residentMiB());
    std::printf("resident with rows after search 1: %.1f MiB, after search %d: %.1f MiB\n",
                residentAfterSearch.front(), runs, residentAfterSearch.back());
    std::printf("peak resident    %.1f MiB\n", peakResidentMiB());
    return 0;
}

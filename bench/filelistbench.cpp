// Benchmark of listing one big folder: our file list, QFileSystemModel + QTreeView, and a
// floor program (readdir + fstatat + sort). One mode per process so peak memory is its own.
#include "benchfloor.h"

#include "filelist/filelistevents.h"
#include "filelist/filelistmodel.h"
#include "filelist/filelistview.h"
#include "filelist/filterbox.h"
#include "filelist/listpresentationmodel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemModel>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The event-loop probe fires this often; a longer gap means the loop was blocked.
constexpr int kProbeIntervalMs = 5;
// With XZ_BENCH_VERBOSE set, every event that takes longer than this is printed.
constexpr double kReportEventMs = 5;
// How long the event loop keeps running after the listing is complete.
constexpr int kSettleMs = 150;

// Creates `count` empty files (and a few folders) in `dir` unless it already holds them.
int makeFolder(const std::string &dir, long count) {
    const std::string marker = dir + "/.complete";
    if (access(marker.c_str(), F_OK) == 0)
        return 0;
    mkdir(dir.c_str(), 0755);
    char name[64];
    for (long i = 0; i < count; ++i) {
        if (i % 1000 == 0)
            std::snprintf(name, sizeof name, "/folder_%ld", i);
        else
            std::snprintf(name, sizeof name, "/file_%ld.txt", i);
        const std::string path = dir + name;
        if (i % 1000 == 0) {
            mkdir(path.c_str(), 0755);
            continue;
        }
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) {
            std::perror(path.c_str());
            return 1;
        }
        close(fd);
    }
    // The marker is hidden and not counted: it marks a complete folder for the next run.
    close(open(marker.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    return 0;
}

// Records the longest gap between probe ticks, i.e. the longest the event loop was blocked.
class BlockProbe {
public:
    BlockProbe() {
        timer_.setInterval(kProbeIntervalMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const double now = clock_.nsecsElapsed() / 1e6;
            maxGap_ = std::max(maxGap_, now - last_);
            last_ = now;
        });
    }
    void start() {
        clock_.start();
        last_ = 0;
        maxGap_ = 0;
        timer_.start();
    }
    double maxBlockMs() const { return std::max(0.0, maxGap_ - kProbeIntervalMs); }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    double last_ = 0;
    double maxGap_ = 0;
};

// Keeps the event loop running a little after the listing is complete, so the block probe
// also sees work that the last events leave behind.
void settle() {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kSettleMs)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, kProbeIntervalMs);
}

// Times every event the user-interface thread handles and keeps the longest, so a long
// block can be traced to the object and event that caused it (printed to stderr).
class TimingApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override {
        if (depth_++ > 0) {
            const bool result = QApplication::notify(receiver, event);
            --depth_;
            return result;
        }
        QElapsedTimer timer;
        timer.start();
        const int type = event->type();
        const char *className = receiver->metaObject()->className();
        const bool result = QApplication::notify(receiver, event);
        --depth_;
        const double ms = timer.nsecsElapsed() / 1e6;
        if (ms > kReportEventMs && std::getenv("XZ_BENCH_VERBOSE"))
            std::fprintf(stderr, "event: %.1f ms in %s event %d\n", ms, className, type);
        if (ms > longestMs_) {
            longestMs_ = ms;
            longest_ = std::string(className) + " event " + std::to_string(type);
        }
        return result;
    }
    double longestMs() const { return longestMs_; }
    void resetLongest() { longestMs_ = 0; }
    void report() const {
        std::fprintf(stderr, "longest event: %.1f ms in %s\n", longestMs_, longest_.c_str());
    }

private:
    int depth_ = 0;
    double longestMs_ = 0;
    std::string longest_;
};

int runOurs(const std::string &dir) {
    FileListView list;
    // The window's handlers run as in the program: size-text hook, status line, paint rules.
    QString status;
    FileListEvents events(&list, [&status](const QString &text) { status = text; });
    list.setViewCode(std::getenv("XZ_BENCH_VIEW") ? std::atoi(std::getenv("XZ_BENCH_VIEW")) : 4);
    // XZ_BENCH_GROUP=column lists the folder grouped by that detail column.
    if (const char *group = std::getenv("XZ_BENCH_GROUP")) {
        list.setGroupingColumn(std::atoi(group));
        list.setGrouped(true);
    }
    list.resize(1000, 700);
    list.show();
    QApplication::processEvents();
    while (list.isEnumerating())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const long baseKb = statusKb("VmRSS");

    QElapsedTimer clock;
    double firstMs = -1, completeMs = -1;
    QAbstractItemView *view = list.currentItemView();
    // Rows show either appended or, for a folder listed before the first show, all at once.
    auto firstShown = [&] {
        if (firstMs < 0 && view->model()->rowCount() > 0) {
            view->viewport()->repaint();
            firstMs = clock.nsecsElapsed() / 1e6;
        }
    };
    QObject::connect(view->model(), &QAbstractItemModel::rowsInserted, firstShown);
    QObject::connect(view->model(), &QAbstractItemModel::modelReset, firstShown);
    // Complete when the sorted list has been laid out and painted, which the view does in
    // a later event than the one that delivers the rows.
    QObject::connect(&list, &FileListView::enumFinished, [&] {
        QTimer::singleShot(0, [&] {
            view->viewport()->repaint();
            completeMs = clock.nsecsElapsed() / 1e6;
        });
    });
    BlockProbe probe;
    probe.start();
    static_cast<TimingApplication *>(qApp)->resetLongest();
    clock.start();
    if (!list.setRootFolderCustomPath(QFile::decodeName(dir.c_str())))
        return 1;
    while (completeMs < 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double clockCompleteMs = completeMs;
    // Grouped, a big folder's groups are made on a worker and arrive after the listing.
    while (list.isGrouped() && list.presentationModel()->groupCount() == 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double groupedMs = clock.nsecsElapsed() / 1e6;
    settle();
    // XZ_BENCH_FILTER=text types a filter over the listed folder, one letter at a time.
    if (const char *filter = std::getenv("XZ_BENCH_FILTER")) {
        FilterBox box;
        box.setList(&list);
        QString typed;
        for (const QChar c : QString::fromUtf8(filter)) {
            typed += c;
            const int before = list.presentationModel()->rowCount();
            QElapsedTimer typing;
            typing.start();
            box.setEditText(typed);
            const double keyMs = typing.nsecsElapsed() / 1e6;
            while (list.presentationModel()->rowCount() == before && typing.elapsed() < 10000)
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, kProbeIntervalMs);
            std::fprintf(stderr, "filter \"%s\": key %.1f ms, %d shown after %.1f ms\n",
                         qPrintable(typed), keyMs, list.presentationModel()->rowCount(),
                         typing.nsecsElapsed() / 1e6);
        }
        settle();
    }
    auto *app = static_cast<TimingApplication *>(qApp);
    if (std::getenv("XZ_BENCH_VERBOSE"))
        app->report();
    const double blockMs = std::max(probe.maxBlockMs(), app->longestMs());
    const int items = list.itemCount();
    const long peakKb = statusKb("VmHWM");

    // Leaving the big folder for a small one, as a user moves on: the old list goes and the
    // new one is listed; the longest block while that happens.
    probe.start();
    app->resetLongest();
    completeMs = -1;
    if (!list.setRootFolderCustomPath(QDir::tempPath()))
        return 1;
    while (completeMs < 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    settle();
    if (list.isGrouped())
        std::fprintf(stderr, "groups shown after %.1f ms\n", groupedMs);
    std::printf("ours items=%d first_ms=%.1f complete_ms=%.1f peak_kb=%ld base_kb=%ld "
                "max_block_ms=%.1f leave_block_ms=%.1f\n",
                items, firstMs, clockCompleteMs, peakKb, baseKb, blockMs,
                std::max(probe.maxBlockMs(), app->longestMs()));
    return 0;
}

int runQFileSystemModel(const std::string &dir) {
    const QString path = QFile::decodeName(dir.c_str());
    QFileSystemModel model;
    QTreeView view;
    view.resize(1000, 700);
    view.setModel(&model);
    view.setSortingEnabled(true);
    view.sortByColumn(0, Qt::AscendingOrder);
    view.show();
    QApplication::processEvents();
    const long baseKb = statusKb("VmRSS");

    QElapsedTimer clock;
    double firstMs = -1, completeMs = -1;
    bool loaded = false;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] {
        if (firstMs < 0) {
            view.viewport()->repaint();
            firstMs = clock.nsecsElapsed() / 1e6;
        }
    });
    QObject::connect(&model, &QFileSystemModel::directoryLoaded,
                     [&](const QString &loadedPath) { loaded = loaded || loadedPath == path; });
    BlockProbe probe;
    probe.start();
    static_cast<TimingApplication *>(qApp)->resetLongest();
    clock.start();
    const QModelIndex root = model.setRootPath(path);
    view.setRootIndex(root);
    // Complete: the folder is loaded, every row is in and the delayed sort has run.
    while (!loaded)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QTimer idleTimer;
    idleTimer.setSingleShot(true);
    bool idle = false;
    QObject::connect(&idleTimer, &QTimer::timeout, [&] { idle = true; });
    idleTimer.start(0);
    while (!idle)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    view.viewport()->repaint();
    completeMs = clock.nsecsElapsed() / 1e6;
    settle();
    std::printf("qfsm items=%d first_ms=%.1f complete_ms=%.1f peak_kb=%ld base_kb=%ld "
                "max_block_ms=%.1f\n",
                model.rowCount(root), firstMs, completeMs, statusKb("VmHWM"), baseKb,
                std::max(probe.maxBlockMs(), static_cast<TimingApplication *>(qApp)->longestMs()));
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s make|floor|ours|qfsm FOLDER [COUNT]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const std::string dir = argv[2];
    if (mode == "make")
        return makeFolder(dir, argc > 3 ? std::atol(argv[3]) : 10000);
    if (mode == "floor")
        return runFloorListing(dir);
    TimingApplication app(argc, argv);
    if (mode == "ours")
        return runOurs(dir);
    if (mode == "qfsm")
        return runQFileSystemModel(dir);
    return 2;
}

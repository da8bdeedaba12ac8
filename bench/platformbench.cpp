// platformbench: folder enumeration of the shell layer against a floor program
// (readdir + fstatat + sort). One mode per process so peak memory is its own.
#include "benchfloor.h"

#include "platform/folderenumerator.h"
#include "platform/naturalsortkey.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

int makeFolder(const std::string &dir, long count) {
    const std::string marker = dir + "/.complete";
    if (access(marker.c_str(), F_OK) == 0)
        return 0;
    mkdir(dir.c_str(), 0755);
    for (long i = 0; i < count; ++i) {
        // Mixed names: numbers for natural order, some folders, some Chinese names.
        std::string name = (i % 50 == 0 ? "文件夹" : (i % 7 == 0 ? "报告" : "file")) +
                           std::to_string(i) + (i % 50 == 0 ? "" : ".txt");
        std::string path = dir + "/" + name;
        if (i % 50 == 0)
            mkdir(path.c_str(), 0755);
        else
            close(open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    close(open(marker.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    return 0;
}

// The threaded listing as a list would use it: batches are shown as they arrive (merged
// while the list is small) and replaced by the complete sorted listing at the end.
// Up to this many rows each batch is merged into place; beyond, batches are appended.
constexpr qsizetype SmallListing = 20000;

int runEnumerator(const std::string &dir, int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const long baseKb = statusKb("VmRSS");
    NaturalSortKey::forName(QStringLiteral("warm up the collator"));
    QElapsedTimer clock;
    FolderEnumerator enumerator;
    QList<ShellItem> all;
    double firstMs = -1;
    QObject::connect(&enumerator, &FolderEnumerator::itemsReady,
                     [&](quint64, const QList<ShellItem> &batch) {
                         if (firstMs < 0)
                             firstMs = clock.nsecsElapsed() / 1e6;
                         qsizetype middle = all.size();
                         all.append(batch);
                         if (middle < SmallListing)
                             std::inplace_merge(all.begin(), all.begin() + middle, all.end(),
                                                ShellItem::listingLess);
                     });
    QObject::connect(&enumerator, &FolderEnumerator::sortedListingReady,
                     [&](quint64, const QList<ShellItem> &sorted) { all = sorted; });
    QObject::connect(&enumerator, &FolderEnumerator::finished, [&](quint64, int, qint64) {
        const double completeMs = clock.nsecsElapsed() / 1e6;
        std::printf("enum items=%lld first_ms=%.1f complete_ms=%.1f peak_kb=%ld base_kb=%ld\n",
                    (long long)all.size(), firstMs, completeMs, statusKb("VmHWM"), baseKb);
        app.quit();
    });
    clock.start();
    enumerator.start(ShellItem::fromPath(QByteArray::fromStdString(dir)));
    return app.exec();
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s make|floor|enum FOLDER [COUNT]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1], dir = argv[2];
    if (mode == "make")
        return makeFolder(dir, argc > 3 ? std::atol(argv[3]) : 10000);
    if (mode == "floor")
        return runFloorListing(dir);
    if (mode == "enum")
        return runEnumerator(dir, argc, argv);
    return 2;
}

// Tests of FolderEnumerator: batches, generations, cancellation, agreement with find.
#include "platformfixture.h"

#include "platform/folderenumerator.h"

#include <QDir>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

namespace {

struct Recorder {
    QList<QList<ShellItem>> batches;
    QList<quint64> batchGenerations;
    int finishedCount = 0;
    quint64 finishedGeneration = 0;
    int error = -1;
    qint64 count = -1;
    QList<ShellItem> sorted;
    int sortedBeforeFinished = 0;

    explicit Recorder(FolderEnumerator &e) {
        QObject::connect(&e, &FolderEnumerator::sortedListingReady,
                         [this](quint64, const QList<ShellItem> &items) {
                             sorted = items;
                             sortedBeforeFinished += finishedCount == 0;
                         });
        QObject::connect(&e, &FolderEnumerator::itemsReady,
                         [this](quint64 g, const QList<ShellItem> &items) {
                             batches.append(items);
                             batchGenerations.append(g);
                         });
        QObject::connect(&e, &FolderEnumerator::finished, [this](quint64 g, int err, qint64 n) {
            ++finishedCount;
            finishedGeneration = g;
            error = err;
            count = n;
        });
    }
    QSet<QByteArray> names() const {
        QSet<QByteArray> out;
        for (const auto &b : batches)
            for (const ShellItem &i : b)
                out.insert(i.nativeName());
        return out;
    }
};

TEST(FolderEnumerator, BatchesGrowAndCoverEveryEntry) {
    TempTree tree;
    const int files = 1000;
    for (int i = 0; i < files; ++i)
        tree.file("f" + QByteArray::number(i));
    tree.folder("sub");
    tree.file(QByteArray("\xff\xfe-not-utf8"));
    FolderEnumerator e;
    Recorder rec(e);
    quint64 gen = e.start(ShellItem::fromPath(tree.root()));
    ASSERT_TRUE(waitUntil([&] { return rec.finishedCount == 1; }));
    EXPECT_EQ(rec.finishedGeneration, gen);
    EXPECT_EQ(rec.error, 0);
    EXPECT_EQ(rec.count, files + 2);
    EXPECT_EQ(rec.names().size(), files + 2);
    EXPECT_TRUE(rec.names().contains(QByteArray("\xff\xfe-not-utf8")));
    ASSERT_GE(rec.batches.size(), 2);
    EXPECT_EQ(rec.batches.first().size(), FolderEnumerator::FirstBatchSize);
    for (const auto &batch : rec.batches)
        EXPECT_TRUE(std::is_sorted(batch.begin(), batch.end(), ShellItem::listingLess));
    for (quint64 g : rec.batchGenerations)
        EXPECT_EQ(g, gen);

    // The complete listing holds the same items, in the order a one-by-one sort gives.
    EXPECT_EQ(rec.sortedBeforeFinished, 1);
    QList<ShellItem> expected;
    for (const auto &batch : rec.batches)
        expected.append(batch);
    std::sort(expected.begin(), expected.end(), ShellItem::listingLess);
    EXPECT_EQ(rec.sorted, expected);
    EXPECT_TRUE(rec.sorted.first().isFolder());
}

TEST(FolderEnumerator, NewStartDropsTheOldGenerationAndCancelStopsAll) {
    TempTree big, small;
    for (int i = 0; i < 3000; ++i)
        big.file("b" + QByteArray::number(i));
    small.file("only");
    FolderEnumerator e;
    Recorder rec(e);
    quint64 first = e.start(ShellItem::fromPath(big.root()));
    quint64 second = e.start(ShellItem::fromPath(small.root()));
    EXPECT_GT(second, first);
    ASSERT_TRUE(waitUntil([&] { return rec.finishedCount == 1; }));
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(rec.finishedCount, 1);
    EXPECT_EQ(rec.finishedGeneration, second);
    for (quint64 g : rec.batchGenerations)
        EXPECT_EQ(g, second);
    EXPECT_EQ(rec.names(), QSet<QByteArray>{"only"});

    Recorder after(e);
    e.start(ShellItem::fromPath(big.root()));
    e.cancel();
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(after.finishedCount, 0);
    EXPECT_TRUE(after.batches.isEmpty());
    EXPECT_FALSE(e.isRunning());
}

TEST(FolderEnumerator, MissingFolderReportsItsError) {
    FolderEnumerator e;
    Recorder rec(e);
    e.start(ShellItem::fromPath(QByteArray("/nonexistent-folder-of-test")));
    ASSERT_TRUE(waitUntil([&] { return rec.finishedCount == 1; }));
    EXPECT_EQ(rec.error, ENOENT);
    EXPECT_EQ(rec.count, 0);
}

TEST(FolderEnumerator, SameNamesAsFind) {
    TempTree tree;
    for (int i = 0; i < 200; ++i)
        tree.file("n" + QByteArray::number(i) + (i % 3 ? ".txt" : ""));
    tree.file(".dot");
    tree.folder("dir");
    tree.symlinkTo("link", "dir");
    tree.file(QByteArray("\xc0\xaf-bad"));
    QProcess find;
    find.start(QStringLiteral("find"),
               {QString::fromUtf8(tree.root()), QStringLiteral("-mindepth"), QStringLiteral("1"),
                QStringLiteral("-maxdepth"), QStringLiteral("1"), QStringLiteral("-printf"),
                QStringLiteral("%f\\0")});
    ASSERT_TRUE(find.waitForFinished(10000));
    QSet<QByteArray> expected;
    for (const QByteArray &n : find.readAllStandardOutput().split('\0'))
        if (!n.isEmpty())
            expected.insert(n);
    QSet<QByteArray> listed;
    for (const ShellItem &i : FolderEnumerator::listNow(ShellItem::fromPath(tree.root())))
        listed.insert(i.nativeName());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(listed.size(), 204);
}

TEST(FolderEnumerator, DesktopListsThePlacesFirst) {
    QList<ShellItem> items = FolderEnumerator::listNow(ShellItem::desktop());
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items[0], ShellItem::computer());
    EXPECT_EQ(items[1], ShellItem::fromPath(QDir::homePath()));
    EXPECT_EQ(items[2], ShellItem::trash());
}

} // namespace

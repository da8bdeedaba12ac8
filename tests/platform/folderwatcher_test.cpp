// Tests of FolderWatcher: changes made by another process, coalescing, removal.
#include "platformfixture.h"

#include "platform/folderwatcher.h"

#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

bool runShell(const QString &script) {
    return QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), script}) == 0;
}

TEST(FolderWatcher, BurstFromAnotherProcessGivesOneChange) {
    TempTree tree;
    FolderWatcher watcher;
    QSignalSpy changed(&watcher, &FolderWatcher::changed);
    ASSERT_TRUE(watcher.watch(ShellItem::fromPath(tree.root())));
    ASSERT_TRUE(waitUntil([&] { return watcher.isActive(); }));
    const QString root = QString::fromUtf8(tree.root());
    ASSERT_TRUE(runShell(
        QStringLiteral("cd '%1' && for i in $(seq 1 50); do echo x > f$i; done").arg(root)));
    ASSERT_TRUE(waitUntil([&] { return changed.count() >= 1; }));
    waitUntil([] { return false; }, FolderWatcher::CoalesceIntervalMs * 2);
    EXPECT_LE(changed.count(), 2);

    // Watching another folder drops what the old one had pending.
    TempTree other;
    changed.clear();
    ASSERT_TRUE(runShell(QStringLiteral("touch '%1/late'").arg(root)));
    waitUntil([] { return false; }, 20);
    ASSERT_TRUE(watcher.watch(ShellItem::fromPath(other.root())));
    waitUntil([] { return false; }, FolderWatcher::CoalesceIntervalMs * 2);
    EXPECT_EQ(changed.count(), 0);
}

TEST(FolderWatcher, ChangeBeforeTheWatchIsInPlaceIsReported) {
    // A list notes the folder's state when its listing starts and adds the watch when the
    // listing ends; a file made in between must still cause a re-read.
    TempTree tree;
    FolderWatcher watcher;
    QSignalSpy changed(&watcher, &FolderWatcher::changed);
    QSignalSpy ready(&watcher, &FolderWatcher::watchReady);
    ASSERT_TRUE(watcher.prepare(ShellItem::fromPath(tree.root())));
    tree.file("made-while-listing");
    watcher.addPrepared();
    ASSERT_TRUE(waitUntil([&] { return ready.count() == 1; }));
    EXPECT_TRUE(watcher.isActive());
    EXPECT_TRUE(waitUntil([&] { return changed.count() == 1; }));

    // Without a change in between, the watch comes up quietly.
    TempTree quiet;
    changed.clear();
    ASSERT_TRUE(watcher.watch(ShellItem::fromPath(quiet.root())));
    ASSERT_TRUE(waitUntil([&] { return watcher.isActive(); }));
    waitUntil([] { return false; }, FolderWatcher::CoalesceIntervalMs * 2);
    EXPECT_EQ(changed.count(), 0);
}

TEST(FolderWatcher, RemovedFolderIsReported) {
    TempTree tree;
    QByteArray sub = tree.folder("sub");
    FolderWatcher watcher;
    QSignalSpy removed(&watcher, &FolderWatcher::folderRemoved);
    ASSERT_TRUE(watcher.watch(ShellItem::fromPath(sub)));
    ASSERT_TRUE(waitUntil([&] { return watcher.isActive(); }));
    ASSERT_TRUE(runShell(QStringLiteral("rmdir '%1'").arg(QString::fromUtf8(sub))));
    EXPECT_TRUE(waitUntil([&] { return removed.count() == 1; }));
    EXPECT_FALSE(watcher.watch(ShellItem::fromPath(sub)));

    // Deleted after the list noted it but before the watch was in place.
    QByteArray later = tree.folder("later");
    ASSERT_TRUE(watcher.prepare(ShellItem::fromPath(later)));
    ASSERT_TRUE(runShell(QStringLiteral("rmdir '%1'").arg(QString::fromUtf8(later))));
    watcher.addPrepared();
    EXPECT_TRUE(waitUntil([&] { return removed.count() == 2; }));
}

} // namespace

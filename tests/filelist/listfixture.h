// Test support for the file list: a QApplication for the whole run and temporary folders.
#pragma once

#include "filelist/filelistview.h"

#include <QByteArray>
#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

// A temporary folder with helpers to add entries.
class TempFolder {
public:
    QString path() const { return dir_.path(); }
    QString file(const QString &name, qint64 size = 0,
                 const QDateTime &modified = QDateTime()) const {
        const QString full = dir_.filePath(name);
        QFile f(full);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << full.toStdString();
        if (size > 0)
            f.resize(size);
        f.close();
        if (modified.isValid()) {
            const qint64 secs = modified.toSecsSinceEpoch();
            struct timeval times[2] = {{secs, 0}, {secs, 0}};
            utimes(QFile::encodeName(full).constData(), times);
        }
        return full;
    }
    QString folder(const QString &name) const {
        QDir(dir_.path()).mkpath(name);
        return dir_.filePath(name);
    }

private:
    QTemporaryDir dir_;
};

// Waits until the list has finished listing its folder.
inline bool waitListed(FileListView &list, int timeoutMs = 5000) {
    QTest::qWait(1);
    return QTest::qWaitFor([&] { return !list.isEnumerating(); }, timeoutMs);
}

// The names the list shows, in list order.
inline QStringList listedNames(const FileListView &list) {
    QStringList names;
    for (int i = 0; i < list.itemCount(); ++i)
        names << list.itemAt(i).displayName();
    return names;
}

// Shared fixture helper of the platform tests: a temporary folder tree built from bytes.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <ftw.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

// A temporary folder in which tests make files by native (byte) names. It is removed by
// those names too: QTemporaryDir cannot remove entries whose names are not valid UTF-8.
class TempTree {
public:
    TempTree() = default;
    TempTree(const TempTree &) = delete;
    TempTree &operator=(const TempTree &) = delete;
    ~TempTree() {
        nftw(m_root.constData(), openFolder, 16, FTW_PHYS);
        nftw(m_root.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    }

    QByteArray root() const { return m_root; }
    QByteArray path(const QByteArray &relative) const { return m_root + '/' + relative; }

    QByteArray file(const QByteArray &relative, const QByteArray &content = {},
                    mode_t mode = 0644) const {
        QByteArray p = path(relative);
        int fd = open(p.constData(), O_WRONLY | O_CREAT | O_TRUNC, mode);
        if (fd >= 0) {
            if (!content.isEmpty() && write(fd, content.constData(), size_t(content.size())) < 0)
                perror("write");
            fchmod(fd, mode);
            close(fd);
        }
        return p;
    }
    QByteArray folder(const QByteArray &relative) const {
        QByteArray p = path(relative);
        mkdir(p.constData(), 0755);
        return p;
    }
    QByteArray symlinkTo(const QByteArray &relative, const QByteArray &target) const {
        QByteArray p = path(relative);
        if (symlink(target.constData(), p.constData()) != 0)
            perror("symlink");
        return p;
    }

private:
    // Folders a test made read-only must open up before their entries can go.
    static int openFolder(const char *path, const struct stat *, int type, struct FTW *) {
        if (type == FTW_D || type == FTW_DNR)
            chmod(path, 0700);
        return 0;
    }
    static int removeEntry(const char *path, const struct stat *, int, struct FTW *) {
        remove(path);
        return 0;
    }

    QTemporaryDir m_dir;
    QByteArray m_root = m_dir.path().toUtf8();
};

// Runs the event loop until `done` returns true or `timeoutMs` passes.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        usleep(1000);
    }
    return true;
}

// NativeFile: open/read/write/rename on byte paths.
#include "platform/nativefile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

QByteArray NativeFile::read(const QByteArray &path, qint64 maxBytes, bool *ok) {
    if (ok)
        *ok = false;
    int fd = open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {};
    QByteArray out;
    char buffer[16384];
    while (out.size() < maxBytes) {
        ssize_t n = ::read(fd, buffer, size_t(qMin<qint64>(sizeof buffer, maxBytes - out.size())));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            return {};
        }
        if (n == 0)
            break;
        out.append(buffer, n);
    }
    close(fd);
    if (ok)
        *ok = true;
    return out;
}

bool NativeFile::replace(const QByteArray &path, const QByteArray &content) {
    QByteArray temp = path + ".tmp-" + QByteArray::number(getpid());
    int fd = open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    qint64 done = 0;
    while (done < content.size()) {
        ssize_t n = write(fd, content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bool ok = done == content.size() && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok || rename(temp.constData(), path.constData()) != 0) {
        unlink(temp.constData());
        return false;
    }
    return true;
}

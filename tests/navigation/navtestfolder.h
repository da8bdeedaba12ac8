// NavTestFolder: a temporary folder tree for navigation tests, removed with the object.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class NavTestFolder {
public:
    QByteArray path(const QString &relative = {}) const {
        return QFile::encodeName(relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative));
    }
    QByteArray makeDir(const QString &relative) const {
        QDir(m_dir.path()).mkpath(relative);
        return path(relative);
    }
    QByteArray makeFile(const QString &relative, const QByteArray &content = {}) const {
        QFile file(m_dir.filePath(relative));
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return path(relative);
    }

private:
    QTemporaryDir m_dir;
};

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

// Runs the event loop until `done` holds or `timeoutMs` passes; returns whether it held.
inline bool waitFor(const std::function<bool()> &done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

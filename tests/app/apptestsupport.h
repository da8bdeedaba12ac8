// Helpers of the app tests: a temporary folder and file access.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder removed with the object; path() has no trailing separator.
class TempFolder {
public:
    TempFolder() : dir_(QStringLiteral("/tmp/xz-app-XXXXXX")) {}
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.path() + '/' + name; }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir dir_;
};

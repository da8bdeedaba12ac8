// Thumbnailers: reading *.thumbnailer entries and running their Exec lines.
#include "platform/thumbnailers.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

struct Entry {
    QString exec;
    QString tryExec;
};

// MIME type -> thumbnailer, read once; a user's own entries come first.
const QHash<QString, Entry> &entries() {
    static const QHash<QString, Entry> table = [] {
        QHash<QString, Entry> t;
        const QStringList dirs = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                           QStringLiteral("thumbnailers"),
                                                           QStandardPaths::LocateDirectory);
        for (const QString &dir : dirs) {
            for (const QString &file :
                 QDir(dir).entryList({QStringLiteral("*.thumbnailer")}, QDir::Files)) {
                QSettings entry(dir + QLatin1Char('/') + file, QSettings::IniFormat);
                entry.beginGroup(QStringLiteral("Thumbnailer Entry"));
                Entry e{entry.value(QStringLiteral("Exec")).toString(),
                        entry.value(QStringLiteral("TryExec")).toString()};
                // QSettings splits lists at commas; MIME lists use semicolons.
                QString mimes = entry.value(QStringLiteral("MimeType")).toStringList().join(',');
                if (e.exec.isEmpty() ||
                    (!e.tryExec.isEmpty() && QStandardPaths::findExecutable(e.tryExec).isEmpty() &&
                     !QFile::exists(e.tryExec)))
                    continue;
                for (const QString &mime : mimes.split(QLatin1Char(';'), Qt::SkipEmptyParts))
                    if (!t.contains(mime.trimmed()))
                        t.insert(mime.trimmed(), e);
            }
        }
        return t;
    }();
    return table;
}

} // namespace

bool Thumbnailers::canHandle(const QString &mimeType) {
    return entries().contains(mimeType);
}

QImage Thumbnailers::run(const QString &mimeType, const QByteArray &nativePath,
                         const QByteArray &uri, int pixels, const QString &scratchFolder) {
    auto it = entries().constFind(mimeType);
    if (it == entries().constEnd())
        return {};
    // A name that is not valid in the locale's encoding cannot reach a program as %i.
    const QString input = QFile::decodeName(nativePath);
    if (QFile::encodeName(input) != nativePath)
        return {};
    QDir().mkpath(scratchFolder);
    QTemporaryFile output(scratchFolder + QStringLiteral("/xz-thumb-XXXXXX.png"));
    if (!output.open())
        return {};
    output.close();
    QStringList words = QProcess::splitCommand(it->exec);
    if (words.isEmpty())
        return {};
    QStringList args;
    for (const QString &word : words) {
        QString w = word;
        w.replace(QStringLiteral("%%"), QStringLiteral("\x01"));
        w.replace(QStringLiteral("%s"), QString::number(pixels));
        w.replace(QStringLiteral("%u"), QString::fromLatin1(uri));
        w.replace(QStringLiteral("%i"), input);
        w.replace(QStringLiteral("%o"), output.fileName());
        w.replace(QStringLiteral("\x01"), QStringLiteral("%"));
        args.append(w);
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(args.takeFirst(), args);
    if (!process.waitForFinished(TimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QImage(output.fileName());
}

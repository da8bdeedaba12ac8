// MimeTypeText: MIME look-up by name and content, Chinese comments from the MIME XML files.
#include "platform/mimetypetext.h"

#include "platform/nativefile.h"
#include "platform/shellitemdata.h"

#include <QFile>
#include <QHash>
#include <QMimeDatabase>
#include <QMutex>
#include <QStandardPaths>
#include <QVector>
#include <QXmlStreamReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes read from a file whose name does not decide its type; the MIME magic rules of
// common types look within the first few hundred bytes.
constexpr int ContentSniffBytes = 512;

const QString ApplicationText = QStringLiteral("应用程序");

struct Entry {
    QString mimeName;
    QString text;
};

struct Table {
    QMutex mutex;
    QVector<Entry> entries;         // index 0 unused, 1 = programs
    QHash<QString, quint16> byMime; // MIME name -> index
    QHash<QString, QString> comments;
};

Table &table() {
    static Table *t = [] {
        auto *t = new Table;
        t->entries.append(Entry{});
        t->entries.append(Entry{QStringLiteral("application/x-executable"), ApplicationText});
        return t;
    }();
    return *t;
}

QString readChineseComment(const QString &mimeName) {
    QString file =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("mime/") + mimeName + QStringLiteral(".xml"));
    if (file.isEmpty())
        return {};
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&f);
    QString fallback;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"comment")
            continue;
        QStringView lang = xml.attributes().value(QStringLiteral("xml:lang"));
        if (lang == u"zh_CN")
            return xml.readElementText();
        if (lang == u"zh")
            fallback = xml.readElementText();
    }
    return fallback;
}

QByteArray readHead(const QByteArray &path, int bytes) {
    int fd = open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return {};
    QByteArray head(bytes, Qt::Uninitialized);
    ssize_t n = read(fd, head.data(), size_t(bytes));
    close(fd);
    head.truncate(n > 0 ? n : 0);
    return head;
}

bool isDesktopApplication(const QByteArray &path) {
    QByteArray content = NativeFile::read(path, 64 * 1024);
    for (const QByteArray &raw : content.split('\n')) {
        QByteArray line = raw.trimmed();
        if (line.startsWith("Type") && line.contains('='))
            return line.mid(line.indexOf('=') + 1).trimmed() == "Application";
    }
    return false;
}

QString mimeNameFor(const ShellItemData &item) {
    if (item.flags & (ShellItemData::Directory | ShellItemData::LinkToFolder))
        return QStringLiteral("inode/directory");
    if (item.flags & ShellItemData::BrokenLink)
        return QStringLiteral("inode/symlink");
    if (!(item.flags & ShellItemData::Stated))
        return QStringLiteral("application/octet-stream");
    if (S_ISCHR(item.mode))
        return QStringLiteral("inode/chardevice");
    if (S_ISBLK(item.mode))
        return QStringLiteral("inode/blockdevice");
    if (S_ISFIFO(item.mode))
        return QStringLiteral("inode/fifo");
    if (S_ISSOCK(item.mode))
        return QStringLiteral("inode/socket");
    static QMimeDatabase db;
    QString name = QFile::decodeName(item.name);
    QList<QMimeType> byName = db.mimeTypesForFileName(name);
    if (byName.size() == 1)
        return byName.first().name();
    if (item.size == 0 && byName.isEmpty())
        return QStringLiteral("application/x-zerosize");
    QByteArray head = readHead(item.path(), ContentSniffBytes);
    return db.mimeTypeForFileNameAndData(name, head).name();
}

bool isProgram(const ShellItemData &item) {
    if (item.flags & ShellItemData::DesktopLink)
        return isDesktopApplication(item.path());
    if (!(item.flags & ShellItemData::Executable))
        return false;
    QByteArray head = readHead(item.path(), 4);
    return head.startsWith("\x7f"
                           "ELF") ||
           head.startsWith("#!");
}

} // namespace

QString MimeTypeText::chineseComment(const QString &mimeName) {
    Table &t = table();
    {
        QMutexLocker lock(&t.mutex);
        auto it = t.comments.constFind(mimeName);
        if (it != t.comments.constEnd())
            return *it;
    }
    QString text = readChineseComment(mimeName);
    if (text.isEmpty()) {
        QMimeDatabase db;
        QMimeType type = db.mimeTypeForName(mimeName);
        if (type.isValid() && type.name() != mimeName)
            text = readChineseComment(type.name());
        if (text.isEmpty())
            text = type.isValid() ? type.comment() : mimeName;
    }
    QMutexLocker lock(&t.mutex);
    t.comments.insert(mimeName, text);
    return text;
}

quint16 MimeTypeText::indexFor(const ShellItemData &item) {
    quint16 index = item.mimeIndex.load(std::memory_order_relaxed);
    if (index)
        return index;
    if (isProgram(item)) {
        item.mimeIndex.store(ApplicationIndex, std::memory_order_relaxed);
        return ApplicationIndex;
    }
    QString mime = mimeNameFor(item);
    Table &t = table();
    {
        QMutexLocker lock(&t.mutex);
        auto it = t.byMime.constFind(mime);
        if (it != t.byMime.constEnd()) {
            item.mimeIndex.store(*it, std::memory_order_relaxed);
            return *it;
        }
    }
    QString text = chineseComment(mime);
    QMutexLocker lock(&t.mutex);
    auto it = t.byMime.constFind(mime);
    if (it == t.byMime.constEnd()) {
        if (t.entries.size() >= 0xffff)
            return 0;
        t.entries.append(Entry{mime, text});
        it = t.byMime.insert(mime, quint16(t.entries.size() - 1));
    }
    item.mimeIndex.store(*it, std::memory_order_relaxed);
    return *it;
}

QString MimeTypeText::textAt(quint16 index) {
    Table &t = table();
    QMutexLocker lock(&t.mutex);
    return index > 0 && index < t.entries.size() ? t.entries[index].text : QString();
}

QString MimeTypeText::mimeNameAt(quint16 index) {
    Table &t = table();
    QMutexLocker lock(&t.mutex);
    return index > 0 && index < t.entries.size() ? t.entries[index].mimeName
                                                 : QStringLiteral("application/octet-stream");
}

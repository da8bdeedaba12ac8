// ThumbnailCache: cache look-up with the URI/MTime rules, PNG writing, pooled generation.
#include "platform/thumbnailcache.h"

#include "platform/nativefile.h"
#include "platform/thumbnailers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThreadPool>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Shared with the pool's tasks: the owner is cleared (under the mutex) before it goes.
struct ThumbnailJobs {
    std::atomic<quint64> generation{0};
    QMutex mutex;
    ThumbnailCache *owner = nullptr;
    QThreadPool pool;
};

namespace {

struct CacheFolder {
    const char *name;
    int pixels;
};
// Smallest first: the first folder whose size covers the cell is the one to write.
constexpr CacheFolder CacheFolders[] = {
    {"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};

const QString FailFolder = QStringLiteral("fail/xingzhou");

// The characters a file URI keeps unescaped in its path, as the desktop's own libraries
// write them (the cache file name is the MD5 of the URI, so the bytes must agree).
const QByteArray UriSafe = QByteArrayLiteral("!$&'()*+,-./:=@_~");

// Cached thumbnails are small; a file far bigger than this is not a thumbnail.
constexpr qint64 MaxThumbnailFileBytes = 8 * 1024 * 1024;

quint32 bigEndian32(const char *p) {
    auto *u = reinterpret_cast<const uchar *>(p);
    return (quint32(u[0]) << 24) | (quint32(u[1]) << 16) | (quint32(u[2]) << 8) | u[3];
}

QByteArray inflate(const QByteArray &zlibData) {
    // qUncompress wants the expected size in front; it grows the buffer when it is short.
    QByteArray framed(4, 0);
    framed[2] = char(0x10);
    return qUncompress(framed + zlibData);
}

// The text chunks (tEXt, zTXt, iTXt) of a PNG before its image data. Qt's own reader
// splits keys at ':' and so cannot return "Thumb::URI".
QHash<QByteArray, QByteArray> pngTexts(const QByteArray &png) {
    QHash<QByteArray, QByteArray> texts;
    if (!png.startsWith("\x89PNG\r\n\x1a\n"))
        return texts;
    qsizetype pos = 8;
    while (pos + 12 <= png.size()) {
        quint32 length = bigEndian32(png.constData() + pos);
        QByteArray type = png.mid(pos + 4, 4);
        if (length > quint32(png.size() - pos - 12) || type == "IDAT" || type == "IEND")
            break;
        QByteArray data = png.mid(pos + 8, length);
        pos += 12 + qsizetype(length);
        qsizetype nul = data.indexOf('\0');
        if (nul <= 0)
            continue;
        QByteArray key = data.left(nul);
        if (type == "tEXt") {
            texts.insert(key, data.mid(nul + 1));
        } else if (type == "zTXt" && data.size() > nul + 2) {
            texts.insert(key, inflate(data.mid(nul + 2)));
        } else if (type == "iTXt" && data.size() > nul + 3) {
            bool compressed = data[nul + 1] != 0;
            qsizetype lang = data.indexOf('\0', nul + 3);
            qsizetype translated = lang < 0 ? -1 : data.indexOf('\0', lang + 1);
            if (translated < 0)
                continue;
            QByteArray text = data.mid(translated + 1);
            texts.insert(key, compressed ? inflate(text) : text);
        }
    }
    return texts;
}

qint64 mtimeSecsOf(const ShellItem &item) {
    qint64 ms = item.modifiedMSecs();
    return ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
}

} // namespace

ThumbnailCache::ThumbnailCache(QObject *parent, const QString &cacheRoot)
    : QObject(parent), m_root(cacheRoot), m_jobs(std::make_shared<ThumbnailJobs>()) {
    m_jobs->owner = this;
    m_jobs->pool.setMaxThreadCount(GeneratorThreads);
}

ThumbnailCache::~ThumbnailCache() {
    cancelAll();
    {
        QMutexLocker lock(&m_jobs->mutex);
        m_jobs->owner = nullptr;
    }
    // Running tasks use this object's settings; let the (at most two) running decodes end.
    m_jobs->pool.waitForDone();
}

QString ThumbnailCache::defaultRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails");
}

QString ThumbnailCache::folderForCell(int cellPixels) {
    for (const CacheFolder &f : CacheFolders)
        if (f.pixels >= cellPixels)
            return QString::fromLatin1(f.name);
    return QString::fromLatin1(CacheFolders[std::size(CacheFolders) - 1].name);
}

int ThumbnailCache::folderPixels(const QString &folder) {
    for (const CacheFolder &f : CacheFolders)
        if (folder == QLatin1String(f.name))
            return f.pixels;
    return 0;
}

QByteArray ThumbnailCache::uriOf(const QByteArray &nativePath) {
    return "file://" + nativePath.toPercentEncoding(UriSafe);
}

QString ThumbnailCache::cacheFileName(const QByteArray &uri) {
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

QHash<QByteArray, QByteArray> ThumbnailCache::thumbnailTexts(const QString &pngFile) {
    return pngTexts(NativeFile::read(QFile::encodeName(pngFile), MaxThumbnailFileBytes));
}

bool ThumbnailCache::isInsideCache(const QByteArray &nativePath) const {
    QByteArray root = QFile::encodeName(m_root);
    return nativePath == root || nativePath.startsWith(root + '/');
}

bool ThumbnailCache::canThumbnail(const ShellItem &item) const {
    if (!item.isFileSystem() || item.isFolder() || !item.exists() || item.size() <= 0 ||
        item.size() > MaxSourceBytes || (!S_ISREG(item.mode()) && !item.isSymLink()))
        return false;
    if (isInsideCache(item.nativePath()))
        return false;
    static const QList<QByteArray> types = QImageReader::supportedMimeTypes();
    const QString mime = item.mimeTypeName();
    return types.contains(mime.toLatin1()) || Thumbnailers::canHandle(mime);
}

QImage ThumbnailCache::readValid(const QString &file, const QByteArray &uri,
                                 qint64 mtimeSecs) const {
    const QByteArray png = NativeFile::read(QFile::encodeName(file), MaxThumbnailFileBytes);
    const QHash<QByteArray, QByteArray> texts = pngTexts(png);
    // Another program's thumbnail of an older version, or of another file with the same
    // hash, must not be shown.
    bool ok = false;
    qint64 mtime = texts.value("Thumb::MTime").trimmed().toLongLong(&ok);
    if (texts.value("Thumb::URI") != uri || !ok || mtime != mtimeSecs)
        return {};
    return QImage::fromData(png, "PNG");
}

QImage ThumbnailCache::lookup(const ShellItem &item, int cellPixels) const {
    if (!item.isFileSystem() || isInsideCache(item.nativePath()))
        return {};
    const QByteArray uri = uriOf(item.nativePath());
    const QString name = cacheFileName(uri);
    const qint64 mtime = mtimeSecsOf(item);
    for (const CacheFolder &f : CacheFolders) {
        if (f.pixels < cellPixels)
            continue;
        QString file = m_root + QLatin1Char('/') + QLatin1String(f.name) + QLatin1Char('/') + name;
        if (!QFile::exists(file))
            continue;
        QImage image = readValid(file, uri, mtime);
        if (!image.isNull())
            return image;
    }
    return {};
}

bool ThumbnailCache::hasFailed(const ShellItem &item) const {
    const QByteArray uri = uriOf(item.nativePath());
    QString file = m_root + QLatin1Char('/') + FailFolder + QLatin1Char('/') + cacheFileName(uri);
    return QFile::exists(file) && !readValid(file, uri, mtimeSecsOf(item)).isNull();
}

bool ThumbnailCache::store(const QString &folder, const QByteArray &uri, qint64 mtimeSecs,
                           const QImage &image, qint64 sourceSize) const {
    // The cache holds private data of the user: folders 0700, files 0600.
    QString dir = m_root + QLatin1Char('/') + folder;
    if (!QDir().mkpath(dir))
        return false;
    chmod(QFile::encodeName(m_root).constData(), 0700);
    chmod(QFile::encodeName(dir).constData(), 0700);
    QImage out = image;
    out.setText(QStringLiteral("Thumb::URI"), QString::fromUtf8(uri));
    out.setText(QStringLiteral("Thumb::MTime"), QString::number(mtimeSecs));
    if (sourceSize >= 0)
        out.setText(QStringLiteral("Thumb::Size"), QString::number(sourceSize));
    out.setText(QStringLiteral("Software"), QStringLiteral("xingzhou"));
    // Written under a temporary name and renamed, so readers never see half a PNG.
    QSaveFile file(dir + QLatin1Char('/') + cacheFileName(uri));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QImageWriter writer(&file, "png");
    if (!writer.write(out)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void ThumbnailCache::storeFailure(const QByteArray &uri, qint64 mtimeSecs) const {
    QImage marker(1, 1, QImage::Format_ARGB32);
    marker.fill(Qt::transparent);
    store(FailFolder, uri, mtimeSecs, marker, -1);
}

QImage ThumbnailCache::generate(const ShellItem &item, int cellPixels) const {
    if (!canThumbnail(item))
        return {};
    const QByteArray path = item.nativePath();
    const QByteArray uri = uriOf(path);
    const qint64 mtime = mtimeSecsOf(item);
    const QString folder = folderForCell(cellPixels);
    const int pixels = folderPixels(folder);

    static const QList<QByteArray> decodable = QImageReader::supportedMimeTypes();
    const QString mime = item.mimeTypeName();
    if (!decodable.contains(mime.toLatin1())) {
        // Kept out of the thumbnail folders so other programs never take it for a thumbnail.
        QImage image =
            Thumbnailers::run(mime, path, uri, pixels, m_root + QStringLiteral("/.xz-work"));
        if (image.isNull()) {
            storeFailure(uri, mtime);
            return {};
        }
        if (image.width() > pixels || image.height() > pixels)
            image = image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        store(folder, uri, mtime, image, item.size());
        return image;
    }

    int fd = open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    QFile source;
    if (fd < 0 || !source.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        if (fd >= 0)
            close(fd);
        return {};
    }
    QImageReader reader(&source);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid() && (size.width() > pixels || size.height() > pixels))
        reader.setScaledSize(size.scaled(pixels, pixels, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull()) {
        storeFailure(uri, mtime);
        return {};
    }
    if (image.width() > pixels || image.height() > pixels)
        image = image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (size.isValid()) {
        image.setText(QStringLiteral("Thumb::Image::Width"), QString::number(size.width()));
        image.setText(QStringLiteral("Thumb::Image::Height"), QString::number(size.height()));
    }
    store(folder, uri, mtime, image, item.size());
    return image;
}

void ThumbnailCache::request(const ShellItem &item, int cellPixels) {
    std::shared_ptr<ThumbnailJobs> jobs = m_jobs;
    const quint64 generation = jobs->generation.load();
    jobs->pool.start([this, jobs, generation, item, cellPixels] {
        if (jobs->generation.load() != generation)
            return;
        QImage image = lookup(item, cellPixels);
        if (image.isNull() && !hasFailed(item))
            image = generate(item, cellPixels);
        QMutexLocker lock(&jobs->mutex);
        ThumbnailCache *owner = jobs->owner;
        if (!owner || jobs->generation.load() != generation)
            return;
        QByteArray path = item.nativePath();
        QMetaObject::invokeMethod(
            owner,
            [owner, jobs, generation, path, image] {
                if (jobs->generation.load() != generation)
                    return;
                if (image.isNull())
                    emit owner->thumbnailFailed(path);
                else
                    emit owner->thumbnailReady(path, image);
            },
            Qt::QueuedConnection);
    });
}

void ThumbnailCache::cancelAll() {
    ++m_jobs->generation;
    m_jobs->pool.clear();
}

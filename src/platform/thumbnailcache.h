// ThumbnailCache: the shared freedesktop thumbnail cache, read and filled off the UI thread.
#pragma once

#include "platform/shellitem.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>

#include <memory>

struct ThumbnailJobs;

// Finds and makes thumbnails in the freedesktop thumbnail cache ($XDG_CACHE_HOME/thumbnails
// with normal 128, large 256, x-large 512 and xx-large 1024 folders and fail/), so other
// programs reuse ours and we reuse theirs. A cached PNG is used only when its Thumb::URI
// names the file and its Thumb::MTime equals the file's modification time, and only from a
// folder at least as large as the cell (an undersized thumbnail is never blown up). Files
// inside the cache itself never get thumbnails.
//
// The object lives on the user-interface thread; lookups there only read small PNG files
// on demand; generation runs on a private thread pool. thumbnailReady()/thumbnailFailed()
// come on the object's thread, at most once per request; cancelAll() drops every pending
// request and no signal of them follows.
class ThumbnailCache : public QObject {
    Q_OBJECT
public:
    // Files larger than this are not decoded for a thumbnail: decoding would take long and
    // use much memory for an image the user only glances at.
    static constexpr qint64 MaxSourceBytes = 100 * 1024 * 1024;
    // Generation threads: image decoding is CPU-bound and the UI must stay responsive.
    static constexpr int GeneratorThreads = 2;

    explicit ThumbnailCache(QObject *parent = nullptr, const QString &cacheRoot = defaultRoot());
    ~ThumbnailCache() override;

    static QString defaultRoot();
    QString cacheRoot() const { return m_root; }

    // The cache folder name ("normal", "large", "x-large", "xx-large") whose size covers a
    // cell of `cellPixels`, and that size.
    static QString folderForCell(int cellPixels);
    static int folderPixels(const QString &folder);
    // The file:// URI of a path (percent-encoded bytes) and the cache file name (MD5 of the
    // URI in hex, ".png").
    static QByteArray uriOf(const QByteArray &nativePath);
    static QString cacheFileName(const QByteArray &uri);

    // The text chunks of a cached PNG ("Thumb::URI" -> "file:///...").
    static QHash<QByteArray, QByteArray> thumbnailTexts(const QString &pngFile);

    bool isInsideCache(const QByteArray &nativePath) const;
    // Whether a thumbnail can be made for the item (a readable image type we decode, not in
    // the cache, not too big).
    bool canThumbnail(const ShellItem &item) const;

    // A valid cached thumbnail for a cell, or a null image. Reads from disk; cheap enough
    // for the visible cells.
    QImage lookup(const ShellItem &item, int cellPixels) const;
    // True when a failure record matches the file's current modification time.
    bool hasFailed(const ShellItem &item) const;

    // Looks up or makes the thumbnail on the thread pool; the answer comes as a signal.
    void request(const ShellItem &item, int cellPixels);
    void cancelAll();

    // Makes and stores a thumbnail synchronously (used by the pool, and by tests).
    QImage generate(const ShellItem &item, int cellPixels) const;

signals:
    void thumbnailReady(const QByteArray &nativePath, const QImage &image);
    void thumbnailFailed(const QByteArray &nativePath);

private:
    QImage readValid(const QString &file, const QByteArray &uri, qint64 mtimeSecs) const;
    bool store(const QString &folder, const QByteArray &uri, qint64 mtimeSecs, const QImage &image,
               qint64 sourceSize) const;
    void storeFailure(const QByteArray &uri, qint64 mtimeSecs) const;

    QString m_root;
    std::shared_ptr<ThumbnailJobs> m_jobs;
};

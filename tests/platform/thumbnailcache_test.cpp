// Tests of ThumbnailCache: reuse rules of the shared cache, writing, failures, requests.
#include "platformfixture.h"

#include "platform/iconprovider.h"
#include "platform/thumbnailcache.h"
#include "platform/thumbnailers.h"

#include <QDir>
#include <QImageReader>
#include <QSignalSpy>

#include <gtest/gtest.h>
#include <utime.h>

namespace {

class ThumbnailCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        QImage picture(600, 400, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(QString::fromUtf8(files.path("photo one.png")), "PNG"));
    }
    ShellItem photo() const { return ShellItem::fromPath(files.path("photo one.png")); }
    QString cached(const char *folder, const ShellItem &item) const {
        return QString::fromUtf8(cacheDir.root()) + '/' + folder + '/' +
               ThumbnailCache::cacheFileName(ThumbnailCache::uriOf(item.nativePath()));
    }
    // A thumbnail as another program would have left it.
    void writeForeign(const char *folder, const ShellItem &item, const QByteArray &uri,
                      qint64 mtime, int pixels) const {
        QDir().mkpath(QString::fromUtf8(cacheDir.path(folder)));
        QImage thumb(pixels, pixels * 2 / 3, QImage::Format_RGB32);
        thumb.fill(Qt::red);
        thumb.setText(QStringLiteral("Thumb::URI"), QString::fromUtf8(uri));
        thumb.setText(QStringLiteral("Thumb::MTime"), QString::number(mtime));
        ASSERT_TRUE(thumb.save(cached(folder, item), "PNG"));
    }

    TempTree files;
    TempTree cacheDir;
};

TEST_F(ThumbnailCacheTest, UriAndFolderRules) {
    EXPECT_EQ(ThumbnailCache::uriOf("/tmp/a b/\xe4\xb8\xad.png"),
              QByteArray("file:///tmp/a%20b/%E4%B8%AD.png"));
    EXPECT_EQ(ThumbnailCache::cacheFileName("file:///home/jens/photos/me.png"),
              QStringLiteral("c6ee772d9e49320e97ec29a7eb5b1697.png"));
    EXPECT_EQ(ThumbnailCache::folderForCell(100), QStringLiteral("normal"));
    EXPECT_EQ(ThumbnailCache::folderForCell(198), QStringLiteral("large"));
    EXPECT_EQ(ThumbnailCache::folderForCell(400), QStringLiteral("x-large"));
}

TEST_F(ThumbnailCacheTest, GeneratedThumbnailIsStoredAndReusedBySize) {
    ThumbnailCache cache(nullptr, QString::fromUtf8(cacheDir.root()));
    ShellItem item = photo();
    ASSERT_TRUE(cache.canThumbnail(item));
    QImage made = cache.generate(item, 198);
    ASSERT_FALSE(made.isNull());
    EXPECT_EQ(made.width(), 256);

    const auto texts = ThumbnailCache::thumbnailTexts(cached("large", item));
    EXPECT_EQ(texts.value("Thumb::URI"), ThumbnailCache::uriOf(item.nativePath()));
    EXPECT_EQ(texts.value("Thumb::MTime").toLongLong(), item.modifiedMSecs() / 1000);
    EXPECT_EQ(texts.value("Thumb::Size").toLongLong(), item.size());
    EXPECT_EQ(QFileInfo(cached("large", item)).permissions() & 0x0077, QFile::Permissions());

    EXPECT_FALSE(cache.lookup(item, 198).isNull());
    EXPECT_FALSE(cache.lookup(item, 100).isNull()); // a bigger thumbnail serves a small cell
    EXPECT_TRUE(cache.lookup(item, 400).isNull());  // an undersized one is not blown up

    // A newer file makes the stored thumbnail stale.
    struct utimbuf later {
        time_t(item.modifiedMSecs() / 1000 + 100), time_t(item.modifiedMSecs() / 1000 + 100)
    };
    utime(item.nativePath().constData(), &later);
    EXPECT_TRUE(cache.lookup(item.refreshed(), 198).isNull());
}

TEST_F(ThumbnailCacheTest, ForeignEntriesAreCheckedBeforeReuse) {
    ThumbnailCache cache(nullptr, QString::fromUtf8(cacheDir.root()));
    ShellItem item = photo();
    const QByteArray uri = ThumbnailCache::uriOf(item.nativePath());
    const qint64 mtime = item.modifiedMSecs() / 1000;
    writeForeign("normal", item, uri, mtime, 128);
    EXPECT_FALSE(cache.lookup(item, 128).isNull());
    writeForeign("normal", item, "file:///somewhere/else.png", mtime, 128);
    EXPECT_TRUE(cache.lookup(item, 128).isNull());
    writeForeign("normal", item, uri, mtime - 1, 128);
    EXPECT_TRUE(cache.lookup(item, 128).isNull());

    // Files inside the cache never get thumbnails.
    ShellItem inside = ShellItem::fromPath(cached("normal", item));
    EXPECT_FALSE(cache.canThumbnail(inside));
    EXPECT_TRUE(cache.lookup(inside, 128).isNull());
}

TEST_F(ThumbnailCacheTest, BrokenImageIsRecordedAsFailedAndRequestsAnswer) {
    ThumbnailCache cache(nullptr, QString::fromUtf8(cacheDir.root()));
    ShellItem broken = ShellItem::fromPath(files.file("broken.png", "not a png at all"));
    EXPECT_TRUE(cache.generate(broken, 128).isNull());
    EXPECT_TRUE(cache.hasFailed(broken));
    EXPECT_FALSE(cache.hasFailed(photo()));

    QSignalSpy ready(&cache, &ThumbnailCache::thumbnailReady);
    QSignalSpy failed(&cache, &ThumbnailCache::thumbnailFailed);
    cache.request(photo(), 198);
    cache.request(broken, 198);
    ASSERT_TRUE(waitUntil([&] { return ready.count() == 1 && failed.count() == 1; }));
    EXPECT_EQ(ready.first().at(0).toByteArray(), photo().nativePath());
    EXPECT_EQ(failed.first().at(0).toByteArray(), broken.nativePath());

    cache.cancelAll();
    cache.request(photo(), 100);
    cache.cancelAll();
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(ready.count(), 1);
}

TEST(IconProvider, ThemeIconsForItems) {
    TempTree tree;
    ShellItem text = ShellItem::fromPath(tree.file("a.txt", "x"));
    ShellItem folder = ShellItem::fromPath(tree.folder("d"));
    EXPECT_EQ(IconProvider::iconNameFor(folder), QStringLiteral("folder"));
    EXPECT_EQ(IconProvider::iconNameFor(ShellItem::trash()), QStringLiteral("user-trash"));
    EXPECT_NE(QIcon::themeName(), QStringLiteral("hicolor"));
    EXPECT_FALSE(QIcon::themeName().isEmpty());
    EXPECT_FALSE(IconProvider::iconFor(text).isNull());
    EXPECT_FALSE(IconProvider::iconFor(folder).isNull());
}

} // namespace

namespace {

// Types Qt cannot decode go through the desktop's installed thumbnailer programs.
TEST(Thumbnailers, SvgThroughAnInstalledThumbnailer) {
    if (!Thumbnailers::canHandle(QStringLiteral("image/svg+xml")))
        GTEST_SKIP() << "no SVG thumbnailer installed";
    TempTree files, cacheDir;
    ShellItem svg = ShellItem::fromPath(files.file(
        "drawing.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='400' height='200'>"
                       "<rect width='400' height='200' fill='green'/></svg>"));
    ThumbnailCache cache(nullptr, QString::fromUtf8(cacheDir.root()));
    ASSERT_TRUE(cache.canThumbnail(svg));
    QImage made = cache.generate(svg, 128);
    ASSERT_FALSE(made.isNull());
    EXPECT_LE(made.width(), 128);
    EXPECT_FALSE(cache.lookup(svg, 128).isNull());
}

} // namespace

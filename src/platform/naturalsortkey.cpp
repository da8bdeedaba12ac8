// ICU collation keys with numeric ordering, one collator clone per thread.
#include "platform/naturalsortkey.h"

#include <QLocale>
#include <QMutex>

#include <memory>
#include <unicode/ucol.h>

namespace {

// Enough for the keys of common names; longer keys grow the buffer once.
constexpr int InitialKeyCapacity = 256;

struct CollatorDeleter {
    void operator()(UCollator *c) const {
        if (c)
            ucol_close(c);
    }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorDeleter>;

QMutex templateMutex;
QString templateLocale;
CollatorPtr templateCollator;
int templateVersion = 0;

CollatorPtr openCollator(const QString &localeName) {
    UErrorCode status = U_ZERO_ERROR;
    QByteArray loc = localeName.toLatin1();
    UCollator *c = ucol_open(loc.constData(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        c = ucol_open("", &status);
    }
    if (!c)
        return {};
    status = U_ZERO_ERROR;
    ucol_setAttribute(c, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    return CollatorPtr(c);
}

// Returns a clone of the process-wide collator for this thread, renewed when the locale
// changes.
UCollator *threadCollator() {
    thread_local CollatorPtr local;
    thread_local int localVersion = -1;
    QMutexLocker lock(&templateMutex);
    if (!templateCollator) {
        if (templateLocale.isEmpty())
            templateLocale = QLocale().name();
        templateCollator = openCollator(templateLocale);
        ++templateVersion;
    }
    if (!local || localVersion != templateVersion) {
        UErrorCode status = U_ZERO_ERROR;
        local.reset(ucol_clone(templateCollator.get(), &status));
        localVersion = templateVersion;
    }
    return local.get();
}

} // namespace

void NaturalSortKey::setLocaleName(const QString &localeName) {
    QMutexLocker lock(&templateMutex);
    templateLocale = localeName;
    templateCollator.reset();
}

QByteArray NaturalSortKey::forName(const QString &name) {
    return forName(reinterpret_cast<const char16_t *>(name.utf16()), name.size());
}

QByteArray NaturalSortKey::forName(const char16_t *text, qsizetype length) {
    UCollator *c = threadCollator();
    if (!c)
        return QString::fromUtf16(text, length).toUtf8();
    auto *src = reinterpret_cast<const UChar *>(text);
    uint8_t buffer[InitialKeyCapacity];
    int32_t needed = ucol_getSortKey(c, src, int32_t(length), buffer, InitialKeyCapacity);
    // The key ends in a NUL byte that memcmp ordering does not need.
    if (needed <= InitialKeyCapacity)
        return QByteArray(reinterpret_cast<const char *>(buffer), needed > 0 ? needed - 1 : 0);
    QByteArray key(needed, Qt::Uninitialized);
    ucol_getSortKey(c, src, int32_t(length), reinterpret_cast<uint8_t *>(key.data()), needed);
    key.chop(1);
    return key;
}

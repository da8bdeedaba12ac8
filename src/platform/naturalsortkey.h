// Locale-aware natural sort keys ("file2" before "file10") for listing order.
#pragma once

#include <QByteArray>
#include <QString>

// Produces byte keys whose memcmp order is the collation order of the user's locale with
// digits compared as numbers. Keys are computed once per name so sorting a large folder
// compares bytes instead of running the collator per comparison.
// Thread-safe: every thread uses its own clone of the collator.
class NaturalSortKey {
public:
    // The locale whose collation is used (default: QLocale() at first use). Call before
    // keys are made; keys made under different locales must not be compared.
    static void setLocaleName(const QString &localeName);
    static QByteArray forName(const QString &name);
    static QByteArray forName(const char16_t *text, qsizetype length);
};

// Builds the case-folding and word-boundary tables once.
#include "search/chartables.h"

#include <clocale>
#include <cwctype>
#include <locale.h>
#include <memory>
#include <wctype.h>

namespace {

// Bytes 0x80..0x9F of Windows-1252; the rest of the upper half equals Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// Lower case and alphanumeric test for one UTF-16 unit, from the C.UTF-8 locale when it exists.
class WideClassifier {
public:
    WideClassifier() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {}
    ~WideClassifier() {
        if (locale_)
            freelocale(locale_);
    }
    WideClassifier(const WideClassifier &) = delete;
    WideClassifier &operator=(const WideClassifier &) = delete;

    char16_t lower(char16_t unit) const {
        if (unit >= 0xD800 && unit <= 0xDFFF)
            return unit;
        if (locale_) {
            const wint_t folded = towlower_l(unit, locale_);
            return folded <= 0xFFFF ? static_cast<char16_t>(folded) : unit;
        }
        return fallbackLower(unit);
    }

    bool isAlphaNumeric(char16_t unit) const {
        if (unit == 0 || (unit >= 0xD800 && unit <= 0xDFFF))
            return false;
        if (locale_)
            return iswalnum_l(unit, locale_) != 0;
        return fallbackAlphaNumeric(unit);
    }

private:
    static char16_t fallbackLower(char16_t unit) {
        if ((unit >= 'A' && unit <= 'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7))
            return unit + 0x20;
        if (unit == 0x160 || unit == 0x152 || unit == 0x17D)
            return unit + 1;
        if (unit == 0x178)
            return 0xFF;
        return unit;
    }
    static bool fallbackAlphaNumeric(char16_t unit) {
        if ((unit >= '0' && unit <= '9') || (unit >= 'A' && unit <= 'Z') ||
            (unit >= 'a' && unit <= 'z'))
            return true;
        return unit >= 0xC0 && unit != 0xD7 && unit != 0xF7 && unit < 0x2000;
    }

    locale_t locale_;
};

TCharTables *MakeTables() {
    auto *tables = new TCharTables;
    const WideClassifier classifier;
    for (unsigned u = 0; u < 65536; ++u) {
        const auto unit = static_cast<char16_t>(u);
        tables->WideIdentityTable[u] = unit;
        tables->WideLowerTable[u] = classifier.lower(unit);
        tables->WideDelimiterTable[u] = classifier.isAlphaNumeric(unit) ? 0 : 1;
    }
    for (unsigned b = 0; b < 256; ++b) {
        const char16_t unit = Cp1252ToUnicode(static_cast<uint8_t>(b));
        tables->AnsiIdentityTable[b] = static_cast<uint8_t>(b);
        const int lowerByte = UnicodeToCp1252(tables->WideLowerTable[unit]);
        tables->AnsiLowerTable[b] = unit == 0xFFFD || lowerByte < 0
                                        ? static_cast<uint8_t>(b)
                                        : static_cast<uint8_t>(lowerByte);
        tables->AnsiDelimiterTable[b] = unit == 0xFFFD ? 1 : tables->WideDelimiterTable[unit];
    }
    return tables;
}

// Module initialisation: the tables exist before any search can start.
[[maybe_unused]] const TCharTables &gTablesAtStartup = BuildCharTables();

} // namespace

const TCharTables &BuildCharTables() {
    // Never freed: worker threads may still read the tables while static objects are destroyed.
    static const TCharTables *const tables = MakeTables();
    return *tables;
}

char16_t Cp1252ToUnicode(uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return kCp1252High[byte - 0x80];
    return byte;
}

int UnicodeToCp1252(char32_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<int>(ch);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == ch && ch != 0xFFFD)
            return 0x80 + i;
    return -1;
}

// A search phrase in the three encodings that text files use.
#include "search/stringvariants.h"

#include "search/chartables.h"
#include "search/utf8text.h"

TStringVariants MakeStringVariants(std::string_view phrase) {
    TStringVariants variants;
    variants.Utf8 = std::string(phrase);
    variants.Unicode = Utf8ToUtf16(phrase);
    for (size_t pos = 0; pos < phrase.size();) {
        const int byte = UnicodeToCp1252(DecodeUtf8Char(phrase, pos));
        if (byte < 0) {
            variants.Ansi.push_back('?');
            variants.AnsiComplete = false;
        } else {
            variants.Ansi.push_back(static_cast<char>(byte));
        }
    }
    return variants;
}

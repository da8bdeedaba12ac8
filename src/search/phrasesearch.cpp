// Phrase search inside files: single-byte, UTF-16 and UTF-8 text, chosen by the byte-order mark.
#include "search/phrasesearch.h"

#include "search/phrasescanner.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

// Room kept after a block for the bytes carried over from the previous one.
constexpr size_t kCarryRoom = 64;

std::vector<uint8_t> &ThreadBuffer(size_t phraseBytes) {
    thread_local std::vector<uint8_t> buffer;
    const size_t wanted = kPhraseReadBlock + phraseBytes + kCarryRoom;
    if (buffer.size() < wanted)
        buffer.resize(wanted);
    return buffer;
}

// Runs the scanners over the stream; length bytes of text are already in the buffer, the first
// of them at absolute offset base.
bool RunScanners(TReadStream &stream, std::vector<uint8_t> &buffer, size_t length, long long base,
                 std::initializer_list<TPhraseScanner *> scanners) {
    bool atEnd = false;
    for (;;) {
        for (TPhraseScanner *scanner : scanners)
            if (scanner->Process(buffer.data(), length, base, atEnd))
                return true;
        if (atEnd)
            return false;
        long long keep = base + static_cast<long long>(length);
        for (TPhraseScanner *scanner : scanners)
            keep = std::min(keep, scanner->KeepFrom());
        const size_t drop = static_cast<size_t>(std::clamp<long long>(keep - base, 0, length));
        std::memmove(buffer.data(), buffer.data() + drop, length - drop);
        length -= drop;
        base += static_cast<long long>(drop);
        if (buffer.size() < length + kPhraseReadBlock)
            buffer.resize(length + kPhraseReadBlock);
        const size_t count = stream.Read(buffer.data() + length, kPhraseReadBlock);
        atEnd = count == 0;
        length += count;
    }
}

std::string Utf16Bytes(std::u16string_view phrase, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : phrase) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

bool HostIsBigEndian() {
    const uint16_t probe = 1;
    uint8_t first;
    std::memcpy(&first, &probe, 1);
    return first == 0;
}

bool Result(bool found, TContentSearchOptions options) {
    return found != options.Contains(csoNegate);
}

} // namespace

bool ScanAnsiStream(TReadStream &stream, std::string_view phrase, TContentSearchOptions options) {
    TPhraseScanner scanner(TTextEncoding::Ansi, std::string(phrase), options);
    auto &buffer = ThreadBuffer(phrase.size());
    return Result(RunScanners(stream, buffer, 0, 0, {&scanner}), options);
}

bool ScanUtf16Stream(TReadStream &stream, std::u16string_view phrase, TContentSearchOptions options,
                     bool swapBytes) {
    const bool bigEndian = HostIsBigEndian() != swapBytes;
    TPhraseScanner scanner(bigEndian ? TTextEncoding::Utf16BE : TTextEncoding::Utf16LE,
                           Utf16Bytes(phrase, bigEndian), options);
    auto &buffer = ThreadBuffer(phrase.size() * 2);
    return Result(RunScanners(stream, buffer, 0, 0, {&scanner}), options);
}

bool ScanUtf8Stream(TReadStream &stream, std::string_view phrase, TContentSearchOptions options) {
    TPhraseScanner scanner(TTextEncoding::Utf8, std::string(phrase), options);
    auto &buffer = ThreadBuffer(phrase.size());
    return Result(RunScanners(stream, buffer, 0, 0, {&scanner}), options);
}

namespace {

// Scanners prepared for the phrases this thread searched last: a search tests the same phrase
// in many files, and preparing a scanner (folding classes, folded phrase) costs more than
// scanning a small file.
TPhraseScanner &PreparedScanner(TTextEncoding encoding, const std::string &phrase,
                                TContentSearchOptions options) {
    // Enough for the two scanners of one search plus those of a second search in between.
    constexpr size_t kCachedScanners = 8;
    thread_local std::vector<std::unique_ptr<TPhraseScanner>> cache;
    for (auto it = cache.begin(); it != cache.end(); ++it)
        if ((*it)->PreparedFor(encoding, phrase, options)) {
            // Most recently used last, so the eviction below never drops a scanner that the
            // current file is using.
            std::rotate(it, it + 1, cache.end());
            cache.back()->Restart();
            return *cache.back();
        }
    if (cache.size() >= kCachedScanners)
        cache.erase(cache.begin());
    cache.push_back(std::make_unique<TPhraseScanner>(encoding, phrase, options));
    return *cache.back();
}

bool SearchStream(TFileReadStream &stream, const TStringVariants &variants,
                  TContentSearchOptions options) {
    const size_t phraseBytes = std::max(variants.Utf8.size(), variants.Unicode.size() * 2);
    auto &buffer = ThreadBuffer(phraseBytes);
    const size_t length = stream.Read(buffer.data(), kPhraseReadBlock);
    const uint8_t *head = buffer.data();
    bool found = false;
    if (length >= 2 &&
        ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF))) {
        const bool bigEndian = head[0] == 0xFE;
        const std::string phrase = Utf16Bytes(variants.Unicode, bigEndian);
        TPhraseScanner &scanner = PreparedScanner(
            bigEndian ? TTextEncoding::Utf16BE : TTextEncoding::Utf16LE, phrase, options);
        found = RunScanners(stream, buffer, length, -2, {&scanner});
    } else if (length >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
        TPhraseScanner &scanner = PreparedScanner(TTextEncoding::Utf8, variants.Utf8, options);
        found = RunScanners(stream, buffer, length, -3, {&scanner});
    } else if (!variants.AnsiComplete) {
        TPhraseScanner &utf8 = PreparedScanner(TTextEncoding::Utf8, variants.Utf8, options);
        found = RunScanners(stream, buffer, length, 0, {&utf8});
    } else if (variants.Utf8 != variants.Ansi) {
        TPhraseScanner &ansi = PreparedScanner(TTextEncoding::Ansi, variants.Ansi, options);
        TPhraseScanner &utf8 = PreparedScanner(TTextEncoding::Utf8, variants.Utf8, options);
        found = RunScanners(stream, buffer, length, 0, {&ansi, &utf8});
    } else {
        TPhraseScanner &ansi = PreparedScanner(TTextEncoding::Ansi, variants.Ansi, options);
        found = RunScanners(stream, buffer, length, 0, {&ansi});
    }
    return Result(found, options);
}

} // namespace

bool FindPhraseInFile(const std::string &fileName, const TStringVariants &variants,
                      TContentSearchOptions options) {
    TFileReadStream stream(fileName);
    return SearchStream(stream, variants, options);
}

bool FindPhraseInFile(int dirFd, const char *name, const TStringVariants &variants,
                      TContentSearchOptions options) {
    TFileReadStream stream(dirFd, name);
    return SearchStream(stream, variants, options);
}

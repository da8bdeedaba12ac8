// Phrase search inside files: single-byte, UTF-16 and UTF-8 text, chosen by the byte-order mark.
#include "search/phrasesearch.h"

#include "search/phrasescanner.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
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

bool FindPhraseInFile(const std::string &fileName, const TStringVariants &variants,
                      TContentSearchOptions options) {
    TFileReadStream stream(fileName);
    const size_t phraseBytes = std::max(variants.Utf8.size(), variants.Unicode.size() * 2);
    auto &buffer = ThreadBuffer(phraseBytes);
    const size_t length = stream.Read(buffer.data(), kPhraseReadBlock);
    const uint8_t *head = buffer.data();
    bool found = false;
    if (length >= 2 &&
        ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF))) {
        const bool bigEndian = head[0] == 0xFE;
        TPhraseScanner scanner(bigEndian ? TTextEncoding::Utf16BE : TTextEncoding::Utf16LE,
                               Utf16Bytes(variants.Unicode, bigEndian), options);
        found = RunScanners(stream, buffer, length, -2, {&scanner});
    } else if (length >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
        TPhraseScanner scanner(TTextEncoding::Utf8, variants.Utf8, options);
        found = RunScanners(stream, buffer, length, -3, {&scanner});
    } else {
        const bool alsoUtf8 = variants.Utf8 != variants.Ansi;
        TPhraseScanner ansi(TTextEncoding::Ansi, variants.AnsiComplete ? variants.Ansi : "",
                            options);
        TPhraseScanner utf8(TTextEncoding::Utf8, variants.Utf8, options);
        if (variants.AnsiComplete && alsoUtf8)
            found = RunScanners(stream, buffer, length, 0, {&ansi, &utf8});
        else if (variants.AnsiComplete)
            found = RunScanners(stream, buffer, length, 0, {&ansi});
        else
            found = RunScanners(stream, buffer, length, 0, {&utf8});
    }
    return Result(found, options);
}

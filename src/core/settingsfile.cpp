// SettingsFile: INI parsing, encoding detection and atomic replacement of the file.
#include "core/settingsfile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iconv.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The longest string value a read returns, in characters (the limit of the file format's
// fixed read buffer, kept so values behave the same across implementations).
constexpr std::size_t kMaxStringChars = 2047;

enum class Encoding { Utf8, Utf8Bom, Utf16LeBom, Gb18030 };

struct Line {
    std::string text; // without its line ending
    std::string eol;  // "\r\n", "\n", "\r" or "" for a last line without ending
    bool raw = false; // bytes no supported encoding decodes, kept and written back unchanged
};

struct Document {
    Encoding encoding = Encoding::Utf8;
    std::vector<Line> lines;
    bool existed = false;
    bool lossy = false; // bytes that no supported encoding decodes were dropped
};

bool isValidUtf8(const std::string &s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        unsigned int cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// Converts between encodings with glibc's iconv; nullopt when the input is not valid in `from`.
std::optional<std::string> convert(const std::string &input, const char *from, const char *to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out;
    out.resize(input.size() * 4 + 16);
    char *inPtr = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    char *outPtr = out.data();
    std::size_t outLeft = out.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                const std::size_t used = out.size() - outLeft;
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = out.size() - used;
                continue;
            }
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::optional<std::string> readBytes(const std::string &path) {
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string data;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.append(buf, n);
    std::fclose(f);
    return data;
}

std::string decode(const std::string &bytes, Encoding &encoding, bool &lossy) {
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        encoding = Encoding::Utf8Bom;
        return bytes.substr(3);
    }
    if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
        encoding = Encoding::Utf16LeBom;
        std::string body = bytes.substr(2);
        if (body.size() % 2) {
            body.pop_back();
            lossy = true;
        }
        if (auto text = convert(body, "UTF-16LE", "UTF-8"))
            return *text;
        lossy = true;
        return convert(body, "UTF-16LE", "UTF-8//IGNORE").value_or(std::string());
    }
    if (isValidUtf8(bytes)) {
        encoding = Encoding::Utf8;
        return bytes;
    }
    // Decoded line by line in load(), so a line that is not GB18030 either survives as bytes.
    encoding = Encoding::Gb18030;
    return bytes;
}

std::optional<std::string> encode(const std::string &text, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf8:
        return text;
    case Encoding::Utf8Bom:
        return "\xEF\xBB\xBF" + text;
    case Encoding::Utf16LeBom:
        if (auto body = convert(text, "UTF-8", "UTF-16LE"))
            return "\xFF\xFE" + *body;
        return std::nullopt;
    case Encoding::Gb18030:
        return convert(text, "UTF-8", "GB18030");
    }
    return std::nullopt;
}

std::vector<Line> splitLines(const std::string &text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back({text.substr(start), ""});
            break;
        }
        std::size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        lines.push_back({text.substr(start, end - start), text.substr(end, next - end)});
        start = next;
    }
    return lines;
}

std::string joinLines(const std::vector<Line> &lines) {
    std::string out;
    for (const Line &l : lines)
        out += l.text + l.eol;
    return out;
}

Document load(const std::string &path) {
    Document doc;
    if (auto bytes = readBytes(path)) {
        doc.existed = true;
        doc.lines = splitLines(decode(*bytes, doc.encoding, doc.lossy));
        if (doc.encoding == Encoding::Gb18030) {
            // CR and LF never occur inside a GB18030 character, so lines split safely.
            for (Line &line : doc.lines) {
                if (auto text = convert(line.text, "GB18030", "UTF-8"))
                    line.text = *text;
                else
                    line.raw = true;
            }
        }
    }
    return doc;
}

std::string trim(const std::string &s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool equalsNoCase(const std::string &a, const std::string &b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lx = (x >= 'A' && x <= 'Z') ? char(x - 'A' + 'a') : x;
               const auto ly = (y >= 'A' && y <= 'Z') ? char(y - 'A' + 'a') : y;
               return lx == ly;
           });
}

std::optional<std::string> sectionNameOf(const std::string &line) {
    const std::string t = trim(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return trim(t.substr(1, close - 1));
}

bool isComment(const std::string &line) {
    const std::string t = trim(line);
    return !t.empty() && t.front() == ';';
}

std::optional<std::string> keyOf(const std::string &line) {
    if (isComment(line) || sectionNameOf(line))
        return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return trim(line.substr(0, eq));
}

std::optional<std::string> sectionOfLine(const Line &line) {
    return line.raw ? std::nullopt : sectionNameOf(line.text);
}

std::optional<std::string> keyOfLine(const Line &line) {
    return line.raw ? std::nullopt : keyOf(line.text);
}

std::string valueOf(const std::string &line) {
    std::string v = trim(line.substr(line.find('=') + 1));
    // A value in matching quotes reads without them, as profile readers do.
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// Range of line indexes [header, end) of the first section named `section`; header is the
// index of the "[section]" line. nullopt when the file lacks the section.
std::optional<std::pair<std::size_t, std::size_t>> findSection(const std::vector<Line> &lines,
                                                               const std::string &section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionOfLine(lines[i]);
        if (!name || !equalsNoCase(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !sectionOfLine(lines[end]))
            ++end;
        return std::make_pair(i, end);
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line> &lines, const std::string &section,
                                   const std::string &key) {
    auto range = findSection(lines, section);
    if (!range)
        return std::nullopt;
    for (std::size_t i = range->first + 1; i < range->second; ++i) {
        auto k = keyOfLine(lines[i]);
        if (k && equalsNoCase(*k, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> lookup(const std::string &path, const std::string &section,
                                  const std::string &key) {
    const Document doc = load(path);
    if (auto index = findKey(doc.lines, section, key))
        return valueOf(doc.lines[*index].text);
    return std::nullopt;
}

// The line ending used for new lines: the file's own, "\n" for a new file.
std::string lineEnding(const std::vector<Line> &lines) {
    for (const Line &l : lines)
        if (!l.eol.empty())
            return l.eol;
    return "\n";
}

bool hasLineBreak(const std::string &s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

// A read-only file (no write bit at all, or not writable by this user) is never replaced,
// even by a user whose rights would let the rename succeed.
bool isWritableTarget(const std::string &path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISREG(st.st_mode))
        return false;
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

bool writeAll(int fd, const std::string &data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string directoryOf(const std::string &path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes `data` to a temporary file beside `path`, flushes it and renames it over `path`,
// so readers see either the old or the new file, never a partial one.
bool replaceFile(const std::string &path, const std::string &data) {
    std::string target = path;
    if (char *real = ::realpath(path.c_str(), nullptr)) { // write through a symbolic link
        target = real;
        std::free(real);
    }
    if (!isWritableTarget(target))
        return false;
    struct stat old {};
    const bool hadFile = ::stat(target.c_str(), &old) == 0;
    std::string tmp = target + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return false;
    const mode_t mode = hadFile ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    const int dirFd = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool save(const std::string &path, const Document &doc) {
    if (doc.lossy) // rewriting would silently drop the undecodable bytes
        return false;
    if (doc.existed && doc.encoding == Encoding::Gb18030) {
        std::string bytes;
        for (const Line &line : doc.lines) {
            auto text = line.raw ? std::optional<std::string>(line.text)
                                 : convert(line.text, "UTF-8", "GB18030");
            if (!text)
                return false;
            bytes += *text + line.eol;
        }
        return replaceFile(path, bytes);
    }
    auto bytes = encode(joinLines(doc.lines), doc.existed ? doc.encoding : Encoding::Utf8);
    return bytes && replaceFile(path, *bytes);
}

std::size_t utf8Length(const std::string &s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string utf8Prefix(const std::string &s, std::size_t chars) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((s[i] & 0xC0) != 0x80 && seen++ == chars)
            return s.substr(0, i);
    }
    return s;
}

bool parseDigits(const std::string &digits, int base, long long &out) {
    if (digits.empty() || digits.size() > 20)
        return false;
    long long value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        value = value * base + d;
        if (value > 0xFFFFFFFFLL)
            return false;
    }
    out = value;
    return true;
}

} // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

bool SettingsFile::parseInteger(const std::string &raw, int &out) {
    std::string text = trim(raw);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.erase(0, 1);
    }
    long long value = 0;
    if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // Hexadecimal is a 32-bit pattern: 0xFFFFFFFF reads as -1.
        if (!parseDigits(text.substr(2), 16, value))
            return false;
        value = static_cast<int>(static_cast<unsigned int>(value));
    } else if (!text.empty() && text[0] == '$') {
        if (!parseDigits(text.substr(1), 16, value))
            return false;
        value = static_cast<int>(static_cast<unsigned int>(value));
    } else {
        if (!parseDigits(text, 10, value))
            return false;
        if (value > (negative ? -static_cast<long long>(INT_MIN) : INT_MAX))
            return false;
    }
    out = static_cast<int>(negative ? -value : value);
    return true;
}

bool SettingsFile::readBool(const std::string &section, const std::string &key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

int SettingsFile::readInteger(const std::string &section, const std::string &key, int def) const {
    int value = def;
    if (auto text = lookup(path_, section, key); text && parseInteger(*text, value))
        return value;
    return def;
}

std::string SettingsFile::readString(const std::string &section, const std::string &key,
                                     const std::string &def) const {
    auto text = lookup(path_, section, key);
    if (!text)
        return def;
    return utf8Length(*text) > kMaxStringChars ? utf8Prefix(*text, kMaxStringChars) : *text;
}

void SettingsFile::writeBool(const std::string &section, const std::string &key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void SettingsFile::writeInteger(const std::string &section, const std::string &key, int value) {
    writeString(section, key, std::to_string(value));
}

void SettingsFile::writeString(const std::string &section, const std::string &key,
                               const std::string &value) {
    // A name or value that would break the line structure cannot be stored faithfully.
    if (trim(key).empty() || key.find('=') != std::string::npos || hasLineBreak(key) ||
        hasLineBreak(section) || section.find(']') != std::string::npos || hasLineBreak(value))
        throw SettingsWriteError(path_);
    Document doc = load(path_);
    const std::string eol = lineEnding(doc.lines);
    if (auto index = findKey(doc.lines, section, key)) {
        Line &line = doc.lines[*index];
        line.text = line.text.substr(0, line.text.find('=') + 1) + value;
    } else if (auto range = findSection(doc.lines, section)) {
        // After the section's last non-blank line, so blank separators stay at its end.
        std::size_t at = range->second;
        while (at > range->first + 1 && trim(doc.lines[at - 1].text).empty())
            --at;
        if (doc.lines[at - 1].eol.empty())
            doc.lines[at - 1].eol = eol;
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(at),
                         Line{key + "=" + value, eol});
    } else {
        if (!doc.lines.empty() && doc.lines.back().eol.empty())
            doc.lines.back().eol = eol;
        doc.lines.push_back({"[" + section + "]", eol});
        doc.lines.push_back({key + "=" + value, eol});
    }
    if (!save(path_, doc))
        throw SettingsWriteError(path_);
}

bool SettingsFile::deleteKey(const std::string &section, const std::string &key) {
    Document doc = load(path_);
    auto index = findKey(doc.lines, section, key);
    if (!index)
        return true;
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(*index));
    return save(path_, doc);
}

std::vector<std::string> SettingsFile::sectionKeys(const std::string &section) const {
    const Document doc = load(path_);
    std::vector<std::string> keys;
    if (auto range = findSection(doc.lines, section)) {
        for (std::size_t i = range->first + 1; i < range->second; ++i)
            if (auto k = keyOfLine(doc.lines[i]); k && !k->empty())
                keys.push_back(*k);
    }
    return keys;
}

std::vector<std::string> SettingsFile::readSection(const std::string &section) const {
    std::vector<std::string> lines;
    for (const std::string &key : sectionKeys(section))
        lines.push_back(key + "=" + readString(section, key, ""));
    return lines;
}

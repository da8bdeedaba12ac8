// SettingsFile: reader and writer of the program's INI settings file ("tabfile.kez").
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// Raised when a write cannot reach the disk; what() is "Unable to write to <path>".
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const std::string &path)
        : std::runtime_error("Unable to write to " + path), path_(path) {}
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

// One INI file opened by path. It keeps no copy of the file: every read parses the file
// afresh and every write replaces it at once, atomically (temporary file beside it, then
// rename), so a crash never leaves a truncated file. Section and key names match without
// regard to ASCII letter case. All texts are UTF-8; the file keeps the encoding it was found
// in (UTF-8 with or without BOM, UTF-16LE with BOM, GB18030), new files are UTF-8.
// Not thread-safe: used from one thread (the user-interface thread).
class SettingsFile {
public:
    explicit SettingsFile(std::string path);

    const std::string &path() const { return path_; }

    // Reads never fail: a missing file, section, key or an unparsable value gives `def`.
    bool readBool(const std::string &section, const std::string &key, bool def) const;
    int readInteger(const std::string &section, const std::string &key, int def) const;
    std::string readString(const std::string &section, const std::string &key,
                           const std::string &def) const;

    // Writes replace the value in its line, append a new key at the end of its section, or
    // append a missing section at the end of the file; the first write creates the file.
    // Throw SettingsWriteError when the file cannot be written (read-only file or folder,
    // disk full) or when the key or value cannot be stored in one line.
    void writeBool(const std::string &section, const std::string &key, bool value);
    void writeInteger(const std::string &section, const std::string &key, int value);
    void writeString(const std::string &section, const std::string &key, const std::string &value);

    // Removes the key's line; returns false when the file could not be written.
    bool deleteKey(const std::string &section, const std::string &key);

    // The section's entries as "key=value" lines in line order. A key that occurs twice
    // yields its first value both times (keys are looked up by name).
    std::vector<std::string> readSection(const std::string &section) const;
    // The section's key names in line order.
    std::vector<std::string> sectionKeys(const std::string &section) const;

    // Parses an integer value as the file format defines it ("0x"/"$" hexadecimal, decimal
    // otherwise); false when the text is not a number.
    static bool parseInteger(const std::string &text, int &out);

private:
    std::string path_;
};

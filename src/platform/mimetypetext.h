// MimeTypeText: the Chinese type text of files from the shared MIME database.
#pragma once

#include <QString>

struct ShellItemData;

// Looks up the MIME type of an item and its Chinese comment ("纯文本文档", "文件夹"),
// whatever the process locale, with "应用程序" for programs (ELF executables and scripts
// with an execute bit, desktop entries of applications). Results are interned in a
// process-wide table so an item stores only a 16-bit index. Thread-safe.
class MimeTypeText {
public:
    static constexpr quint16 ApplicationIndex = 1;

    // The table index for the item (looked up on first call and stored in the item).
    static quint16 indexFor(const ShellItemData &item);
    static QString textAt(quint16 index);
    static QString mimeNameAt(quint16 index);
    // The Chinese comment of a MIME type name, falling back to the database's own comment.
    static QString chineseComment(const QString &mimeName);
};

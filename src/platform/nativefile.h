// NativeFile: whole-file reads and safe rewrites by native (byte) path.
#pragma once

#include <QByteArray>

// File access by the path's bytes: QFile takes a QString, which cannot carry a name that
// is not valid in the locale's encoding, so the platform layer reads and writes through
// these. Thread-safe (no state).
class NativeFile {
public:
    // Up to `maxBytes` of the file; empty when it cannot be read. `ok` tells which.
    static QByteArray read(const QByteArray &path, qint64 maxBytes, bool *ok = nullptr);
    // Replaces the file's content through a temporary file renamed over it, so a crash or a
    // full disk leaves the old content. Returns false (old file untouched) on failure.
    static bool replace(const QByteArray &path, const QByteArray &content);
};

// Thumbnailers: the desktop's installed thumbnailer programs (XDG "thumbnailers" folders).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Runs the thumbnailer programs other applications install (*.thumbnailer files naming a
// program and the MIME types it handles), for the types Qt cannot decode itself (vector
// images, documents, videos). Thread-safe; runs the program synchronously, so call it from
// a worker thread.
class Thumbnailers {
public:
    // A thumbnailer that does not finish within this time is stopped; a hanging program
    // must not hold a generator thread for ever.
    static constexpr int TimeoutMs = 10000;

    static bool canHandle(const QString &mimeType);
    // Runs the thumbnailer for `mimeType` on the file; a null image when none exists, it
    // fails or the path cannot be passed to a program.
    static QImage run(const QString &mimeType, const QByteArray &nativePath, const QByteArray &uri,
                      int pixels, const QString &scratchFolder);
};

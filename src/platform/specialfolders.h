// SpecialFolders: the folders this system uses for the numbered special places.
#pragma once

#include <QByteArray>

// Maps the root-folder numbers of special places (documents, start menu, fonts, ...) to
// folders of a Linux desktop: XDG user directories and standard places. Virtual places
// (desktop, computer, trash) and numbers without a folder give an empty path.
class SpecialFolders {
public:
    // The folder's native path; may name a folder that does not exist yet.
    static QByteArray pathFor(int rootFolderNumber);
};

// IconProvider: icons of shell items from the desktop's icon theme.
#pragma once

#include "platform/shellitem.h"

#include <QIcon>
#include <QString>

// Chooses theme icons for shell items: places and volumes by kind, folders, and files by
// their MIME type's icon name, then its generic icon name, then a plain document.
// Outside a desktop session Qt reports the theme "hicolor" (or none), which has no file
// icons; the first use then switches to Adwaita.
// User-interface thread only (QIcon); icons are cached per name.
class IconProvider {
public:
    // Sets a theme with file icons when the platform gave none. Called on first use.
    static void ensureIconTheme();
    static QString iconNameFor(const ShellItem &item);
    static QIcon iconFor(const ShellItem &item);
    static QIcon iconForName(const QString &iconName);
};

// IconProvider: theme selection, icon names per kind and MIME type, icon cache.
#include "platform/iconprovider.h"

#include "platform/volumesource.h"

#include <QHash>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace {

// Installed with the program's dependencies; carries icons for every common MIME type.
const QString FallbackTheme = QStringLiteral("Adwaita");
const QString DocumentIcon = QStringLiteral("text-x-generic");

QString volumeIconName(int kind) {
    switch (Volume::Kind(kind)) {
    case Volume::Kind::Removable:
        return QStringLiteral("drive-removable-media");
    case Volume::Kind::Optical:
        return QStringLiteral("drive-optical");
    case Volume::Kind::Remote:
        return QStringLiteral("folder-remote");
    case Volume::Kind::Ram:
    case Volume::Kind::Fixed:
    case Volume::Kind::Unknown:
        break;
    }
    return QStringLiteral("drive-harddisk");
}

// The MIME type's own icon when the theme has it, else its generic icon.
QString mimeIconName(const QString &mimeName) {
    static QHash<QString, QString> cache;
    auto it = cache.constFind(mimeName);
    if (it != cache.constEnd())
        return *it;
    QMimeDatabase db;
    QMimeType type = db.mimeTypeForName(mimeName);
    QString name = DocumentIcon;
    if (type.isValid()) {
        if (QIcon::hasThemeIcon(type.iconName()))
            name = type.iconName();
        else if (QIcon::hasThemeIcon(type.genericIconName()))
            name = type.genericIconName();
    }
    cache.insert(mimeName, name);
    return name;
}

} // namespace

void IconProvider::ensureIconTheme() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // Without a platform theme Qt searches only its resources; add the XDG icon folders.
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList dataIcons =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    for (const QString &dir : dataIcons)
        if (!paths.contains(dir))
            paths.append(dir);
    QIcon::setThemeSearchPaths(paths);
    QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor"))
        QIcon::setThemeName(FallbackTheme);
}

QString IconProvider::iconNameFor(const ShellItem &item) {
    ensureIconTheme();
    switch (item.kind()) {
    case ShellItem::Kind::Desktop:
        return QStringLiteral("user-desktop");
    case ShellItem::Kind::Computer:
        return QStringLiteral("computer");
    case ShellItem::Kind::Trash:
        return QStringLiteral("user-trash");
    case ShellItem::Kind::Invalid:
        return DocumentIcon;
    case ShellItem::Kind::FileSystem:
        break;
    }
    if (item.volumeKind() >= 0)
        return volumeIconName(item.volumeKind());
    if (item.isFolder())
        return QStringLiteral("folder");
    if (item.typeText() == QLatin1String("应用程序"))
        return QStringLiteral("application-x-executable");
    return mimeIconName(item.mimeTypeName());
}

QIcon IconProvider::iconForName(const QString &iconName) {
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(iconName);
    if (it != cache.constEnd())
        return *it;
    QIcon icon = QIcon::fromTheme(iconName, QIcon::fromTheme(DocumentIcon));
    cache.insert(iconName, icon);
    return icon;
}

QIcon IconProvider::iconFor(const ShellItem &item) {
    return iconForName(iconNameFor(item));
}

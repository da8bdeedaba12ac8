// SpecialFolders: the table from root-folder numbers to XDG and standard folders.
#include "platform/specialfolders.h"

#include "platform/shellitem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString home() {
    return QDir::homePath();
}

QString standard(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location);
}

QString firstExisting(std::initializer_list<QString> candidates) {
    for (const QString &c : candidates)
        if (QFileInfo(c).isDir())
            return c;
    return *candidates.begin();
}

QString folderFor(int number) {
    using S = QStandardPaths;
    switch (number) {
    case ShellItem::rfAdminTools:
    case ShellItem::rfCommonAdminTools:
        return QStringLiteral("/usr/sbin");
    case ShellItem::rfAltStartup:
    case ShellItem::rfStartUp:
        return standard(S::GenericConfigLocation) + QStringLiteral("/autostart");
    case ShellItem::rfCommonAltStartup:
    case ShellItem::rfCommonStartup:
        return QStringLiteral("/etc/xdg/autostart");
    case ShellItem::rfAppData:
    case ShellItem::rfCookies:
        return standard(S::GenericConfigLocation);
    case ShellItem::rfCommonAppData:
        return QStringLiteral("/usr/share");
    case ShellItem::rfCommonDocuments:
        return QStringLiteral("/usr/share/doc");
    case ShellItem::rfCommonPrograms:
    case ShellItem::rfCommonStartMenu:
        return QStringLiteral("/usr/share/applications");
    case ShellItem::rfCommonTemplates:
        return QStringLiteral("/usr/share/templates");
    case ShellItem::rfDesktopDirectory:
        return standard(S::DesktopLocation);
    case ShellItem::rfFavorites:
    case ShellItem::rfProfile:
        return home();
    case ShellItem::rfFonts:
        return firstExisting({standard(S::GenericDataLocation) + QStringLiteral("/fonts"),
                              QStringLiteral("/usr/share/fonts")});
    case ShellItem::rfHistory:
    case ShellItem::rfLocalAppData:
    case ShellItem::rfRecent:
        return standard(S::GenericDataLocation);
    case ShellItem::rfInternetCache:
        return standard(S::GenericCacheLocation);
    case ShellItem::rfMyPictures:
        return standard(S::PicturesLocation);
    case ShellItem::rfPersonal:
        return standard(S::DocumentsLocation);
    case ShellItem::rfProgramFiles:
        return firstExisting({QStringLiteral("/opt"), QStringLiteral("/usr/local")});
    case ShellItem::rfCommonProgramFiles:
        return QStringLiteral("/usr/lib");
    case ShellItem::rfPrograms:
    case ShellItem::rfStartMenu:
        return standard(S::ApplicationsLocation);
    case ShellItem::rfSystem:
        return QStringLiteral("/usr/bin");
    case ShellItem::rfTemplate:
        return firstExisting(
            {home() + QStringLiteral("/Templates"), home() + QStringLiteral("/模板")});
    case ShellItem::rfWindows:
        return QStringLiteral("/usr");
    default:
        return {};
    }
}

} // namespace

QByteArray SpecialFolders::pathFor(int rootFolderNumber) {
    QString folder = folderFor(rootFolderNumber);
    return folder.isEmpty() ? QByteArray() : QFile::encodeName(folder);
}

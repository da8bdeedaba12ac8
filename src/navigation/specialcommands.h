// SpecialCommands: special folders, system tools, clipboard path and a shortcut's folder.
#pragma once

#include "platform/shellitem.h"

#include <QObject>

#include <functional>

class QAction;

// The commands of the menus "特殊目录" and "工具" and the two commands that open a folder
// named elsewhere: the path on the clipboard (Ctrl+W) and the folder of the selected shortcut
// (Ctrl+L). Folders are opened through the host; nothing here touches the list directly.
// User-interface thread only.
class SpecialCommands : public QObject {
    Q_OBJECT
public:
    // Where a shortcut's working directory names an unexpanded variable, the folder opened
    // instead (the system's own program folder).
    static constexpr const char *kSystemFolder = "/usr";

    struct Host {
        std::function<void(int rootFolderNumber)> setRootFolder;
        std::function<void(const QByteArray &path)> browseTo; // ignores non-directories
        std::function<ShellItem()> firstSelected;             // invalid without a selection
        std::function<void(const QString &text, int infoType)> showMessage;
        std::function<QWidget *()> dialogParent;
    };

    explicit SpecialCommands(QObject *parent = nullptr);
    void setHost(Host host);

    // A special-folder item: its hint (or data) holds the root-folder number.
    void N10Click(const QAction *item);
    void N23Click(); // control panel
    void N24Click(); // run dialog
    void N25Click(); // system search
    void N26Click(); // clipboard path
    void kezmenulinkClick();
    void kezMapToDriveClick();
    void kezUnMapDriveClick();

    // The folder a shortcut (a symbolic link or a .desktop file) leads to, as the command
    // opens it: the working directory when there is one, else the target.
    static QByteArray shortcutFolder(const ShellItem &shortcut);
    // The Path= (working directory) of a .desktop file's main group; empty when absent.
    static QByteArray desktopEntryWorkingDirectory(const QByteArray &desktopFile);

private:
    Host m_host;
};

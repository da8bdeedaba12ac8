// Navigator: keeps file list, folder tree and address box on one folder and runs the commands
// that move it (history, up, refresh, tabs, drive bar, special folders, gestures, paging).
#pragma once

#include "core/pagingarithmetic.h"
#include "platform/shellitem.h"

#include <QObject>
#include <QPointer>

#include <functional>

class AddressBox;
class DriveBar;
class FileListView;
class FolderHistory;
class FolderTree;
class GestureFilter;
class QAction;
class QMenu;
class QWidget;
class SpecialCommands;
class TabRow;

// The coupling of the main window's navigation pieces. Whatever moves one of the three views
// (list, tree, address box) moves the other two: the list is the one that really changes
// folder, the tree and the box follow its rootChanged. Each change is then recorded in the
// history and the recent folders, and only after that kezcomboboxPathChange runs: status line,
// up/back/forward enabled states, the address text of a volume root.
// Commands and menus are found in the window by their object names (kezactback, kezmenunext,
// N26, ...); missing ones are skipped. User-interface thread only.
class Navigator : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QWidget *window = nullptr; // holds the actions, buttons and menus by object name
        FileListView *list = nullptr;
        FolderTree *tree = nullptr;
        AddressBox *address = nullptr;
        TabRow *tabs = nullptr;
        DriveBar *drives = nullptr;
        QWidget *panel = nullptr;         // kezPanel, the gesture source
        FolderHistory *history = nullptr; // made by the navigator when not given
        std::function<void(const QString &text, int infoType)> showMessage;
        std::function<void(const QString &text)> setStatusText;
    };

    explicit Navigator(const Parts &parts, QObject *parent = nullptr);

    FolderHistory *history() const { return m_history; }
    SpecialCommands *commands() const { return m_commands; }

    // Opens a place or a folder in the list; folders that are not directories are ignored.
    void openFolder(const ShellItem &folder);
    void browseTo(const QByteArray &path);

    void kezcomboboxPathChange(const ShellItem &folder);
    void kezactbackExecute();
    void kezactnextExecute();
    void kezactupExecute();
    void kezactrefreshExecute();

    void kezPanelGesture(int gestureId);
    void kezPanelDblClick();
    void kezlistview1DblClick();
    void kezlistview1KeyAction(int key);
    void kezlistview1MouseUp(Qt::MouseButton button);
    // The four paging commands; returns whether the list scrolled.
    bool page(PagingCommand command);

signals:
    // After kezcomboboxPathChange has run for a new folder.
    void pathChanged(const ShellItem &folder);

private:
    void connectList();
    void connectViews();
    void connectCommands();
    void connectMenus();
    void onListRootChanged(const ShellItem &folder);
    void refillRecentMenu();
    void clickMenuItem(const char *name);
    void pressButton(const char *actionName);
    void setEnabled(const char *buttonName, bool enabled);
    template <typename T> T *find(const char *name) const;

    Parts m_parts;
    FolderHistory *m_history = nullptr;
    SpecialCommands *m_commands = nullptr;
    GestureFilter *m_gestures = nullptr;
};

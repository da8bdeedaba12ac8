// FolderHistory: the back/forward history and the recent folders of the shell items shown.
#pragma once

#include "core/navigationhistory.h"
#include "core/recentfolders.h"
#include "platform/shellitem.h"

#include <QObject>

class QMenu;

// Records every folder the file list reaches in both lists ("kezHistory" and "kezMRU"), steps
// through them and fills their drop-down menus. A step through one list is not recorded again
// by that list; the other one records it like any move. Locations are keyed by their parsing
// name, so virtual places and file-system folders share one list. Steps and menu choices ask
// for the folder through openRequested; nothing here moves the list itself.
// User-interface thread only.
class FolderHistory : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kClearCaption = "清除";

    explicit FolderHistory(QObject *parent = nullptr);

    // Records the folder now shown in both lists.
    void record(const ShellItem &folder);

    // Back / Next of the history; nothing at either end. A file-system folder that is gone is
    // dropped from the history when stepped to, and nothing is opened.
    void back();
    void next();
    bool hasBackItems() const { return m_history.hasBackItems(); }
    bool hasNextItems() const { return m_history.hasNextItems(); }

    // Fill the drop-down menus: entries nearest first, then a separator and "清除"; an empty
    // list leaves the menu empty.
    void kezhistorybackpmPopup(QMenu *menu);
    void kezhistorynextpmPopup(QMenu *menu);
    void kezmenuMRUPopup(QMenu *menu);

    // The recent folders' file; loading a missing file leaves the list empty.
    void loadRecent(const QString &path);
    bool saveRecent(const QString &path) const;

    const NavigationHistory &history() const { return m_history; }
    const RecentFolders &recent() const { return m_recent; }
    static std::string keyOf(const ShellItem &folder);
    static ShellItem itemOf(const std::string &key);

signals:
    // A step or a menu choice wants this folder opened.
    void openRequested(const ShellItem &folder);

private:
    enum class Direction { Back, Next };
    void fillHistoryMenu(QMenu *menu, Direction direction);
    void addEntry(QMenu *menu, const std::string &key, std::function<void()> choose);
    void addClearItem(QMenu *menu, std::function<void()> clear);
    void openKey(const std::optional<std::string> &key);

    NavigationHistory m_history;
    RecentFolders m_recent;
};

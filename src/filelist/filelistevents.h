// FileListEvents: the main window's handlers of the file list's events.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class FileListView;
class QAction;
class ShellItem;

// Handles the file list's events for the main window: the enumeration hook (size texts of
// the XP flag path and of ".zip" files), the status line at the end of a listing, after a
// change was re-read and after selection changes, the enabling of the shortcut command
// (kezmenulink) after selection changes, and the paint rules (olive for today, red for
// programs). User-interface thread only; every handler runs inside the list's signal.
class FileListEvents : public QObject {
    Q_OBJECT
public:
    using StatusSink = std::function<void(const QString &text)>;

    FileListEvents(FileListView *list, StatusSink statusSink, QObject *parent = nullptr);

    // The XP flag, read at every enumerated item (the window sets it late in its creation).
    void setXpFlag(std::function<bool()> flag) { xp_ = std::move(flag); }
    void setXpFlag(bool xp) {
        xp_ = [xp] { return xp; };
    }
    bool xpFlag() const { return xp_ && xp_(); }
    // The shortcut command (kezmenulink); it starts disabled.
    void setShortcutAction(QAction *action);

    // The status line text with the list's item count and `selected` (0 or the selection).
    static QString statusText(const FileListView &list, bool withSelection);

    // kezlistview1EnumFolder, kezlistview1EnumFinished, kezlistview1ShellNotify,
    // kezlistview1ItemSelectionChanged.
    void onEnumFolder(const ShellItem &item);
    void onEnumFinished();
    void onShellNotify();
    void onItemSelectionChanged();

private:
    QPointer<FileListView> list_;
    StatusSink statusSink_;
    QPointer<QAction> shortcutAction_;
    std::function<bool()> xp_;
};

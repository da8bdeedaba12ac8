// TabRow: the saved folder tabs above the file list ("kezTabControl") and their storage.
#pragma once

#include <QByteArray>
#include <QList>
#include <QWidget>

#include <functional>
#include <string>

class SettingsFile;
class TabList;
class TabStrip;
class QVBoxLayout;

// Keeps the tab strip, the tab list and section "标签" of the settings file in step: line i of
// the tab list belongs to tab i and opens that line's path. Captions and paths are stored
// escaped (TabCaption) so every folder name round-trips. The settings file holds one entry per
// caption; deleting one of several tabs with the same caption rewrites the entry for the tab
// that remains instead of dropping it. Every change is written at once, before the strip shows it.
// The widget also holds the content widget (the file list) under the strip.
// User-interface thread only.
class TabRow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char *kSection = "标签";

    // One selected item of the file list as the add command sees it.
    struct Candidate {
        bool isFolder = false;
        QByteArray path; // native file-system path; empty or "::{...}" for a virtual place
    };

    // What the tab row asks of the window around it.
    struct Host {
        std::function<QList<Candidate>()> selectedItems;
        std::function<void(const QByteArray &path)> browseTo; // ignores non-directories
        std::function<QByteArray()> currentFolderPath;        // empty for a virtual place
        std::function<void(const QString &text, int infoType)> showMessage;
        // Asks before a tab is deleted; true for OK. Defaults to a modal question box.
        std::function<bool(const QString &text)> confirmDelete;
    };

    explicit TabRow(QWidget *parent = nullptr);

    void setHost(Host host);
    // The settings file and tab list live in the main window; both must outlive the row.
    void setStorage(SettingsFile *settings, TabList *tabs);
    void setContentWidget(QWidget *content);

    // Makes one tab per tab-list line; returns the first line's path (empty without tabs).
    QByteArray restoreTabs();
    // Adds the selected folders as tabs, with a message for each item refused.
    void kezmenuaddtab1Click();

    int count() const;
    QString captionAt(int index) const;
    QByteArray pathAt(int index) const;
    int currentIndex() const;
    TabStrip *strip() const { return m_strip; }

    // The handlers of the strip's events, public so the window and tests can drive them.
    void kezTabControlChange(int index);
    void kezTabControl2MouseUp(Qt::MouseButton button, const QPoint &position);
    static int kezTabControlGetImageIndex(int index);

private:
    void addFolder(const QByteArray &path);
    void deleteTab(int index);
    void updateEntryAfterDelete(const std::string &storedCaption);
    bool confirm(const QString &text);

    Host m_host;
    SettingsFile *m_settings = nullptr;
    TabList *m_tabs = nullptr;
    TabStrip *m_strip = nullptr;
    QVBoxLayout *m_layout = nullptr;
    QWidget *m_content = nullptr;
};

// Tkezmainf: the main window, its components, creation and shutdown sequences.
#pragma once

#include "app/balloon.h"

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class FileListEvents;
class FileListView;
class ListViewMenu;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QSystemTrayIcon;
class QTabWidget;
class QToolButton;
class SettingsFile;
class SkinManager;
class TabList;
class AddressBox;
class DriveBar;
class FolderHistory;
class FolderTree;
class FolderTreeModel;
class Navigator;
class TabRow;
class VolumeSource;

// Section and key names of the settings file.
namespace settingskeys {
inline constexpr const char *kSettings = "设置";
inline constexpr const char *kTabs = "标签";
inline constexpr const char *kShowHidden = "显示隐藏文件";
inline constexpr const char *kFolderHandler = "是否设为默认管理器";
inline constexpr const char *kShowFolderTree = "显示文件夹树";
inline constexpr const char *kViewCode = "浏览方式";
inline constexpr const char *kSkinName = "皮肤名称";
} // namespace settingskeys

// The main window. Owns every component (found by object name, e.g. findChild<QAction *>
// ("kezactback")), the settings file object and the tab list. The creation sequence runs in
// the constructor; the shutdown sequence runs on every close request and abandons the close
// when a write fails. Components owned by other parts of the program are reached through the
// small hook functions below (declared here, defined in mainwindow_filelisthooks.cpp and
// mainwindow_navhooks.cpp). User-interface thread only.
class Tkezmainf : public QMainWindow {
    Q_OBJECT
public:
    // `programDir` holds the program's files ("tabfile.kez", "kezmru.kez", "skin/"); empty
    // means the executable's folder. `arguments` is the command line without the program name.
    explicit Tkezmainf(const QString &programDir = QString(),
                       const QStringList &arguments = QStringList(), QWidget *parent = nullptr);
    ~Tkezmainf() override;

    // Balloon message titled with the current caption; returns at once. infotype: BalloonKind.
    void kezshowmessage(const QString &msgtext, int infotype);
    const BalloonMessage &lastBalloon() const;

    // The program directory with its trailing separator.
    QString programDirectory() const { return programDir_; }
    // Alive from creation step 2 / 7 to shutdown step 9 / 8; null outside that span.
    SettingsFile *settingsFile() const { return settings_.get(); }
    TabList *tabList() const { return tabs_.get(); }
    SkinManager *skin() const { return skin_; }
    bool isXp() const { return isXp_; }

    // Runs the shutdown sequence; false when a write failed (the error has been shown).
    bool runShutdownSequence();
    // Shows a framework error (a failed settings write). Tests replace it to avoid a modal box.
    void setErrorReporter(std::function<void(const QString &)> reporter);

    // Status line text of kezstatubar.
    void setStatusText(const QString &text);
    QString statusText() const;

    // Shows or hides the folder-tree pane together with its splitter.
    void setFolderTreeVisible(bool visible);
    bool isFolderTreeVisible() const;

    // --- hooks of the file list (mainwindow_filelisthooks.cpp) ---
    FileListView *fileList() const { return list_; }
    ListViewMenu *listViewMenu() const { return listViewMenu_; }
    void setListShowHidden(bool show);
    bool listShowsHidden() const;
    // Makes an existing folder the file list's root; false (nothing changes) otherwise.
    bool setListRootPath(const QString &path);
    QString listRootPath() const;
    void setListGroupHeaderColor(const QColor &color);
    // View codes 1..7; other codes change nothing.
    void setViewCode(int code);
    int viewCode() const;

    // --- hooks of navigation (mainwindow_navhooks.cpp) ---
    void setTreeShowHidden(bool show);
    void addTab(const QString &caption);
    QStringList tabCaptions() const;
    int driveBarButtonCount() const;
    void buildDriveBar();
    void buildRemovable();
    void clearDriveBar();
    void setAddressBoxColors(const QColor &background, const QColor &text);
    // Recent folders: load only when the file exists; save returns false when it cannot write.
    void loadMru(const QString &path);
    bool saveMru(const QString &path);
    // The navigation pieces (null until built; the navigator needs the file list).
    Navigator *navigator() const { return navigator_; }
    TabRow *tabRow() const { return tabRow_; }
    DriveBar *driveBar() const { return driveBar_; }
    AddressBox *addressBox() const { return addressBox_; }
    FolderTree *folderTree() const { return folderTree_; }

signals:
    // Emitted after the shutdown sequence completed and the window accepted its close.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Composition (mainwindow.cpp).
    void buildWindow();
    QWidget *createToolPanel();
    QWidget *createDriveBar();
    QWidget *createFilterPanel();
    QWidget *createFolderTreePane();
    QWidget *createTabArea();
    QWidget *createFileList();
    QWidget *createFileListWidget(); // mainwindow_filelisthooks.cpp
    void createStatusBar();
    void createNonVisualComponents();
    void createTrayIcon();
    void keztrayiconClick();
    void populateSkinMenu();

    // Sequences (mainwindow_sequences.cpp).
    void runCreationSequence();
    void applyShowHidden(bool show);
    void openSavedTabs();
    void applyAddressBoxSkinColors();
    bool systemHidesExtensions() const;
    QString commandLineFolder() const;
    void reportError(const QString &text);
    // Navigation (mainwindow_navhooks.cpp): couples list, tree, address box and commands.
    void createNavigator();

    QString programDir_;
    QStringList arguments_;
    std::unique_ptr<SettingsFile> settings_;
    std::unique_ptr<TabList> tabs_;
    SkinManager *skin_ = nullptr;
    Balloon *balloon_ = nullptr;
    QSystemTrayIcon *trayIcon_ = nullptr;
    QSplitter *splitter_ = nullptr;
    QTabWidget *pageControl_ = nullptr;
    QLabel *statusLabel_ = nullptr;
    bool isXp_ = false;
    std::function<void(const QString &)> errorReporter_;
    FolderTreeModel *folderModel_ = nullptr;
    FolderTree *folderTree_ = nullptr;
    AddressBox *addressBox_ = nullptr;
    TabRow *tabRow_ = nullptr;
    DriveBar *driveBar_ = nullptr;
    VolumeSource *volumes_ = nullptr;
    Navigator *navigator_ = nullptr;
    FolderHistory *history_ = nullptr; // kezHistory and kezMRU

    FileListView *list_ = nullptr;
    FileListEvents *listEvents_ = nullptr;
    ListViewMenu *listViewMenu_ = nullptr;
};

// The process-wide reference to the main window; set before its creation sequence runs.
Tkezmainf *mainWindow();

// Tkezmainf: composition of the main window from its components.
#include "app/mainwindow.h"

#include "app/mainmenu.h"
#include "app/skinmanager.h"
#include "core/kezstr.h"
#include "core/settingsfile.h"
#include "core/tablist.h"
#include "filelist/filterbox.h"
#include "navigation/addressbox.h"
#include "navigation/drivebar.h"
#include "navigation/folderhistory.h"
#include "navigation/foldertree.h"
#include "navigation/foldertreemodel.h"
#include "navigation/tabrow.h"
#include "platform/volumesource.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

Tkezmainf *g_mainWindow = nullptr;

// Sizes of the window definition, in pixels.
constexpr QSize kClientSize(1250, 744);
constexpr int kToolPanelHeight = 81;
constexpr int kToolButtonHeight = 79;
constexpr int kHistoryButtonWidth = 72;
constexpr int kToolButtonWidth = 55;
constexpr int kDriveBarHeight = 23;
constexpr int kFilterPanelHeight = 24;
constexpr int kFilterBoxWidth = 88;
constexpr int kTreePaneWidth = 221;
constexpr int kStatusBarHeight = 19;
constexpr int kFontPixelHeight = 11;

struct ActionDef {
    const char *name;
    const char *caption;
};

// The action list kezActionList, in the window definition's order.
constexpr ActionDef kActions[] = {
    {"kezactback", "后退"},
    {"kezactnext", "前进"},
    {"kezactdel", "删除"},
    {"kezactrename", "重命名"},
    {"kezactcut", "剪切"},
    {"kezactcopy", "复制"},
    {"kezactpaste", "粘贴"},
    {"kezactinfo", "属性"},
    {"kezactrefresh", "刷新"},
    {"kezactup", "向上"},
    {"kezactpasteaslink", "粘贴为快捷方式"},
};

struct ButtonDef {
    const char *name;
    const char *tip;
    const char *action; // action of the same stem, "" for own handlers
    const char *icon;   // theme icon name
    QStyle::StandardPixmap fallback;
};

// Tool buttons of kezPanel, left to right.
const ButtonDef kButtons[] = {
    {"kezbtnback", "后退", "kezactback", "go-previous", QStyle::SP_ArrowBack},
    {"kezbtnnext", "前进", "kezactnext", "go-next", QStyle::SP_ArrowForward},
    {"kezbtnup", "向上", "kezactup", "go-up", QStyle::SP_FileDialogToParent},
    {"kezbtnrefresh", "刷新", "kezactrefresh", "view-refresh", QStyle::SP_BrowserReload},
    {"kezbtndel", "删除", "kezactdel", "edit-delete", QStyle::SP_TrashIcon},
    {"kezbtnrename", "重命名", "kezactrename", "edit-rename", QStyle::SP_FileDialogDetailedView},
    {"kezbtncut", "剪切", "kezactcut", "edit-cut", QStyle::SP_DialogDiscardButton},
    {"kezbtncopy", "复制", "kezactcopy", "edit-copy", QStyle::SP_FileIcon},
    {"kezbtnpasteaslink", "粘贴为快捷方式", "kezactpasteaslink", "insert-link",
     QStyle::SP_FileLinkIcon},
    {"kezbtnpaste", "粘贴", "kezactpaste", "edit-paste", QStyle::SP_DialogSaveButton},
    {"kezbtninfo", "属性", "kezactinfo", "document-properties", QStyle::SP_FileDialogInfoView},
    {"kezbtnsearch", "搜索", "", "system-search", QStyle::SP_FileDialogContentsView},
    {"kezbtnsearchsys", "系统搜索", "", "edit-find", QStyle::SP_FileDialogContentsView},
};

QIcon themedIcon(const char *name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}

QWidget *placeholder(const char *name, QWidget *parent) {
    auto *w = new QWidget(parent);
    w->setObjectName(name);
    return w;
}

} // namespace

Tkezmainf *mainWindow() {
    return g_mainWindow;
}

Tkezmainf::Tkezmainf(const QString &programDir, const QStringList &arguments, QWidget *parent)
    : QMainWindow(parent), arguments_(arguments) {
    QString dir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    if (!dir.endsWith('/'))
        dir += '/';
    programDir_ = dir;
    g_mainWindow = this;
    buildWindow();
    runCreationSequence();
    populateSkinMenu();
}

Tkezmainf::~Tkezmainf() {
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

void Tkezmainf::buildWindow() {
    setObjectName("kezmainf");
    setWindowTitle(QStringLiteral("星舟文件工坊"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(kFontPixelHeight);
    setFont(font);
    MainMenu::build(this);
    folderModel_ = new FolderTreeModel(this);
    history_ = new FolderHistory(this);

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(createToolPanel());
    column->addWidget(createDriveBar());
    column->addWidget(createFilterPanel());

    auto *body = new QHBoxLayout;
    body->setSpacing(0);
    splitter_ = new QSplitter(Qt::Horizontal, central);
    splitter_->setObjectName("kezbodysplitter");
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(createFolderTreePane());
    splitter_->addWidget(createTabArea());
    splitter_->setStretchFactor(1, 1);
    splitter_->handle(1)->setObjectName("kezSplitter");
    splitter_->setSizes({kTreePaneWidth, kClientSize.width() - kTreePaneWidth});
    body->addWidget(splitter_, 1);
    auto *rightSplitter = placeholder("sSplitter2", central);
    rightSplitter->hide();
    body->addWidget(rightSplitter);
    column->addLayout(body, 1);
    setCentralWidget(central);

    createStatusBar();
    createNonVisualComponents();
    createTrayIcon();
    setFolderTreeVisible(false);
    connect(findChild<QAction *>("kezmenushowfoldertree"), &QAction::toggled, this,
            &Tkezmainf::setFolderTreeVisible);
    connect(findChild<QAction *>("kezmenushowhide"), &QAction::toggled, this,
            &Tkezmainf::applyShowHidden);
    createNavigator();

    resize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QWidget *Tkezmainf::createToolPanel() {
    auto *panel = new QWidget(this);
    panel->setObjectName("kezPanel");
    panel->setFixedHeight(kToolPanelHeight);
    panel->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *mruMenu = new QMenu(panel);
    mruMenu->setObjectName("kezmenuMRU");
    connect(panel, &QWidget::customContextMenuRequested, mruMenu,
            [panel, mruMenu](const QPoint &pos) {
                if (!mruMenu->isEmpty())
                    mruMenu->popup(panel->mapToGlobal(pos));
            });

    auto *actionList = new QObject(this);
    actionList->setObjectName("kezActionList");
    for (const ActionDef &def : kActions) {
        auto *action = new QAction(QString::fromUtf8(def.caption), actionList);
        action->setObjectName(def.name);
        addAction(action);
    }

    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 1, 0, 1);
    row->setSpacing(0);
    for (const ButtonDef &def : kButtons) {
        auto *button = new QToolButton(panel);
        button->setObjectName(def.name);
        button->setToolTip(QString::fromUtf8(def.tip));
        button->setIcon(themedIcon(def.icon, def.fallback));
        button->setIconSize(QSize(32, 32));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
        const bool history =
            QByteArray(def.name) == "kezbtnback" || QByteArray(def.name) == "kezbtnnext";
        button->setFixedSize(history ? kHistoryButtonWidth : kToolButtonWidth, kToolButtonHeight);
        if (history) {
            auto *menu = new QMenu(button);
            menu->setObjectName(QByteArray(def.name) == "kezbtnback" ? "kezhistorybackpm"
                                                                     : "kezhistorynextpm");
            button->setMenu(menu);
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        if (*def.action) {
            QAction *action = findChild<QAction *>(def.action);
            connect(button, &QToolButton::clicked, action, &QAction::trigger);
        }
        row->addWidget(button);
    }
    findChild<QToolButton *>("kezbtnsearchsys")->hide();
    row->addStretch(1);
    return panel;
}

QWidget *Tkezmainf::createDriveBar() {
    volumes_ = new VolumeSource(this);
    driveBar_ = new DriveBar(this);
    driveBar_->setMinimumHeight(kDriveBarHeight);
    driveBar_->setVolumeSource(volumes_);
    return driveBar_;
}

QWidget *Tkezmainf::createFilterPanel() {
    auto *panel = new QWidget(this);
    panel->setObjectName("kezpanel1");
    panel->setFixedHeight(kFilterPanelHeight);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto *label = new QLabel(QStringLiteral("  文件过滤："), panel);
    label->setObjectName("kezfilterlabel");
    row->addWidget(label);
    auto *filter = new FilterBox(panel);
    filter->setFixedWidth(kFilterBoxWidth);
    row->addWidget(filter);
    addressBox_ = new AddressBox(folderModel_, panel);
    row->addWidget(addressBox_, 1);
    return panel;
}

QWidget *Tkezmainf::createFolderTreePane() {
    pageControl_ = new QTabWidget(this);
    pageControl_->setObjectName("kezpagecontrol");
    auto *page = new QWidget(pageControl_);
    page->setObjectName("kezpgtree");
    auto *fill = new QVBoxLayout(page);
    fill->setContentsMargins(0, 0, 0, 0);
    folderTree_ = new FolderTree(folderModel_, page);
    folderTree_->setObjectName("keztree");
    fill->addWidget(folderTree_);
    pageControl_->addTab(page, QStringLiteral("文件夹树"));
    pageControl_->setMinimumWidth(kTreePaneWidth / 2);
    return pageControl_;
}

QWidget *Tkezmainf::createTabArea() {
    auto *area = new QWidget(this);
    area->setObjectName("keztabarea");
    auto *column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    tabRow_ = new TabRow(area);
    tabRow_->setContentWidget(createFileList());
    column->addWidget(tabRow_, 1);
    return area;
}

QWidget *Tkezmainf::createFileList() {
    return createFileListWidget();
}

void Tkezmainf::createStatusBar() {
    auto *bar = new QStatusBar(this);
    bar->setObjectName("kezstatubar");
    bar->setFixedHeight(kStatusBarHeight);
    bar->setSizeGripEnabled(false);
    statusLabel_ = new QLabel(bar);
    statusLabel_->setObjectName("kezstatutext");
    bar->addWidget(statusLabel_, 1);
    setStatusBar(bar);
}

void Tkezmainf::createNonVisualComponents() {
    skin_ = new SkinManager(this);
    connect(skin_, &SkinManager::afterChange, this, &Tkezmainf::applyAddressBoxSkinColors);
}

void Tkezmainf::createTrayIcon() {
    trayIcon_ = new QSystemTrayIcon(this);
    trayIcon_->setObjectName("keztrayicon");
    auto *menu = new QMenu(this);
    menu->setObjectName("kezpmtrayhint");
    QAction *exit = menu->addAction(QStringLiteral("退出"));
    exit->setObjectName("N8");
    connect(exit, &QAction::triggered, this, &QWidget::close);
    trayIcon_->setContextMenu(menu);
    connect(trayIcon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    keztrayiconClick();
            });
    balloon_ = new Balloon(this, trayIcon_, this);
}

// The skins the skin component knows, the current one checked; choosing one selects it.
void Tkezmainf::populateSkinMenu() {
    auto *menu = findChild<QMenu *>("kezskinmenu");
    menu->clear();
    auto *group = new QActionGroup(menu);
    for (const QString &name : skin_->availableSkins()) {
        QAction *action = menu->addAction(name);
        action->setCheckable(true);
        action->setChecked(name == skin_->skinName());
        group->addAction(action);
        connect(action, &QAction::triggered, skin_, [this, name] { skin_->setSkinName(name); });
    }
}

void Tkezmainf::keztrayiconClick() {
    setVisible(!isVisible());
    if (isMinimized()) {
        showNormal();
        raise();
    }
}

void Tkezmainf::kezshowmessage(const QString &msgtext, int infotype) {
    balloon_->show(windowTitle(), msgtext, infotype);
}

const BalloonMessage &Tkezmainf::lastBalloon() const {
    return balloon_->lastMessage();
}

void Tkezmainf::setStatusText(const QString &text) {
    statusLabel_->setText(text);
}

QString Tkezmainf::statusText() const {
    return statusLabel_->text();
}

void Tkezmainf::setFolderTreeVisible(bool visible) {
    pageControl_->setVisible(visible);
}

bool Tkezmainf::isFolderTreeVisible() const {
    return !pageControl_->isHidden();
}

void Tkezmainf::setErrorReporter(std::function<void(const QString &)> reporter) {
    errorReporter_ = std::move(reporter);
}

void Tkezmainf::closeEvent(QCloseEvent *event) {
    if (!runShutdownSequence()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

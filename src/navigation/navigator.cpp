// Navigator: the one current folder and the navigation commands of the main window.
#include "navigation/navigator.h"

#include "core/statusline.h"
#include "filelist/filelistview.h"
#include "navigation/addressbox.h"
#include "navigation/drivebar.h"
#include "navigation/folderhistory.h"
#include "navigation/foldertree.h"
#include "navigation/gesturefilter.h"
#include "navigation/specialcommands.h"
#include "navigation/tabrow.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

namespace {

// The special-folder items that carry a root-folder number.
constexpr const char *kSpecialFolderItems[] = {"N17", "N10", "N13",      "N19", "N14", "N20",
                                               "N22", "N12", "Cookies1", "N15", "N16", "I1",
                                               "d1",  "d2",  "N18",      "S1",  "W1"};

} // namespace

Navigator::Navigator(const Parts &parts, QObject *parent) : QObject(parent), m_parts(parts) {
    m_history = parts.history ? parts.history : new FolderHistory(this);
    m_commands = new SpecialCommands(this);
    connectList();
    connectViews();
    connectCommands();
    connectMenus();
    // The folder the list shows already (set while it was made) is the first one recorded.
    if (m_parts.list->rootFolder().isValid()) {
        onListRootChanged(m_parts.list->rootFolder());
    }
}

template <typename T> T *Navigator::find(const char *name) const {
    return m_parts.window ? m_parts.window->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

void Navigator::openFolder(const ShellItem &folder) {
    if (folder.isVirtual() || (folder.isFileSystem() && folder.exists() && folder.isFolder())) {
        m_parts.list->setRootNamespace(folder);
    }
}

void Navigator::browseTo(const QByteArray &path) {
    if (!path.isEmpty()) {
        openFolder(ShellItem::fromPath(path));
    }
}

void Navigator::connectList() {
    FileListView *list = m_parts.list;
    connect(list, &FileListView::rootChanged, this, &Navigator::onListRootChanged);
    connect(list, &FileListView::doubleClicked, this, &Navigator::kezlistview1DblClick);
    connect(list, &FileListView::keyPressed, this,
            [this](int key, Qt::KeyboardModifiers) { kezlistview1KeyAction(key); });
    connect(list, &FileListView::mouseReleased, this,
            [this](Qt::MouseButton button, const QPoint &) { kezlistview1MouseUp(button); });
    connect(m_history, &FolderHistory::openRequested, this, &Navigator::openFolder);
}

void Navigator::connectViews() {
    if (m_parts.tree) {
        connect(m_parts.tree, &FolderTree::folderActivated, this, &Navigator::openFolder);
    }
    if (m_parts.address) {
        connect(m_parts.address, &AddressBox::folderChosen, this, &Navigator::openFolder);
    }
    if (m_parts.drives) {
        connect(m_parts.drives, &DriveBar::rootFolderRequested, m_parts.list,
                &FileListView::setRootFolder);
        connect(m_parts.drives, &DriveBar::pathRequested, this, &Navigator::browseTo);
    }
    if (m_parts.tabs) {
        TabRow::Host host;
        host.selectedItems = [this] {
            QList<TabRow::Candidate> candidates;
            for (const ShellItem &item : m_parts.list->selectedItems()) {
                candidates.append({item.isFolder(), item.isFileSystem()
                                                        ? item.nativePath()
                                                        : item.parsingName().toUtf8()});
            }
            return candidates;
        };
        host.browseTo = [this](const QByteArray &path) { browseTo(path); };
        host.currentFolderPath = [this] { return m_parts.list->rootFolder().nativePath(); };
        host.showMessage = m_parts.showMessage;
        m_parts.tabs->setHost(host);
    }
    if (m_parts.panel) {
        m_gestures = new GestureFilter(m_parts.panel);
        connect(m_gestures, &GestureFilter::gestureRecognized, this, &Navigator::kezPanelGesture);
        connect(m_gestures, &GestureFilter::panelDoubleClicked, this, &Navigator::kezPanelDblClick);
    }
    SpecialCommands::Host host;
    host.setRootFolder = [this](int number) { m_parts.list->setRootFolder(number); };
    host.browseTo = [this](const QByteArray &path) { browseTo(path); };
    host.firstSelected = [this] {
        const QList<ShellItem> selected = m_parts.list->selectedItems();
        return selected.isEmpty() ? ShellItem() : selected.first();
    };
    host.showMessage = m_parts.showMessage;
    host.dialogParent = [this] { return m_parts.window; };
    m_commands->setHost(host);
}

void Navigator::connectCommands() {
    auto bind = [this](const char *name, auto handler) {
        if (auto *action = find<QAction>(name)) {
            connect(action, &QAction::triggered, this, handler);
        }
    };
    bind("kezactback", &Navigator::kezactbackExecute);
    bind("kezactnext", &Navigator::kezactnextExecute);
    bind("kezactup", &Navigator::kezactupExecute);
    bind("kezactrefresh", &Navigator::kezactrefreshExecute);
    bind("kezmenunext", [this] { page(PagingCommand::NextPage); });
    bind("kezmenupre", [this] { page(PagingCommand::PreviousPage); });
    bind("kezmenubottom", [this] { page(PagingCommand::ToTop); });
    bind("kezmenutop", [this] { page(PagingCommand::ToBottom); });
    if (m_parts.tabs) {
        bind("kezmenuaddtab1", [this] { m_parts.tabs->kezmenuaddtab1Click(); });
    }
    bind("N26", [this] { m_commands->N26Click(); });
    bind("kezmenulink", [this] { m_commands->kezmenulinkClick(); });
    bind("N23", [this] { m_commands->N23Click(); });
    bind("N24", [this] { m_commands->N24Click(); });
    bind("N25", [this] { m_commands->N25Click(); });
    bind("kezMapToDrive", [this] { m_commands->kezMapToDriveClick(); });
    bind("kezUnMapDrive", [this] { m_commands->kezUnMapDriveClick(); });
    for (const char *name : kSpecialFolderItems) {
        if (auto *item = find<QAction>(name)) {
            connect(item, &QAction::triggered, this, [this, item] { m_commands->N10Click(item); });
        }
    }
}

void Navigator::connectMenus() {
    if (auto *menu = find<QMenu>("kezhistorybackpm")) {
        connect(menu, &QMenu::aboutToShow, this,
                [this, menu] { m_history->kezhistorybackpmPopup(menu); });
    }
    if (auto *menu = find<QMenu>("kezhistorynextpm")) {
        connect(menu, &QMenu::aboutToShow, this,
                [this, menu] { m_history->kezhistorynextpmPopup(menu); });
    }
    if (auto *menu = find<QMenu>("kezmenuMRU")) {
        // The panel shows this menu only when it has items, so it is kept filled, and filled
        // again after each of its commands.
        connect(menu, &QMenu::triggered, this, [this] {
            QMetaObject::invokeMethod(this, &Navigator::refillRecentMenu, Qt::QueuedConnection);
        });
    }
}

void Navigator::refillRecentMenu() {
    if (auto *menu = find<QMenu>("kezmenuMRU")) {
        m_history->kezmenuMRUPopup(menu);
    }
}

void Navigator::onListRootChanged(const ShellItem &folder) {
    if (m_parts.address) {
        m_parts.address->setCurrentFolder(folder);
    }
    if (m_parts.tree) {
        m_parts.tree->setCurrentFolder(folder);
    }
    m_history->record(folder);
    refillRecentMenu();
    kezcomboboxPathChange(folder);
}

void Navigator::kezcomboboxPathChange(const ShellItem &folder) {
    if (m_parts.setStatusText) {
        m_parts.setStatusText(
            QString::fromStdString(xz::statusLineText(m_parts.list->itemCount(), 0)));
    }
    setEnabled("kezbtnup", m_parts.list->rootFolder().kind() != ShellItem::Kind::Desktop);
    setEnabled("kezbtnback", m_history->hasBackItems());
    setEnabled("kezbtnnext", m_history->hasNextItems());
    if (m_parts.address && folder.isFileSystem() && folder.isVolumeRoot()) {
        m_parts.address->setDisplayText(AddressBox::volumeRootText(folder));
    }
    emit pathChanged(folder);
}

void Navigator::setEnabled(const char *buttonName, bool enabled) {
    if (auto *button = find<QAbstractButton>(buttonName)) {
        button->setEnabled(enabled);
    }
}

void Navigator::kezactbackExecute() {
    m_history->back();
}

void Navigator::kezactnextExecute() {
    m_history->next();
}

void Navigator::kezactupExecute() {
    m_parts.list->browseToPrevLevel();
}

void Navigator::kezactrefreshExecute() {
    m_parts.list->rebuild();
}

// Gestures and double clicks run the actions, which work even while a button looks disabled.
void Navigator::pressButton(const char *actionName) {
    if (auto *action = find<QAction>(actionName)) {
        action->trigger();
    }
}

// Menu items run only while enabled, as a click on them would.
void Navigator::clickMenuItem(const char *name) {
    if (auto *item = find<QAction>(name); item && item->isEnabled()) {
        item->trigger();
    }
}

void Navigator::kezPanelGesture(int gestureId) {
    switch (static_cast<Gesture>(gestureId)) {
    case Gesture::Left:
        pressButton("kezactback");
        break;
    case Gesture::Right:
        pressButton("kezactnext");
        break;
    case Gesture::Up:
        clickMenuItem("kezmenupre");
        break;
    case Gesture::Down:
        clickMenuItem("kezmenunext");
        break;
    case Gesture::UpDown:
        clickMenuItem("kezmenubottom"); // to the top
        break;
    case Gesture::DownUp:
        clickMenuItem("kezmenutop"); // to the bottom
        break;
    case Gesture::Check:
        pressButton("kezactup");
        break;
    case Gesture::None:
        break;
    }
}

void Navigator::kezPanelDblClick() {
    pressButton("kezactup");
}

void Navigator::kezlistview1DblClick() {
    if (m_parts.list->selectedCount() == 0) {
        pressButton("kezactup");
    }
}

void Navigator::kezlistview1KeyAction(int key) {
    switch (key) {
    case Qt::Key_PageUp:
        clickMenuItem("kezmenupre");
        break;
    case Qt::Key_PageDown:
        clickMenuItem("kezmenunext");
        break;
    case Qt::Key_Home:
        clickMenuItem("kezmenubottom");
        break;
    case Qt::Key_End:
        clickMenuItem("kezmenutop");
        break;
    default:
        break;
    }
}

void Navigator::kezlistview1MouseUp(Qt::MouseButton button) {
    if (button == Qt::MiddleButton) {
        clickMenuItem("kezmenuaddtab1");
    }
}

bool Navigator::page(PagingCommand command) {
    FileListView *list = m_parts.list;
    ScrollState state;
    state.offset = list->offsetY();
    state.viewportHeight = list->clientHeight();
    state.contentHeight = list->viewHeight();
    // The list's viewport lies below its column header, so its client height already leaves
    // the header out and the header adds nothing to the largest offset.
    state.headerHeight = 0;
    if (list->itemCount() > 0) {
        state.firstItemHeight = list->firstItemHeight();
    }
    const std::optional<int> target = PagingArithmetic::targetOffset(command, state);
    if (!target) {
        return false;
    }
    list->setOffsetY(*target);
    return true;
}

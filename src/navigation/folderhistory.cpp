// FolderHistory: recording, stepping and the menus of the history and the recent folders.
#include "navigation/folderhistory.h"

#include "navigation/navigationimages.h"

#include <QFileInfo>
#include <QMenu>

namespace {

// A file-system folder that no longer exists is dropped when stepped to; zip archives, which
// the list can open like folders, and virtual places are always kept.
bool isReachable(const std::string &key) {
    const ShellItem item = FolderHistory::itemOf(key);
    if (!item.isFileSystem()) {
        return true;
    }
    const QFileInfo info(QFile::decodeName(item.nativePath()));
    return info.isDir() || info.suffix().compare(QLatin1String("zip"), Qt::CaseInsensitive) == 0;
}

// Menus show folder names as they are: "&" would otherwise mark a shortcut letter.
QString menuText(const QString &name) {
    QString text = name;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

FolderHistory::FolderHistory(QObject *parent) : QObject(parent) {
    setObjectName(QStringLiteral("kezHistory"));
}

std::string FolderHistory::keyOf(const ShellItem &folder) {
    if (folder.isFileSystem()) {
        return folder.nativePath().toStdString();
    }
    return folder.parsingName().toStdString();
}

ShellItem FolderHistory::itemOf(const std::string &key) {
    if (!key.empty() && key.front() == '/') {
        return ShellItem::fromPath(QByteArray(key.data(), static_cast<qsizetype>(key.size())));
    }
    return ShellItem::fromParsingName(QString::fromStdString(key));
}

void FolderHistory::record(const ShellItem &folder) {
    if (!folder.isValid()) {
        return;
    }
    const std::string key = keyOf(folder);
    m_history.record(key);
    m_recent.record(key);
}

void FolderHistory::openKey(const std::optional<std::string> &key) {
    if (key) {
        emit openRequested(itemOf(*key));
    }
}

void FolderHistory::back() {
    openKey(m_history.back(isReachable));
}

void FolderHistory::next() {
    openKey(m_history.forward(isReachable));
}

void FolderHistory::addEntry(QMenu *menu, const std::string &key, std::function<void()> choose) {
    const ShellItem item = itemOf(key);
    QAction *action = menu->addAction(NavigationImages::iconOf(item), menuText(item.displayName()));
    connect(action, &QAction::triggered, this, std::move(choose));
}

void FolderHistory::addClearItem(QMenu *menu, std::function<void()> clear) {
    menu->addSeparator();
    QAction *action = menu->addAction(QString::fromUtf8(kClearCaption));
    connect(action, &QAction::triggered, this, std::move(clear));
}

void FolderHistory::fillHistoryMenu(QMenu *menu, Direction direction) {
    menu->clear();
    if (m_history.entries().empty()) {
        return;
    }
    const std::vector<std::size_t> indexes =
        direction == Direction::Back ? m_history.backIndexes() : m_history.nextIndexes();
    for (std::size_t index : indexes) {
        const std::string key = m_history.entries()[index];
        // Entries are matched by key when chosen: the list may have changed since the menu
        // was filled.
        addEntry(menu, key, [this, key] {
            const auto &entries = m_history.entries();
            const auto it = std::find(entries.begin(), entries.end(), key);
            if (it != entries.end()) {
                openKey(
                    m_history.goTo(static_cast<std::size_t>(it - entries.begin()), isReachable));
            }
        });
    }
    addClearItem(menu, [this] { m_history.clear(); });
}

void FolderHistory::kezhistorybackpmPopup(QMenu *menu) {
    fillHistoryMenu(menu, Direction::Back);
}

void FolderHistory::kezhistorynextpmPopup(QMenu *menu) {
    fillHistoryMenu(menu, Direction::Next);
}

void FolderHistory::kezmenuMRUPopup(QMenu *menu) {
    menu->clear();
    if (m_recent.entries().empty()) {
        return;
    }
    for (std::size_t index : m_recent.menuIndexes()) {
        const std::string key = m_recent.entries()[index];
        addEntry(menu, key, [this, key] {
            const auto &entries = m_recent.entries();
            const auto it = std::find(entries.begin(), entries.end(), key);
            if (it != entries.end()) {
                openKey(m_recent.choose(static_cast<std::size_t>(it - entries.begin())));
            }
        });
    }
    addClearItem(menu, [this] { m_recent.clear(); });
}

void FolderHistory::loadRecent(const QString &path) {
    m_recent.loadFromFile(QFile::encodeName(path).toStdString());
}

bool FolderHistory::saveRecent(const QString &path) const {
    return m_recent.saveToFile(QFile::encodeName(path).toStdString());
}

// AddressBox: the displayed text and the folder-tree pop-up.
#include "navigation/addressbox.h"

#include "navigation/foldertree.h"
#include "navigation/foldertreemodel.h"
#include "navigation/navigationimages.h"
#include "platform/volumesource.h"

#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Byte counts as the status texts show them: whole kilobytes, else megabytes or gigabytes with
// two decimals.
QString sizeText(qint64 bytes) {
    constexpr double kKilo = 1024.0;
    if (bytes < 1024LL * 1024) {
        return QStringLiteral("%1 KB").arg(bytes / 1024);
    }
    if (bytes < 1024LL * 1024 * 1024) {
        return QStringLiteral("%1 MB").arg(bytes / kKilo / kKilo, 0, 'f', 2);
    }
    return QStringLiteral("%1 GB").arg(bytes / kKilo / kKilo / kKilo, 0, 'f', 2);
}

} // namespace

AddressBox::AddressBox(FolderTreeModel *model, QWidget *parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("kezcombobox"));
    setEditable(false);
    setMaxVisibleItems(kPopupRows);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    addItem(QString());

    m_popup = new QFrame(this, Qt::Popup);
    m_popup->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(1, 1, 1, 1);
    m_tree = new FolderTree(model, m_popup);
    layout->addWidget(m_tree);
    connect(m_tree, &QTreeView::clicked, this, [this](const QModelIndex &index) {
        const ShellItem item = m_tree->folderModel()->itemAt(index);
        hidePopup();
        if (item.isValid()) {
            emit folderChosen(item);
        }
    });
    connect(m_tree, &QTreeView::activated, m_tree, &QTreeView::clicked);
}

QString AddressBox::pathText(const ShellItem &folder) {
    return folder.isFileSystem() ? QFile::decodeName(folder.nativePath()) : folder.displayName();
}

QString AddressBox::volumeRootText(const ShellItem &folder) {
    QString name = folder.displayName();
    Volume volume;
    if (VolumeSource::volumeOf(VolumeSource::readVolumes(VolumeSource::DefaultMountTable),
                               folder.nativePath(), &volume) &&
        volume.mountPoint == folder.nativePath()) {
        name = volume.displayName();
    }
    qint64 total = 0;
    qint64 free = 0;
    QString tip;
    if (VolumeSource::spaceOf(folder.nativePath(), &total, &free)) {
        tip = QStringLiteral("可用空间: %1  总大小: %2").arg(sizeText(free), sizeText(total));
    }
    return name + QStringLiteral("     ") + tip;
}

void AddressBox::setCurrentFolder(const ShellItem &folder) {
    m_folder = folder;
    setItemText(0, pathText(folder));
    const bool place = folder.isVirtual();
    setItemIcon(0, NavigationImages::icon(
                       !place                                       ? NavigationImages::Folder
                       : folder.kind() == ShellItem::Kind::Desktop  ? NavigationImages::Desktop
                       : folder.kind() == ShellItem::Kind::Computer ? NavigationImages::Computer
                                                                    : NavigationImages::Trash));
    setToolTip(pathText(folder));
}

void AddressBox::setDisplayText(const QString &text) {
    setItemText(0, text);
}

void AddressBox::showPopup() {
    const int rowHeight = std::max(m_tree->sizeHintForRow(0), fontMetrics().height() + 4);
    const int height = rowHeight * kPopupRows + 2 * m_popup->frameWidth() + 2;
    QPoint below = mapToGlobal(QPoint(0, this->height()));
    if (QScreen *screen = QGuiApplication::screenAt(below)) {
        const QRect area = screen->availableGeometry();
        if (below.y() + height > area.bottom()) {
            below.setY(mapToGlobal(QPoint(0, 0)).y() - height);
        }
    }
    m_popup->setGeometry(QRect(below, QSize(width(), height)));
    m_tree->setCurrentFolder(m_folder);
    m_popup->show();
    m_tree->setFocus();
}

void AddressBox::hidePopup() {
    m_popup->hide();
    QComboBox::hidePopup();
}

bool AddressBox::isPopupVisible() const {
    return m_popup->isVisible();
}

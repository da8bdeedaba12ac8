// DriveBar: building, renewing and clicking the place and volume buttons.
#include "navigation/drivebar.h"

#include "navigation/flowlayout.h"
#include "navigation/navigationimages.h"
#include "platform/shellitem.h"
#include "platform/volumesource.h"

#include <QFile>
#include <QToolButton>

namespace {

constexpr const char *kImageProperty = "kezImageIndex";
constexpr const char *kRootProperty = "kezRootPath";
// The bar's height with one row of buttons.
constexpr int kRowHeight = 23;

const QString kDesktop = QStringLiteral("桌面");
const QString kComputer = QStringLiteral("我的电脑");
const QString kTrash = QStringLiteral("回收站");

int imageIndexFor(Volume::Kind kind) {
    switch (kind) {
    case Volume::Kind::Fixed:
        return NavigationImages::HardDisk;
    case Volume::Kind::Optical:
        return NavigationImages::OpticalDrive;
    case Volume::Kind::Removable:
        return NavigationImages::RemovableDrive;
    default:
        return NavigationImages::kNone;
    }
}

} // namespace

DriveBar::DriveBar(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("kezdrivebar"));
    m_layout = new FlowLayout(this);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void DriveBar::setVolumeSource(VolumeSource *source) {
    if (m_source) {
        disconnect(m_source, nullptr, this, nullptr);
    }
    m_source = source;
    if (source) {
        connect(source, &VolumeSource::changed, this, &DriveBar::kezdevicechange);
    }
}

void DriveBar::addButton(const QString &caption, const QString &hint, int imageIndex,
                         const QByteArray &rootPath) {
    auto *button = new QToolButton(this);
    button->setText(caption);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(16, 16));
    button->setFixedHeight(kRowHeight);
    if (imageIndex != NavigationImages::kNone) {
        button->setIcon(NavigationImages::icon(imageIndex));
    }
    button->setProperty(kImageProperty, imageIndex);
    button->setProperty(kRootProperty, rootPath);
    connect(button, &QToolButton::clicked, this, &DriveBar::kezdrivebuttonClick);
    m_layout->insertWidget(0, button);
    button->show();
    updateGeometry();
}

void DriveBar::kezbuilddrivebar() {
    addButton(kTrash, kTrash, NavigationImages::Trash);
    if (m_source) {
        for (const Volume &volume : m_source->volumes()) {
            if (volume.kind != Volume::Kind::Removable) {
                addButton(volume.displayName(), QFile::decodeName(volume.mountPoint),
                          imageIndexFor(volume.kind), volume.mountPoint);
            }
        }
    }
    addButton(kComputer, kComputer, NavigationImages::Computer);
    addButton(kDesktop, kDesktop, NavigationImages::Desktop);
}

void DriveBar::kezbuildremovable() {
    if (!m_source) {
        return;
    }
    for (const Volume &volume : m_source->volumes()) {
        if (volume.kind == Volume::Kind::Removable) {
            addButton(volume.displayName(), QFile::decodeName(volume.mountPoint),
                      NavigationImages::RemovableDrive, volume.mountPoint);
        }
    }
}

void DriveBar::kezclearremovable() {
    const QList<QToolButton *> all = buttons();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (imageIndexOf(*it) == NavigationImages::RemovableDrive) {
            delete *it; // the layout drops the item of a deleted widget
        }
    }
    updateGeometry();
}

void DriveBar::kezcleardrivebar() {
    const QList<QToolButton *> all = buttons();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        delete *it;
    }
    updateGeometry();
}

void DriveBar::kezdevicechange() {
    kezclearremovable();
    kezbuildremovable();
}

QList<QToolButton *> DriveBar::buttons() const {
    QList<QToolButton *> result;
    for (int i = 0; i < m_layout->count(); ++i) {
        if (auto *button = qobject_cast<QToolButton *>(m_layout->itemAt(i)->widget())) {
            result.append(button);
        }
    }
    return result;
}

int DriveBar::imageIndexOf(const QToolButton *button) {
    return button->property(kImageProperty).toInt();
}

QByteArray DriveBar::rootPathOf(const QToolButton *button) {
    return button->property(kRootProperty).toByteArray();
}

void DriveBar::kezdrivebuttonClick() {
    const auto *button = qobject_cast<QToolButton *>(sender());
    if (!button) {
        return;
    }
    const QString caption = button->text();
    // Only place buttons lack a root path, so a volume labelled like a place still opens itself.
    if (!rootPathOf(button).isEmpty()) {
        emit pathRequested(rootPathOf(button));
    } else if (caption == kDesktop) {
        emit rootFolderRequested(ShellItem::rfDesktop);
    } else if (caption == kComputer) {
        emit rootFolderRequested(ShellItem::rfDrives);
    } else if (caption == kTrash) {
        emit rootFolderRequested(ShellItem::rfBitBucket);
    }
}

QSize DriveBar::sizeHint() const {
    return {m_layout->sizeHint().width(), heightForWidth(width())};
}

int DriveBar::heightForWidth(int width) const {
    return std::max(kRowHeight, m_layout->heightForWidth(width));
}

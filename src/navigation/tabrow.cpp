// TabRow: adding, opening and deleting saved folder tabs.
#include "navigation/tabrow.h"

#include "core/kezstr.h"
#include "core/settingsfile.h"
#include "core/tabcaption.h"
#include "core/tablist.h"
#include "navigation/navigationimages.h"
#include "navigation/tabstrip.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QVBoxLayout>

namespace {

// Icon kinds of the balloon messages.
constexpr int kBitWarning = 2;
constexpr int kBitError = 3;

QString kezText(KezStr id) {
    return QString::fromUtf8(kezstr(id));
}

std::string toStd(const QByteArray &bytes) {
    return bytes.toStdString();
}

QByteArray toBytes(const std::string &text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

bool equalsIgnoringAsciiCase(const std::string &a, const std::string &b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

} // namespace

TabRow::TabRow(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("kezTabControl"));
    m_strip = new TabStrip(this);
    m_strip->setIcon(NavigationImages::icon(kezTabControlGetImageIndex(0)));
    m_strip->setToolTip(QStringLiteral("鼠标中键删除标签"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_strip);
    setHost({});
    connect(m_strip, &TabStrip::currentChanged, this, &TabRow::kezTabControlChange);
    connect(m_strip, &TabStrip::released, this, &TabRow::kezTabControl2MouseUp);
}

void TabRow::setHost(Host host) {
    m_host = std::move(host);
}

void TabRow::setStorage(SettingsFile *settings, TabList *tabs) {
    m_settings = settings;
    m_tabs = tabs;
}

void TabRow::setContentWidget(QWidget *content) {
    if (m_content) {
        m_layout->removeWidget(m_content);
    }
    m_content = content;
    if (content) {
        m_layout->addWidget(content, 1);
    }
}

QByteArray TabRow::restoreTabs() {
    if (!m_tabs) {
        return {};
    }
    for (std::size_t i = 0; i < m_tabs->count(); ++i) {
        m_strip->addTab(QString::fromStdString(TabCaption::decode(m_tabs->nameAt(i))));
    }
    return m_tabs->count() == 0 ? QByteArray() : pathAt(0);
}

int TabRow::count() const {
    return m_strip->count();
}

QString TabRow::captionAt(int index) const {
    return m_strip->tabText(index);
}

QByteArray TabRow::pathAt(int index) const {
    if (!m_tabs || index < 0 || static_cast<std::size_t>(index) >= m_tabs->count()) {
        return {};
    }
    return toBytes(TabCaption::decode(m_tabs->valueAt(static_cast<std::size_t>(index))));
}

int TabRow::currentIndex() const {
    return m_strip->currentIndex();
}

int TabRow::kezTabControlGetImageIndex(int) {
    return NavigationImages::Folder;
}

void TabRow::kezmenuaddtab1Click() {
    if (!m_settings || !m_tabs) {
        return; // after the shutdown sequence released the storage
    }
    const QList<Candidate> selected = m_host.selectedItems();
    if (selected.isEmpty()) {
        m_host.showMessage(kezText(KezStr::TabSelectFolders), kBitWarning);
        return;
    }
    for (const Candidate &item : selected) {
        if (!item.isFolder) {
            m_host.showMessage(kezText(KezStr::TabFoldersOnly), kBitError);
            continue;
        }
        try {
            addFolder(item.path);
        } catch (const SettingsWriteError &error) {
            // The entry could not be stored: nothing of this item is added, and the items after
            // it are left alone so the tabs on screen never differ from the file.
            m_host.showMessage(QString::fromStdString(error.what()), kBitError);
            return;
        }
    }
}

void TabRow::addFolder(const QByteArray &path) {
    std::string caption;
    if (TabCaption::fromPath(toStd(path), caption) != TabCaption::Outcome::Ok) {
        m_host.showMessage(kezText(KezStr::TabNoSpecialFolder), kBitError);
        return;
    }
    const std::string storedCaption = TabCaption::encode(caption);
    const std::string storedPath = TabCaption::encode(toStd(path));
    m_settings->writeString(kSection, storedCaption, storedPath);
    m_tabs->add(storedCaption, storedPath);
    m_strip->addTab(QString::fromStdString(caption));
}

void TabRow::kezTabControlChange(int index) {
    const QByteArray path = pathAt(index);
    if (!path.isEmpty() && QFileInfo(QFile::decodeName(path)).isDir()) {
        m_host.browseTo(path);
        return;
    }
    m_host.showMessage(kezText(KezStr::TabFolderMissing), kBitError);
}

void TabRow::kezTabControl2MouseUp(Qt::MouseButton button, const QPoint &position) {
    const int index = m_strip->tabAt(position);
    if (index < 0) {
        return;
    }
    if (button == Qt::LeftButton) {
        // Re-opens the tab's folder when the list has moved elsewhere since it was selected.
        const QByteArray path = pathAt(index);
        const QByteArray current =
            m_host.currentFolderPath ? m_host.currentFolderPath() : QByteArray();
        if (!path.isEmpty() && path != current) {
            m_host.browseTo(path);
        }
    } else if (button == Qt::MiddleButton) {
        const QString question = kezText(KezStr::TabDeleteQuestion) + QStringLiteral("  ") +
                                 captionAt(index) + QStringLiteral("  ") + QStringLiteral("?");
        if (confirm(question)) {
            deleteTab(index);
        }
    }
}

bool TabRow::confirm(const QString &text) {
    if (m_host.confirmDelete) {
        return m_host.confirmDelete(text);
    }
    return QMessageBox::question(window(), window()->windowTitle(), text,
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void TabRow::deleteTab(int index) {
    if (!m_settings || !m_tabs) {
        return;
    }
    const std::string storedCaption = m_tabs->nameAt(static_cast<std::size_t>(index));
    m_tabs->removeAt(static_cast<std::size_t>(index));
    m_strip->removeTab(index);
    updateEntryAfterDelete(storedCaption);
}

// The settings file keys tabs by caption. When another tab with the deleted tab's caption
// remains, its entry is written instead of deleted, so that tab survives a restart. A failed
// write is not reported: the tab is gone from the row, and the file catches up with the next
// change or shows the tab again at the next start.
void TabRow::updateEntryAfterDelete(const std::string &storedCaption) {
    for (std::size_t i = m_tabs->count(); i > 0; --i) {
        const std::string name = m_tabs->nameAt(i - 1);
        if (!equalsIgnoringAsciiCase(name, storedCaption)) {
            continue;
        }
        try {
            if (name != storedCaption) {
                m_settings->deleteKey(kSection, storedCaption);
            }
            m_settings->writeString(kSection, name, m_tabs->valueAt(i - 1));
        } catch (const SettingsWriteError &) {
        }
        return;
    }
    m_settings->deleteKey(kSection, storedCaption);
}

// SpecialCommands: handlers of the special-folder, tool, clipboard and shortcut commands.
#include "navigation/specialcommands.h"

#include "core/kezstr.h"
#include "navigation/rundialog.h"
#include "navigation/toollauncher.h"
#include "platform/volumesource.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QUrl>

namespace {

constexpr int kBitError = 3;

QByteArray resolvedLinkTarget(const ShellItem &link) {
    QByteArray target = link.linkTarget();
    if (target.startsWith("file://")) {
        return QFile::encodeName(QUrl(QString::fromUtf8(target)).toLocalFile());
    }
    if (!target.isEmpty() && !target.startsWith('/') && link.isSymLink()) {
        // A relative link target counts from the folder that holds the link.
        target = link.folderPath() + '/' + target;
    }
    return target;
}

} // namespace

SpecialCommands::SpecialCommands(QObject *parent) : QObject(parent) {}

void SpecialCommands::setHost(Host host) {
    m_host = std::move(host);
}

void SpecialCommands::N10Click(const QAction *item) {
    bool ok = false;
    int number = item->property("hint").toString().toInt(&ok);
    if (!ok) {
        number = item->data().toInt(&ok);
    }
    if (ok) {
        m_host.setRootFolder(number);
    }
}

void SpecialCommands::N23Click() {
    ToolLauncher::startControlPanel();
}

void SpecialCommands::N24Click() {
    RunDialog dialog(m_host.dialogParent ? m_host.dialogParent() : nullptr);
    dialog.exec();
}

void SpecialCommands::N25Click() {
    ToolLauncher::startSystemSearch();
}

void SpecialCommands::N26Click() {
    // The text is taken as it is: quotes or a line break make it no folder. Only absolute
    // paths count, so a word such as "src" never opens a folder of the program's own.
    const QString text = QGuiApplication::clipboard()->text();
    if (text.startsWith(QLatin1Char('/')) && QFileInfo(text).isDir()) {
        m_host.browseTo(QFile::encodeName(text));
        return;
    }
    m_host.showMessage(QString::fromUtf8(kezstr(KezStr::ClipboardNoPath)), kBitError);
}

QByteArray SpecialCommands::desktopEntryWorkingDirectory(const QByteArray &desktopFile) {
    QFile file(QFile::decodeName(desktopFile));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
        } else if (inMainGroup && line.startsWith("Path")) {
            const qsizetype equals = line.indexOf('=');
            if (equals > 0 && line.left(equals).trimmed() == "Path") {
                return line.mid(equals + 1).trimmed();
            }
        }
    }
    return {};
}

QByteArray SpecialCommands::shortcutFolder(const ShellItem &shortcut) {
    if (!shortcut.isLink()) {
        return {};
    }
    const QByteArray workingDirectory =
        shortcut.isSymLink() ? QByteArray() : desktopEntryWorkingDirectory(shortcut.nativePath());
    if (workingDirectory.isEmpty()) {
        return resolvedLinkTarget(shortcut);
    }
    if (workingDirectory.contains('%') || workingDirectory.contains('$')) {
        return kSystemFolder; // an unexpanded variable
    }
    return workingDirectory;
}

void SpecialCommands::kezmenulinkClick() {
    const ShellItem item = m_host.firstSelected ? m_host.firstSelected() : ShellItem();
    const QByteArray folder = shortcutFolder(item);
    if (!folder.isEmpty()) {
        m_host.browseTo(folder);
    }
}

void SpecialCommands::kezMapToDriveClick() {
    if (ToolLauncher::findFirst({"gio"}).isEmpty()) {
        return;
    }
    bool ok = false;
    const QString address = QInputDialog::getText(
        m_host.dialogParent ? m_host.dialogParent() : nullptr, QStringLiteral("映射网络驱动器"),
        QStringLiteral("共享文件夹的地址（例如 smb://服务器/共享 或 sftp://主机/路径）："),
        QLineEdit::Normal, QString(), &ok);
    if (ok) {
        ToolLauncher::mountShare(address);
    }
}

void SpecialCommands::kezUnMapDriveClick() {
    if (ToolLauncher::findFirst({"gio"}).isEmpty()) {
        return;
    }
    QStringList remote;
    for (const Volume &volume : VolumeSource::readVolumes(VolumeSource::DefaultMountTable)) {
        if (volume.kind == Volume::Kind::Remote) {
            remote << QFile::decodeName(volume.mountPoint);
        }
    }
    if (remote.isEmpty()) {
        return;
    }
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        m_host.dialogParent ? m_host.dialogParent() : nullptr, QStringLiteral("断开网络驱动器"),
        QStringLiteral("要断开的网络驱动器："), remote, 0, false, &ok);
    if (ok) {
        ToolLauncher::unmountShare(chosen);
    }
}

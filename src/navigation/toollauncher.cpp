// ToolLauncher: candidate lists of the desktop tools and detached starting.
#include "navigation/toollauncher.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace {

bool startDetached(const QString &program, const QStringList &arguments,
                   const QString &workingDirectory = QDir::homePath()) {
    if (program.isEmpty()) {
        return false;
    }
    return QProcess::startDetached(program, arguments, workingDirectory);
}

} // namespace

QString ToolLauncher::findFirst(const QStringList &candidates) {
    for (const QString &name : candidates) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

bool ToolLauncher::startControlPanel() {
    return startDetached(findFirst({"gnome-control-center", "xfce4-settings-manager",
                                    "systemsettings", "systemsettings5", "cinnamon-settings",
                                    "mate-control-center", "lxqt-config", "budgie-control-center"}),
                         {});
}

bool ToolLauncher::startSystemSearch() {
    return startDetached(findFirst({"gnome-search-tool", "catfish", "fsearch", "kfind",
                                    "mate-search-tool", "searchmonkey"}),
                         {});
}

bool ToolLauncher::mountShare(const QString &address) {
    return !address.trimmed().isEmpty() &&
           startDetached(findFirst({"gio"}), {"mount", address.trimmed()});
}

bool ToolLauncher::unmountShare(const QString &mountPoint) {
    return !mountPoint.isEmpty() && startDetached(findFirst({"gio"}), {"mount", "-u", mountPoint});
}

bool ToolLauncher::runCommandLine(const QString &commandLine, const QString &workingDirectory) {
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty()) {
        return false;
    }
    const QString program = parts.takeFirst();
    return startDetached(program, parts, workingDirectory);
}

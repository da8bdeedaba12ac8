// Tkezmainf: the creation sequence that restores the saved state and the shutdown sequence
// that saves it, step by step in their fixed order.
#include "app/mainwindow.h"

#include "app/appicon.h"
#include "app/skinmanager.h"
#include "core/kezstr.h"
#include "core/settingsfile.h"
#include "core/tablist.h"
#include "navigation/tabrow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QSysInfo>
#include <QSystemTrayIcon>
#include <QUrl>

using namespace settingskeys;

namespace {

std::string native(const QString &path) {
    return QFile::encodeName(path).toStdString();
}
QString fromUtf8(const std::string &s) {
    return QString::fromStdString(s);
}

// The highest hue offset; a start picks one of 1..kHueRange so every start gets its own tint.
constexpr int kHueRange = 360;

} // namespace

void Tkezmainf::runCreationSequence() {
    using std::string;
    const QString appTitle = QString::fromUtf8(kezstr(KezStr::AppTitle));
    // 1. Extensions shown exactly when the system does not hide them.
    findChild<QAction *>("kezmenushowext")->setChecked(!systemHidesExtensions());
    // 2.
    settings_ = std::make_unique<SettingsFile>(native(programDir_ + "tabfile.kez"));
    // 3, 4.
    QGuiApplication::setApplicationDisplayName(appTitle);
    setWindowTitle(appTitle);
    // 5, 6. The tool-tip's line break is a single CR.
    trayIcon_->setIcon(QApplication::windowIcon().isNull() ? applicationIcon()
                                                           : QApplication::windowIcon());
    trayIcon_->setToolTip(appTitle + '\r' + QString::fromUtf8(kezstr(KezStr::TrayCredit)));
    trayIcon_->show();
    // 7, 8.
    tabs_ = std::make_unique<TabList>();
    for (const string &line : settings_->readSection(kTabs))
        tabs_->add(line);
    // 9.
    const bool showHidden = settings_->readBool(kSettings, kShowHidden, true);
    findChild<QAction *>("kezmenushowhide")->setChecked(showHidden);
    applyShowHidden(showHidden);
    // 10.
    findChild<QAction *>("kezmenuregmypc")
        ->setChecked(settings_->readBool(kSettings, kFolderHandler, false));
    // 11.
    const bool showTree = settings_->readBool(kSettings, kShowFolderTree, false);
    findChild<QAction *>("kezmenushowfoldertree")->setChecked(showTree);
    setFolderTreeVisible(showTree);
    // 12.
    openSavedTabs();
    // 13. Taken from the skin of the window definition, before the saved skin is selected.
    setListGroupHeaderColor(skin_->activeEditFontColor());
    // 14.
    setViewCode(settings_->readInteger(kSettings, kViewCode, 6));
    // 15.
    isXp_ = QSysInfo::prettyProductName().contains(QLatin1String("XP"));
    // 16.
    if (driveBarButtonCount() == 0) {
        buildDriveBar();
        buildRemovable();
    }
    // 17, 18. An unknown skin name leaves the built-in skin.
    skin_->setSkinDirectory(programDir_ + "/skin");
    skin_->setSkinName(
        fromUtf8(settings_->readString(kSettings, kSkinName, kezstr(KezStr::BuiltInSkin))));
    // 19.
    skin_->setHueOffset(static_cast<int>(QRandomGenerator::global()->bounded(kHueRange)) + 1);
    // 20.
    applyAddressBoxSkinColors();
    // 21.
    const QString mruPath = programDir_ + "kezmru.kez";
    if (QFile::exists(mruPath))
        loadMru(mruPath);
    // 22. A folder that does not exist leaves the list where it is.
    if (!arguments_.isEmpty() && findChild<QAction *>("kezmenuregmypc")->isChecked())
        setListRootPath(commandLineFolder());
}

bool Tkezmainf::runShutdownSequence() {
    if (!settings_) // already shut down
        return true;
    auto checked = [this](const char *name) { return findChild<QAction *>(name)->isChecked(); };
    try {
        settings_->writeBool(kSettings, kShowHidden, checked("kezmenushowhide"));           // 1
        settings_->writeBool(kSettings, kShowFolderTree, checked("kezmenushowfoldertree")); // 2
        settings_->writeString(kSettings, kSkinName, skin_->skinName().toStdString());      // 3
        const QString mruPath = programDir_ + "kezmru.kez";                                 // 4
        if (!saveMru(mruPath))
            throw SettingsWriteError(native(mruPath));
        settings_->writeInteger(kSettings, kViewCode, viewCode());                  // 5
        settings_->writeBool(kSettings, kFolderHandler, checked("kezmenuregmypc")); // 6
    } catch (const SettingsWriteError &error) {
        // The close is abandoned: nothing after the failing step runs, the window stays usable.
        reportError(QFile::decodeName(error.what()));
        return false;
    }
    clearDriveBar();   // 7
    tabs_.reset();     // 8
    settings_.reset(); // 9
    tabRow_->setStorage(nullptr, nullptr);
    return true;
}

void Tkezmainf::reportError(const QString &text) {
    if (errorReporter_) {
        errorReporter_(text);
        return;
    }
    QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), text);
}

void Tkezmainf::applyShowHidden(bool show) {
    setListShowHidden(show);
    setTreeShowHidden(show);
}

void Tkezmainf::openSavedTabs() {
    tabRow_->setStorage(settings_.get(), tabs_.get());
    const QByteArray first = tabRow_->restoreTabs();
    if (!first.isEmpty())
        setListRootPath(QFile::decodeName(first));
}

void Tkezmainf::applyAddressBoxSkinColors() {
    setAddressBoxColors(skin_->activeEditColor(), skin_->activeEditFontColor());
}

// The desktop's own "hide extensions" choice, kept in $XDG_CONFIG_HOME/xingzhou/shell.ini;
// a missing or unreadable file means extensions are shown.
bool Tkezmainf::systemHidesExtensions() const {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const SettingsFile shell(native(dir + "/xingzhou/shell.ini"));
    return shell.readInteger("Advanced", "HideFileExt", 0) != 0;
}

// The folder named by the last argument: a path, or a file:// URL.
QString Tkezmainf::commandLineFolder() const {
    const QString last = arguments_.last();
    if (last.startsWith(QLatin1String("file://"), Qt::CaseInsensitive))
        return QUrl(last).toLocalFile();
    return QDir::cleanPath(QDir::current().absoluteFilePath(last));
}

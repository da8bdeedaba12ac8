// SkinManager: skin lookup in the skin directory and the skin's edit colours.
#include "app/skinmanager.h"

#include "core/kezstr.h"

#include <QDir>

namespace {
// Edit colours of the built-in skin before the hue offset is applied.
const QColor kEditBackground(0xF4, 0xF8, 0xFF);
const QColor kEditText(0x1E, 0x2A, 0x44);
} // namespace

SkinManager::SkinManager(QObject *parent) : QObject(parent), skinName_(builtInSkinName()) {
    setObjectName("kezskin");
}

QString SkinManager::builtInSkinName() {
    return QString::fromUtf8(kezstr(KezStr::BuiltInSkin));
}

QStringList SkinManager::availableSkins() const {
    QStringList names{builtInSkinName()};
    if (!skinDirectory_.isEmpty()) {
        const QDir dir(skinDirectory_);
        for (const QString &entry : dir.entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot,
                                                  QDir::Name | QDir::IgnoreCase))
            names << QFileInfo(entry).completeBaseName();
    }
    names.removeDuplicates();
    return names;
}

bool SkinManager::setSkinName(const QString &name) {
    if (!availableSkins().contains(name))
        return false;
    if (name != skinName_) {
        skinName_ = name;
        emit afterChange();
    }
    return true;
}

void SkinManager::setHueOffset(int offset) {
    if (offset == hueOffset_)
        return;
    hueOffset_ = offset;
    emit afterChange();
}

QColor SkinManager::activeEditColor() const {
    QColor c = kEditBackground.toHsv();
    return QColor::fromHsv((c.hsvHue() + hueOffset_) % 360, c.hsvSaturation(), c.value());
}

QColor SkinManager::activeEditFontColor() const {
    QColor c = kEditText.toHsv();
    return QColor::fromHsv((c.hsvHue() + hueOffset_) % 360, c.hsvSaturation(), c.value());
}

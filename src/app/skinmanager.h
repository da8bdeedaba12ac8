// SkinManager: the window skin component (kezskin): skin directory, current skin, hue offset.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>

// Holds the skin state the main window relies on: the skin directory, the current skin's name
// (the built-in one or a skin found in the directory), a hue offset, and the active edit
// colours derived from the skin. afterChange() is emitted after every change of the skin.
// User-interface thread only.
class SkinManager : public QObject {
    Q_OBJECT
public:
    explicit SkinManager(QObject *parent = nullptr);

    static QString builtInSkinName();

    void setSkinDirectory(const QString &dir) { skinDirectory_ = dir; }
    QString skinDirectory() const { return skinDirectory_; }
    // Names of the built-in skin and of the skins in the skin directory.
    QStringList availableSkins() const;

    // Selects a skin by name; a name that is not available leaves the current skin.
    bool setSkinName(const QString &name);
    QString skinName() const { return skinName_; }

    // Hue offset 0..360 applied to the skin's palette.
    void setHueOffset(int offset);
    int hueOffset() const { return hueOffset_; }

    QColor activeEditColor() const;
    QColor activeEditFontColor() const;

signals:
    void afterChange();

private:
    QString skinDirectory_;
    QString skinName_;
    int hueOffset_ = 0;
};

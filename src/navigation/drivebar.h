// DriveBar: the strip of buttons for the places and the mounted volumes ("kezdrivebar").
#pragma once

#include <QByteArray>
#include <QList>
#include <QWidget>

class FlowLayout;
class QToolButton;
class VolumeSource;

// Buttons for 回收站, each non-removable volume, 我的电脑 and 桌面, then the removable volumes.
// Each new button goes in front of the others, so the bar reads from the left: removable
// volumes (last in the table first), 桌面, 我的电脑, the other volumes (last first), 回收站.
// Non-removable buttons are made once; removable ones are renewed whenever the volume source
// reports a change of the mounted volumes. A button remembers its image index (4 marks a
// removable volume) and its volume root. Clicks ask for a place or a path through signals.
// User-interface thread only.
class DriveBar : public QWidget {
    Q_OBJECT
public:
    explicit DriveBar(QWidget *parent = nullptr);

    // The source must outlive the bar; its changes renew the removable-volume buttons.
    void setVolumeSource(VolumeSource *source);

    void kezbuilddrivebar();
    void kezbuildremovable();
    void kezclearremovable();
    void kezcleardrivebar();
    void kezdevicechange();

    // Buttons from left to right.
    QList<QToolButton *> buttons() const;
    static int imageIndexOf(const QToolButton *button);
    static QByteArray rootPathOf(const QToolButton *button);

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    // A place button was clicked: the root-folder number of 桌面, 我的电脑 or 回收站.
    void rootFolderRequested(int rootFolderNumber);
    // A volume button was clicked: its root path.
    void pathRequested(const QByteArray &path);

private:
    void addButton(const QString &caption, const QString &hint, int imageIndex,
                   const QByteArray &rootPath = {});
    void kezdrivebuttonClick();

    VolumeSource *m_source = nullptr;
    FlowLayout *m_layout = nullptr;
};

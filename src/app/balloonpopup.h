// BalloonPopup: the own balloon window used where the desktop has no tray.
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

// A frameless tool window that never takes the focus; shows an icon, a bold title and a text
// and hides itself after the given time. showMessage replaces what it shows at once.
// User-interface thread only.
class BalloonPopup : public QWidget {
    Q_OBJECT
public:
    explicit BalloonPopup(QWidget *anchor);
    void showMessage(const QString &title, const QString &text, const QIcon &icon, int ms);
    QString title() const;
    QString text() const;
    // Milliseconds until the pop-up hides itself; -1 while hidden.
    int remainingMs() const { return hideTimer_.remainingTime(); }

private:
    void placeAtAnchorCorner();
    QWidget *anchor_;
    QLabel *iconLabel_;
    QLabel *titleLabel_;
    QLabel *textLabel_;
    QTimer hideTimer_;
};

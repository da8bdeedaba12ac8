// Balloon: the non-modal balloon messages at the tray icon, or an own pop-up without a tray.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QSystemTrayIcon;
class QWidget;
class BalloonPopup;

// Icon kinds of a balloon message.
enum BalloonKind { bitNone = 0, bitInfo = 1, bitWarning = 2, bitError = 3, bitCustom = 4 };

// The last message shown, as it was shown (after cutting title and text).
struct BalloonMessage {
    QString title;
    QString text;
    int kind = bitNone;
    bool viaTray = false; // false: shown by the own pop-up
    int serial = 0;       // counts messages shown, 0 before the first
};

// Shows balloon messages: through the tray icon's balloon where the desktop has a tray, else
// through an own pop-up at the anchor window's bottom-right corner that takes no focus. A new
// message replaces the one showing at once; each disappears by itself after kDisplayMs.
// User-interface thread only.
class Balloon : public QObject {
    Q_OBJECT
public:
    // Display time of every balloon.
    static constexpr int kDisplayMs = 10000;
    // Limits of the notification area's balloon texts, kept on every platform.
    static constexpr int kMaxTitleChars = 63;
    static constexpr int kMaxTextChars = 255;

    Balloon(QWidget *anchor, QSystemTrayIcon *tray, QObject *parent = nullptr);
    ~Balloon() override;

    void show(const QString &title, const QString &text, int kind);
    const BalloonMessage &lastMessage() const { return last_; }
    // The own pop-up, null until first needed.
    QWidget *popup() const;

private:
    bool trayCanShowBalloon() const;
    QWidget *anchor_;
    QPointer<QSystemTrayIcon> tray_;
    BalloonPopup *popup_ = nullptr;
    BalloonMessage last_;
};

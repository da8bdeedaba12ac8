// Balloon: choice between the tray's balloon and the own pop-up, cutting and icon kinds.
#include "app/balloon.h"

#include "app/balloonpopup.h"

#include <QApplication>
#include <QStyle>
#include <QSystemTrayIcon>

namespace {

QString cut(const QString &s, int max) {
    if (s.size() <= max)
        return s;
    int n = max;
    if (s.at(n - 1).isHighSurrogate()) // never leave half a character behind
        --n;
    return s.left(n);
}

QIcon popupIcon(int kind) {
    QStyle *style = QApplication::style();
    switch (kind) {
    case bitInfo:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case bitWarning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case bitError:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case bitCustom:
        return QApplication::windowIcon();
    default:
        return QIcon();
    }
}

QSystemTrayIcon::MessageIcon trayIcon(int kind) {
    switch (kind) {
    case bitInfo:
        return QSystemTrayIcon::Information;
    case bitWarning:
        return QSystemTrayIcon::Warning;
    case bitError:
        return QSystemTrayIcon::Critical;
    default:
        return QSystemTrayIcon::NoIcon;
    }
}

} // namespace

Balloon::Balloon(QWidget *anchor, QSystemTrayIcon *tray, QObject *parent)
    : QObject(parent), anchor_(anchor), tray_(tray) {}

Balloon::~Balloon() {
    delete popup_;
}

bool Balloon::trayCanShowBalloon() const {
    return tray_ && tray_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable() &&
           QSystemTrayIcon::supportsMessages();
}

QWidget *Balloon::popup() const {
    return popup_;
}

void Balloon::show(const QString &title, const QString &text, int kind) {
    const int serial = last_.serial + 1;
    last_ = {cut(title, kMaxTitleChars), cut(text, kMaxTextChars), kind, trayCanShowBalloon(),
             serial};
    if (last_.viaTray) {
        if (popup_)
            popup_->hide();
        if (kind == bitCustom)
            tray_->showMessage(last_.title, last_.text, QApplication::windowIcon(), kDisplayMs);
        else
            tray_->showMessage(last_.title, last_.text, trayIcon(kind), kDisplayMs);
        return;
    }
    if (!popup_)
        popup_ = new BalloonPopup(anchor_);
    popup_->showMessage(last_.title, last_.text, popupIcon(kind), kDisplayMs);
}

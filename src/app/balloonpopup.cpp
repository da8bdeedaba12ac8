// BalloonPopup: layout, placement and timed hiding of the own balloon window.
#include "app/balloonpopup.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {
// Distance of the pop-up from the window's corner, and its text width before wrapping.
constexpr int kMargin = 12;
constexpr int kTextWidth = 320;
constexpr int kIconSize = 32;
} // namespace

BalloonPopup::BalloonPopup(QWidget *anchor)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowStaysOnTopHint),
      anchor_(anchor), iconLabel_(new QLabel(this)), titleLabel_(new QLabel(this)),
      textLabel_(new QLabel(this)) {
    setObjectName("kezballoon");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet("BalloonPopup{background:#ffffe1;border:1px solid #767676;}");
    setAttribute(Qt::WA_StyledBackground);
    QFont bold = titleLabel_->font();
    bold.setBold(true);
    titleLabel_->setFont(bold);
    textLabel_->setWordWrap(true);
    textLabel_->setMaximumWidth(kTextWidth);
    auto *texts = new QVBoxLayout;
    texts->addWidget(titleLabel_);
    texts->addWidget(textLabel_);
    auto *row = new QHBoxLayout(this);
    row->addWidget(iconLabel_, 0, Qt::AlignTop);
    row->addLayout(texts);
    hideTimer_.setSingleShot(true);
    hideTimer_.setTimerType(Qt::PreciseTimer); // the display time is exact, not within 5 %
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void BalloonPopup::showMessage(const QString &title, const QString &text, const QIcon &icon,
                               int ms) {
    hide();
    iconLabel_->setVisible(!icon.isNull());
    iconLabel_->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(kIconSize, kIconSize));
    titleLabel_->setText(title);
    textLabel_->setText(text);
    adjustSize();
    placeAtAnchorCorner();
    show();
    hideTimer_.start(ms);
}

QString BalloonPopup::title() const {
    return titleLabel_->text();
}
QString BalloonPopup::text() const {
    return textLabel_->text();
}

void BalloonPopup::placeAtAnchorCorner() {
    QRect area;
    if (anchor_ && anchor_->isVisible())
        area = anchor_->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    move(area.right() - width() - kMargin, area.bottom() - height() - kMargin);
}

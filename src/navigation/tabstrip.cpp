// TabStrip: wrapping layout, painting and hit testing of the flat tabs.
#include "navigation/tabstrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

constexpr int kIconSize = 16;
constexpr int kPadding = 6; // inside a tab, left and right of its content
constexpr int kIconTextGap = 4;
constexpr int kSpacing = 2; // between tabs and between rows
constexpr int kVerticalPadding = 4;

} // namespace

TabStrip::TabStrip(QWidget *parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void TabStrip::setIcon(const QIcon &icon) {
    m_icon = icon;
    update();
}

void TabStrip::addTab(const QString &caption) {
    m_captions.append(caption);
    if (m_current < 0) {
        m_current = 0;
    }
    relayout();
}

void TabStrip::removeTab(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    m_captions.removeAt(index);
    if (m_current >= count() || (index < m_current)) {
        m_current = count() == 0 ? -1 : std::max(0, m_current - 1);
    }
    relayout();
}

void TabStrip::setCurrentIndex(int index) {
    if (index >= -1 && index < count()) {
        m_current = index;
        update();
    }
}

int TabStrip::tabAt(const QPoint &point) const {
    for (int i = 0; i < m_rects.size(); ++i) {
        if (m_rects[i].contains(point)) {
            return i;
        }
    }
    return -1;
}

QRect TabStrip::tabRect(int index) const {
    return m_rects.value(index);
}

QSize TabStrip::tabSize(int index) const {
    const int textWidth = fontMetrics().horizontalAdvance(m_captions[index]);
    const int height = std::max(kIconSize, fontMetrics().height()) + 2 * kVerticalPadding;
    return {kPadding + kIconSize + kIconTextGap + textWidth + kPadding, height};
}

QList<QRect> TabStrip::layoutFor(int width) const {
    QList<QRect> rects;
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    for (int i = 0; i < count(); ++i) {
        const QSize size = tabSize(i);
        if (x > 0 && x + size.width() > width) {
            x = 0;
            y += rowHeight + kSpacing;
            rowHeight = 0;
        }
        rects.append(QRect(QPoint(x, y), size));
        x += size.width() + kSpacing;
        rowHeight = std::max(rowHeight, size.height());
    }
    return rects;
}

int TabStrip::heightForWidth(int width) const {
    if (count() == 0) {
        return 0;
    }
    int bottom = 0;
    for (const QRect &rect : layoutFor(width)) {
        bottom = std::max(bottom, rect.bottom() + 1);
    }
    return bottom + kSpacing;
}

QSize TabStrip::sizeHint() const {
    const int width = std::max(this->width(), 200);
    return {width, heightForWidth(width)};
}

QSize TabStrip::minimumSizeHint() const {
    return {0, heightForWidth(std::max(width(), 200))};
}

void TabStrip::relayout() {
    m_rects = layoutFor(std::max(width(), 1));
    updateGeometry();
    update();
}

void TabStrip::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    const int before = m_rects.isEmpty() ? 0 : m_rects.last().bottom();
    m_rects = layoutFor(width());
    if ((m_rects.isEmpty() ? 0 : m_rects.last().bottom()) != before) {
        updateGeometry();
    }
}

void TabStrip::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    for (int i = 0; i < m_rects.size(); ++i) {
        const QRect rect = m_rects[i];
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = rect;
        option.features = QStyleOptionButton::Flat;
        if (i == m_current) {
            option.state |= QStyle::State_On | QStyle::State_Sunken;
            style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
        }
        const QRect iconRect(rect.left() + kPadding, rect.center().y() - kIconSize / 2 + 1,
                             kIconSize, kIconSize);
        m_icon.paint(&painter, iconRect);
        const QRect textRect = rect.adjusted(kPadding + kIconSize + kIconTextGap, 0, -kPadding, 0);
        painter.setPen(palette().color(i == m_current ? QPalette::Active : QPalette::Inactive,
                                       QPalette::ButtonText));
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         m_captions[i]);
    }
}

void TabStrip::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0 && index != m_current) {
            m_current = index;
            update();
            emit currentChanged(index);
        }
    }
    QWidget::mousePressEvent(event);
}

void TabStrip::mouseReleaseEvent(QMouseEvent *event) {
    emit released(event->button(), event->position().toPoint());
    QWidget::mouseReleaseEvent(event);
}

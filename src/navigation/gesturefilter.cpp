// GestureFilter: collecting stroke points from mouse and touch events.
#include "navigation/gesturefilter.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QTouchEvent>
#include <QWidget>

GestureFilter::GestureFilter(QWidget *panel) : QObject(panel), m_panel(panel) {
    panel->setAttribute(Qt::WA_AcceptTouchEvents);
    panel->installEventFilter(this);
    for (QWidget *child : panel->findChildren<QWidget *>()) {
        child->setAttribute(Qt::WA_AcceptTouchEvents);
        child->installEventFilter(this);
    }
}

bool GestureFilter::eventFilter(QObject *watched, QEvent *event) {
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !m_panel) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QPointF point = m_panel->mapFromGlobal(mouse->globalPosition());
            m_points = {{point.x(), point.y()}};
            m_tracking = true;
            m_dragging = false;
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_tracking || !(mouse->buttons() & Qt::LeftButton)) {
            return false;
        }
        const QPointF point = m_panel->mapFromGlobal(mouse->globalPosition());
        m_points.push_back({point.x(), point.y()});
        const QPointF start(m_points.front().x, m_points.front().y);
        if (!m_dragging && (point - start).manhattanLength() > kDragThreshold) {
            m_dragging = true;
            // The button under the press must not look pressed while the stroke goes on.
            if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
                button->setDown(false);
            }
        }
        return m_dragging;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !m_tracking) {
            return false;
        }
        const QPointF point = m_panel->mapFromGlobal(mouse->globalPosition());
        m_points.push_back({point.x(), point.y()});
        return finishStroke(widget);
    }
    case QEvent::MouseButtonDblClick:
        if (widget == m_panel && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            emit panelDoubleClicked();
            return true;
        }
        return false;
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
        auto *touch = static_cast<QTouchEvent *>(event);
        if (touch->points().isEmpty()) {
            return false;
        }
        const QPointF point = m_panel->mapFromGlobal(touch->points().first().globalPosition());
        if (event->type() == QEvent::TouchBegin) {
            m_points = {{point.x(), point.y()}};
            m_tracking = true;
            m_dragging = true;
        } else if (m_tracking) {
            m_points.push_back({point.x(), point.y()});
        }
        if (event->type() == QEvent::TouchEnd && m_tracking) {
            finishStroke(widget);
        }
        event->accept();
        return true;
    }
    default:
        return false;
    }
}

bool GestureFilter::finishStroke(QWidget *releasedOn) {
    const bool wasDragging = m_dragging;
    m_tracking = false;
    m_dragging = false;
    if (!wasDragging) {
        return false; // a click: the button handles it
    }
    const Gesture gesture = GestureRecognizer::recognize(m_points);
    m_points.clear();
    if (gesture != Gesture::None) {
        emit gestureRecognized(static_cast<int>(gesture));
    }
    // A button that is not down ignores the release, so the stroke never clicks it; the
    // release still reaches it so it leaves its pressed state.
    if (auto *button = qobject_cast<QAbstractButton *>(releasedOn)) {
        button->setDown(false);
        return false;
    }
    return true;
}

// Tests of strokes drawn with the mouse over a panel and its buttons.
#include "navigation/gesturefilter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

void send(QWidget *target, QEvent::Type type, QPoint panelPoint, QWidget *panel,
          Qt::MouseButtons buttons) {
    const QPoint global = panel->mapToGlobal(panelPoint);
    QMouseEvent event(type, target->mapFromGlobal(global), global,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Presses on `target`, moves through the points (panel coordinates) and releases at the last.
void stroke(QWidget *panel, QWidget *target, const QList<QPoint> &points) {
    send(target, QEvent::MouseButtonPress, points.first(), panel, Qt::LeftButton);
    for (const QPoint &point : points.mid(1)) {
        send(target, QEvent::MouseMove, point, panel, Qt::LeftButton);
    }
    send(target, QEvent::MouseButtonRelease, points.last(), panel, Qt::NoButton);
}

QList<QPoint> line(QPoint from, QPoint to, int steps = 20) {
    QList<QPoint> points;
    for (int i = 0; i <= steps; ++i) {
        points << from + (to - from) * i / steps;
    }
    return points;
}

TEST(GestureFilter, MouseStrokesOverThePanelAndItsButtons) {
    QWidget panel;
    panel.resize(600, 81);
    auto *button = new QToolButton(&panel);
    button->setGeometry(0, 0, 72, 79);
    GestureFilter filter(&panel);
    panel.show();
    QSignalSpy gestures(&filter, &GestureFilter::gestureRecognized);
    QSignalSpy clicks(button, &QToolButton::clicked);

    stroke(&panel, &panel, line({500, 40}, {200, 42})); // left over the bare panel
    stroke(&panel, button, line({30, 40}, {330, 38}));  // right, starting on a button
    QList<QPoint> check = line({300, 30}, {330, 60}, 6);
    check << line({330, 60}, {400, 5}, 10);
    stroke(&panel, &panel, check);
    stroke(&panel, &panel, line({300, 40}, {305, 44})); // a click's slip: no gesture

    ASSERT_EQ(gestures.size(), 3);
    EXPECT_EQ(gestures[0][0].toInt(), 1);
    EXPECT_EQ(gestures[1][0].toInt(), 2);
    EXPECT_EQ(gestures[2][0].toInt(), 24);
    EXPECT_EQ(clicks.size(), 0); // the stroke that began on the button did not click it
    EXPECT_FALSE(button->isDown());

    stroke(&panel, button, {{30, 40}, {31, 41}}); // a plain click still clicks
    EXPECT_EQ(clicks.size(), 1);

    QSignalSpy doubles(&filter, &GestureFilter::panelDoubleClicked);
    send(&panel, QEvent::MouseButtonDblClick, {400, 40}, &panel, Qt::LeftButton);
    send(button, QEvent::MouseButtonDblClick, {30, 40}, &panel, Qt::LeftButton);
    EXPECT_EQ(doubles.size(), 1);
}

} // namespace

// GestureFilter: feeds mouse drags and touch strokes over the tool bar panel to the recogniser.
#pragma once

#include "core/gesturerecognizer.h"

#include <QObject>
#include <QPointer>

class QWidget;

// Watches a panel and the buttons on it. A left-button drag that leaves the press point by more
// than kDragThreshold pixels becomes a stroke; at the release the stroke is recognised and, for
// one of the seven shapes, gestureRecognized is emitted and the release is kept from the button
// under it, so a stroke that starts on a button never also clicks it. Touch strokes work the
// same way. A double click on the panel itself (not on a button) emits panelDoubleClicked.
// Lives on the user-interface thread.
class GestureFilter : public QObject {
    Q_OBJECT
public:
    // Below this distance from the press a movement is a click's slip, and buttons get it.
    static constexpr int kDragThreshold = 12;

    // Watches `panel` and every child widget it has now.
    explicit GestureFilter(QWidget *panel);

signals:
    // The gesture's number (1 left, 2 right, 3 up, 4 down, 13 up-down, 14 down-up, 24 check).
    void gestureRecognized(int gestureId);
    void panelDoubleClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool finishStroke(QWidget *releasedOn);

    QPointer<QWidget> m_panel;
    std::vector<StrokePoint> m_points;
    bool m_tracking = false;
    bool m_dragging = false;
};

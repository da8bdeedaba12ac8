// DetailsTable: row-wise cursor movement for the details styles.
#include "filelist/detailstable.h"

#include <QScrollBar>

QModelIndex DetailsTable::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    switch (action) {
    case MoveHome:
    case MoveEnd: {
        // A table would move to the first or last cell of the row.
        const int rows = model() ? model()->rowCount(rootIndex()) : 0;
        if (rows == 0)
            return QModelIndex();
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        return model()->index(action == MoveHome ? 0 : rows - 1, column, rootIndex());
    }
    case MoveLeft:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return currentIndex();
    case MoveRight:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return currentIndex();
    default:
        return QTableView::moveCursor(action, modifiers);
    }
}

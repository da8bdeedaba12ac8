// DetailsTable: the table behind the file list's details styles.
#pragma once

#include <QTableView>

// A table of file rows that moves like a list of rows: Home and End go to the first and
// last row, Left and Right scroll sideways instead of moving between the cells of the
// selected row. User-interface thread only.
class DetailsTable : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

// FilterBox: the editable combo "kezfilterbox" that narrows the file list by name.
#pragma once

#include <QComboBox>
#include <QPointer>

#include <vector>

#include "filelist/filelistview.h"

// Hides the file list's items whose file names do not contain the typed text (letter case
// counts) and shows them all again for an empty text or "*". It acts only when the text
// changes (typed or picked): items of a folder listed later are all visible. A double-click
// clears the text. The list keeps counting hidden items. Lives on the user-interface thread;
// big lists are matched on a worker.
class FilterBox : public QComboBox {
    Q_OBJECT
public:
    // Width of the box in the panel, in pixels.
    static constexpr int kWidth = 88;
    // Lists up to this many items are filtered at once on the user-interface thread; bigger
    // ones on a worker (a million names take a few hundred ms).
    static constexpr int kSyncFilterLimit = 5000;

    explicit FilterBox(QWidget *parent = nullptr);

    void setList(FileListView *list) { list_ = list; }
    FileListView *list() const { return list_; }

    // Whether a name passes the filter text (the rule of the box, without the list).
    static bool matches(const QString &filterText, const QString &name);
    static bool filterIsOff(const QString &filterText);

    // The change rule applied to the list with `text` (also run by every text change). For a
    // list of more than kSyncFilterLimit items the items are hidden a moment later.
    void applyFilter(const QString &text);
    // Which of `items` pass the filter `text` (pure; any thread).
    static std::vector<bool> visibleItems(const QList<ShellItem> &items, const QString &text);
    // Empties the text and shows every item again (the double-click action).
    void clearFilter();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPointer<FileListView> list_;
    // Counts filter texts; a worker's result applies only to the latest.
    quint64 generation_ = 0;
};

// FilterBox: name filter over the file list's items.
#include "filelist/filterbox.h"

#include "filelist/filelistview.h"

#include "filelist/filelistmodel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QThreadPool>

#include <vector>

FilterBox::FilterBox(QWidget *parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("kezfilterbox"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setFixedWidth(kWidth);
    setToolTip(QStringLiteral("双击清除关键字"));
    setStyleSheet(QStringLiteral("QComboBox#kezfilterbox { background: black; color: white; }"));
    addItems({".exe", ".jpg", ".jpeg", ".mp3", ".rmvb", ".xls", ".xlsx", ".doc", ".docx", ".ppt",
              ".pptx", ".lnk"});
    setCurrentIndex(-1);
    setEditText(QString());
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::editTextChanged, this, &FilterBox::applyFilter);
}

bool FilterBox::filterIsOff(const QString &filterText) {
    return filterText.isEmpty() || filterText == QLatin1String("*");
}

bool FilterBox::matches(const QString &filterText, const QString &name) {
    return filterIsOff(filterText) || name.contains(filterText, Qt::CaseSensitive);
}

std::vector<bool> FilterBox::visibleItems(const QList<ShellItem> &items, const QString &text) {
    std::vector<bool> visible(items.size(), true);
    if (filterIsOff(text))
        return visible;
    // File names are compared as stored in their folder, byte for byte: the typed text in
    // the file-name encoding (UTF-8) is found in a name exactly when it is found in the
    // decoded name, without decoding a million names.
    const QByteArray needle = QFile::encodeName(text);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const ShellItem &item = items.at(i);
        const QByteArray native = item.nativeName();
        visible[i] = native.isEmpty() ? matches(text, item.displayName()) : native.contains(needle);
    }
    return visible;
}

void FilterBox::applyFilter(const QString &text) {
    if (!list_)
        return;
    ++generation_;
    const QList<ShellItem> items = list_->model()->items();
    if (items.size() <= kSyncFilterLimit || filterIsOff(text)) {
        list_->setItemsVisible(visibleItems(items, text));
        return;
    }
    // A big folder is matched on a worker; the result applies only if nothing was typed since
    // and the list still holds the items it was made from. If the same folder's items
    // changed meanwhile (still listing, re-read), they are matched again; another folder
    // shows all its items.
    QPointer<FilterBox> self(this);
    QThreadPool::globalInstance()->start(
        [self, generation = generation_, items, text, root = list_->rootFolder()] {
            std::vector<bool> visible = visibleItems(items, text);
            QMetaObject::invokeMethod(
                qApp,
                [self, generation, items, text, root, visible = std::move(visible)] {
                    if (!self || generation != self->generation_ || !self->list_)
                        return;
                    const QList<ShellItem> &shown = self->list_->model()->items();
                    if (shown.constData() == items.constData() && shown.size() == items.size())
                        self->list_->setItemsVisible(visible);
                    else if (self->list_->rootFolder() == root)
                        self->applyFilter(text);
                },
                Qt::QueuedConnection);
        });
}

void FilterBox::clearFilter() {
    if (currentText().isEmpty()) {
        applyFilter(QString());
        return;
    }
    setCurrentIndex(-1);
    setEditText(QString()); // runs the change rule
}

bool FilterBox::eventFilter(QObject *watched, QEvent *event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
        clearFilter();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void FilterBox::mouseDoubleClickEvent(QMouseEvent *event) {
    clearFilter();
    QComboBox::mouseDoubleClickEvent(event);
}

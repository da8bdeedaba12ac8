// FilterBox: name filter over the file list's items.
#include "filelist/filterbox.h"

#include "filelist/filelistview.h"

#include <QEvent>
#include <QFile>
#include <QLineEdit>

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

void FilterBox::applyFilter(const QString &text) {
    if (!list_)
        return;
    const int count = list_->itemCount();
    std::vector<bool> visible(count, true);
    if (!filterIsOff(text)) {
        for (int i = 0; i < count; ++i) {
            // The name as stored in its folder: the last component of the item's path, or
            // the shown name for items that are not files.
            const ShellItem item = list_->itemAt(i);
            const QByteArray native = item.nativeName();
            const QString name = native.isEmpty() ? item.displayName() : QFile::decodeName(native);
            visible[i] = matches(text, name);
        }
    }
    list_->setItemsVisible(visible);
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

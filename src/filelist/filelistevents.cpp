// FileListEvents: status line, size texts, shortcut enabling and paint rules for the list.
#include "filelist/filelistevents.h"

#include "core/statusline.h"
#include "filelist/filelistmodel.h"
#include "filelist/filelistview.h"
#include "filelist/listrules.h"

#include <QAction>

FileListEvents::FileListEvents(FileListView *list, StatusSink statusSink, QObject *parent)
    : QObject(parent), list_(list), statusSink_(std::move(statusSink)) {
    connect(list, &FileListView::enumFolder, this, &FileListEvents::onEnumFolder);
    connect(list, &FileListView::enumFinished, this, &FileListEvents::onEnumFinished);
    connect(list, &FileListView::shellNotify, this, &FileListEvents::onShellNotify);
    connect(list, &FileListView::itemSelectionChanged, this,
            &FileListEvents::onItemSelectionChanged);
    list->setPaintHook([](const ShellItem &item, const QString &typeText, int, QColor &color) {
        color = listrules::paintTextColor(item, typeText, color);
    });
}

void FileListEvents::setShortcutAction(QAction *action) {
    shortcutAction_ = action;
}

QString FileListEvents::statusText(const FileListView &list, bool withSelection) {
    return QString::fromStdString(
        xz::statusLineText(list.itemCount(), withSelection ? list.selectedCount() : 0));
}

void FileListEvents::onEnumFolder(const ShellItem &item) {
    if (!list_)
        return;
    if (const std::optional<QString> text = listrules::enumerationSizeText(item, xpFlag()))
        list_->setDetailByThread(item, FileListModel::SizeColumn, *text);
}

void FileListEvents::onEnumFinished() {
    if (list_ && statusSink_)
        statusSink_(statusText(*list_, false));
}

void FileListEvents::onShellNotify() {
    if (list_ && statusSink_)
        statusSink_(statusText(*list_, false));
}

void FileListEvents::onItemSelectionChanged() {
    if (!list_)
        return;
    if (statusSink_)
        statusSink_(statusText(*list_, true));
    if (!shortcutAction_)
        return;
    const int selected = list_->selectedCount();
    const ShellItem first = selected > 0 ? list_->firstSelectedItem() : ShellItem();
    shortcutAction_->setEnabled(
        listrules::shortcutCommandEnabled(selected, first, shortcutAction_->isEnabled()));
}

// The file list's text, colour and grouping rules, apart from the widgets that apply them.
#pragma once

#include "core/sizetext.h"
#include "platform/shellitem.h"

#include <QColor>
#include <QDateTime>
#include <QString>

#include <optional>

namespace listrules {

// Captions of the detail columns 0..3: 名称, 大小, 类型, 修改日期.
QString columnCaption(int column);

// Thousands and decimal separators of the user's locale.
xz::NumberSeparators localeSeparators();
// kezformatsize with the user's locale separators.
QString formatSize(qint64 bytes, int decimals);

// Texts an item shows by itself: whole kilobytes for files ("12 KB"), the total size for
// volumes, nothing for folders; the modification time as "yyyy/MM/dd HH:mm".
QString ownSizeText(const ShellItem &item);
QString modifiedText(const ShellItem &item);

// Size text the enumeration hook gives an item as it joins the list: every non-folder when
// the XP flag is set, and items whose parsing name ends in ".zip" (letter case counts)
// whatever the flag says. nullopt: the item keeps its own text.
std::optional<QString> enumerationSizeText(const ShellItem &item, bool xpFlag);
// The extension of a parsing name: from the last "." after the last "/", dot included.
QString parsingExtension(const QString &parsingName);

// Colours of the list itself: compressed files red, encrypted files green (64, 128, 0).
QColor compressedColor();
QColor encryptedColor();
QColor listTextColor(const ShellItem &item, const QColor &base);

// The paint rule applied to a colour the list chose: olive when the item was modified on
// `now`'s local date, then red when its type text is "应用程序". An invalid item or one
// without a time keeps the colour (the type rule still applies).
QColor olive();
QColor paintTextColor(const ShellItem &item, const QString &typeText, const QColor &current,
                      const QDateTime &now = QDateTime::currentDateTime());

// Grouping: the group an item falls in for a detail column and the group's rank (lower
// ranks first; equal ranks order by title).
struct Group {
    QString title;
    int rank = 0;
};
Group groupOf(const ShellItem &item, int column, const QString &columnText,
              const QDateTime &now = QDateTime::currentDateTime());

// Whether the shortcut command is enabled after a selection change: off with no selection,
// else whether the first selected item is a link. An invalid first item keeps `current`.
bool shortcutCommandEnabled(int selectedCount, const ShellItem &firstSelected, bool current);

} // namespace listrules

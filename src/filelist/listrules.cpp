// The file list's text, colour and grouping rules.
#include "filelist/listrules.h"

#include <QLocale>

namespace listrules {

namespace {

// Size classes of the size grouping, in bytes (upper bounds, exclusive).
constexpr qint64 kTinyLimit = 10 * 1024;
constexpr qint64 kSmallLimit = 100 * 1024;
constexpr qint64 kMediumLimit = 1024 * 1024;
constexpr qint64 kLargeLimit = 16 * 1024 * 1024;
constexpr qint64 kHugeLimit = 128 * 1024 * 1024;

Group sizeGroup(const ShellItem &item) {
    if (item.isFolder() && item.volumeTotalBytes() < 0)
        return {QStringLiteral("文件夹"), 0};
    const qint64 size = item.volumeTotalBytes() >= 0 ? item.volumeTotalBytes() : item.size();
    if (size == 0)
        return {QStringLiteral("零"), 1};
    if (size < kTinyLimit)
        return {QStringLiteral("微小 (0 - 10 KB)"), 2};
    if (size < kSmallLimit)
        return {QStringLiteral("小 (10 - 100 KB)"), 3};
    if (size < kMediumLimit)
        return {QStringLiteral("中 (100 KB - 1 MB)"), 4};
    if (size < kLargeLimit)
        return {QStringLiteral("大 (1 - 16 MB)"), 5};
    if (size < kHugeLimit)
        return {QStringLiteral("特大 (16 - 128 MB)"), 6};
    return {QStringLiteral("巨大 (> 128 MB)"), 7};
}

Group nameGroup(const QString &name) {
    if (name.isEmpty())
        return {QStringLiteral("其他"), 3};
    const QChar first = name.at(0);
    if (first.isDigit())
        return {QStringLiteral("0 - 9"), 0};
    if (first.isLetter()) {
        if (first.isHighSurrogate() && name.size() > 1)
            return {name.left(2), 2};
        return {QString(first.toUpper()), first.unicode() < 128 ? 1 : 2};
    }
    return {QStringLiteral("其他"), 3};
}

Group modifiedGroup(const ShellItem &item, const QDateTime &now) {
    const qint64 msecs = item.isValid() ? item.modifiedMSecs() : 0;
    if (msecs <= 0)
        return {QStringLiteral("未指定"), 9};
    const QDate day = QDateTime::fromMSecsSinceEpoch(msecs).date();
    const QDate today = now.date();
    const qint64 age = day.daysTo(today);
    const QDate weekStart = today.addDays(1 - today.dayOfWeek());
    if (age < 0)
        return {QStringLiteral("将来"), 0};
    if (age == 0)
        return {QStringLiteral("今天"), 1};
    if (age == 1)
        return {QStringLiteral("昨天"), 2};
    if (day >= weekStart)
        return {QStringLiteral("本周早些时候"), 3};
    if (day >= weekStart.addDays(-7))
        return {QStringLiteral("上周"), 4};
    if (day.year() == today.year() && day.month() == today.month())
        return {QStringLiteral("本月早些时候"), 5};
    if (day >= QDate(today.year(), today.month(), 1).addMonths(-1))
        return {QStringLiteral("上个月"), 6};
    if (day.year() == today.year())
        return {QStringLiteral("今年早些时候"), 7};
    return {QStringLiteral("很久以前"), 8};
}

} // namespace

QString columnCaption(int column) {
    switch (column) {
    case 0:
        return QStringLiteral("名称");
    case 1:
        return QStringLiteral("大小");
    case 2:
        return QStringLiteral("类型");
    case 3:
        return QStringLiteral("修改日期");
    default:
        return QString();
    }
}

xz::NumberSeparators localeSeparators() {
    const QLocale locale;
    return {locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

QString formatSize(qint64 bytes, int decimals) {
    static const xz::NumberSeparators separators = localeSeparators();
    return QString::fromStdString(xz::kezformatsize(bytes, decimals, separators));
}

QString ownSizeText(const ShellItem &item) {
    static const xz::NumberSeparators separators = localeSeparators();
    if (item.volumeTotalBytes() >= 0)
        return formatSize(item.volumeTotalBytes(), 2);
    if (item.isFolder())
        return QString();
    const qint64 kilobytes = item.size() / 1024 + (item.size() % 1024 ? 1 : 0);
    return QString::fromStdString(xz::formatGroupedNumber(double(kilobytes), 0, separators)) +
           QStringLiteral(" KB");
}

QString modifiedText(const ShellItem &item) {
    const qint64 msecs = item.modifiedMSecs();
    if (msecs <= 0)
        return QString();
    return QDateTime::fromMSecsSinceEpoch(msecs).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

QString parsingExtension(const QString &parsingName) {
    const qsizetype dot = parsingName.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = parsingName.lastIndexOf(QLatin1Char('/'));
    if (dot < 0 || dot < slash)
        return QString();
    return parsingName.mid(dot);
}

std::optional<QString> enumerationSizeText(const ShellItem &item, bool xpFlag) {
    std::optional<QString> text;
    if (xpFlag && !item.isFolder())
        text = formatSize(item.size(), 2);
    // The extension of the parsing name is that of its last component; the native name
    // holds that component without building the whole path for every listed item.
    const QByteArray name = item.nativeName();
    const bool zip = name.isEmpty() ? parsingExtension(item.parsingName()) == QLatin1String(".zip")
                                    : name.endsWith(".zip");
    if (zip)
        text = formatSize(item.size(), 2);
    return text;
}

QColor compressedColor() {
    return QColor(255, 0, 0);
}
QColor encryptedColor() {
    return QColor(64, 128, 0);
}
QColor olive() {
    return QColor(128, 128, 0);
}

QColor listTextColor(const ShellItem &item, const QColor &base) {
    if (item.isCompressed())
        return compressedColor();
    if (item.isEncrypted())
        return encryptedColor();
    return base;
}

QColor paintTextColor(const ShellItem &item, const QString &typeText, const QColor &current,
                      const QDateTime &now) {
    QColor color = current;
    const qint64 msecs = item.isValid() ? item.modifiedMSecs() : 0;
    if (msecs > 0) {
        const QDateTime midnight(now.date(), QTime(0, 0));
        const QDateTime nextMidnight(now.date().addDays(1), QTime(0, 0));
        const QDateTime modified = QDateTime::fromMSecsSinceEpoch(msecs);
        if (modified >= midnight && modified < nextMidnight)
            color = olive();
    }
    if (typeText == QStringLiteral("应用程序"))
        color = QColor(255, 0, 0);
    return color;
}

Group groupOf(const ShellItem &item, int column, const QString &columnText, const QDateTime &now) {
    switch (column) {
    case 0:
        return nameGroup(columnText);
    case 1:
        return sizeGroup(item);
    case 3:
        return modifiedGroup(item, now);
    default:
        return {columnText.isEmpty() ? QStringLiteral("未指定") : columnText,
                columnText.isEmpty() ? 1 : 0};
    }
}

bool shortcutCommandEnabled(int selectedCount, const ShellItem &firstSelected, bool current) {
    if (selectedCount <= 0)
        return false;
    if (!firstSelected.isValid())
        return current;
    return firstSelected.isLink();
}

} // namespace listrules

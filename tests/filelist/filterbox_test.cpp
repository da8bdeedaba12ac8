// The filter box hides the list's items in place by a case-sensitive substring of their names.
#include "filelist/filelistevents.h"
#include "filelist/filterbox.h"
#include "listfixture.h"

#include <QLineEdit>

namespace {

QStringList visibleNames(const FileListView &list) {
    QStringList names;
    for (int i = 0; i < list.itemCount(); ++i)
        if (list.isItemVisible(i))
            names << list.itemAt(i).displayName();
    return names;
}

TEST(FilterBox, HidesItemsByCaseSensitiveSubstring) {
    TempFolder dir;
    for (const char *name : {"photo.jpg", "PHOTO.JPG", "image.jpeg", "report.doc", "report.docx",
                             "report.doc.bak", "x*.jpgy"})
        dir.file(name);
    dir.folder("my.jpg.files");
    FileListView list;
    ASSERT_TRUE(list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(list));
    QString status;
    FileListEvents events(&list, [&](const QString &text) { status = text; });
    FilterBox box;
    box.setList(&list);
    EXPECT_EQ(box.objectName(), "kezfilterbox");
    EXPECT_EQ(box.count(), 12);
    EXPECT_EQ(box.currentText(), "");

    struct Case {
        QString text;
        QStringList visible;
    };
    const QStringList all = listedNames(list);
    const Case cases[] = {
        {".jpg", {"my.jpg.files", "photo.jpg", "x*.jpgy"}},
        {".doc", {"report.doc", "report.doc.bak", "report.docx"}},
        {"*.jpg", {"x*.jpgy"}},
        {"*", all},
        {"", all},
        {"nothing", {}},
    };
    for (const Case &c : cases) {
        box.setEditText(c.text);
        QStringList expected = c.visible;
        EXPECT_EQ(visibleNames(list), expected) << c.text.toStdString();
        EXPECT_EQ(list.itemCount(), 8);
    }

    // Picking from the drop-down filters too; hidden items still count in the status line.
    box.setCurrentIndex(box.findText(".jpeg"));
    EXPECT_EQ(visibleNames(list), QStringList({"image.jpeg"}));
    list.selectAll();
    EXPECT_EQ(list.selectedCount(), 1);
    EXPECT_EQ(status, "当前目录共有8个文件(夹)！其中选择了1个文件(夹)！          ");

    // A double-click clears the text and shows everything again.
    QTest::mouseDClick(box.lineEdit(), Qt::LeftButton);
    EXPECT_EQ(box.currentText(), "");
    EXPECT_EQ(visibleNames(list), all);

    // A folder listed later shows all its items although the box keeps its text.
    box.setEditText(".exe");
    TempFolder other;
    other.file("a.txt");
    other.file("b.exe");
    ASSERT_TRUE(list.setRootFolderCustomPath(other.path()));
    ASSERT_TRUE(waitListed(list));
    EXPECT_EQ(visibleNames(list), QStringList({"a.txt", "b.exe"}));
    box.setEditText(".ex");
    EXPECT_EQ(visibleNames(list), QStringList({"b.exe"}));
}

TEST(FilterBox, BigListIsFilteredOnAWorkerAndOnlyTheLastTextApplies) {
    TempFolder dir;
    const int count = FilterBox::kSyncFilterLimit + 1000;
    for (int i = 0; i < count; ++i)
        dir.file(QStringLiteral("n%1.txt").arg(i));
    dir.file(QStringLiteral("名字-7.txt"));
    FileListView list;
    ASSERT_TRUE(list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(list));
    FilterBox box;
    box.setList(&list);

    // Typed quickly: the earlier texts' results are dropped, the last one applies.
    box.setEditText("7");
    box.setEditText("77");
    box.setEditText("777");
    ASSERT_TRUE(QTest::qWaitFor([&] { return visibleNames(list).size() < count; }, 10000));
    QStringList expected;
    for (const QString &name : listedNames(list))
        if (FilterBox::matches("777", name))
            expected << name;
    EXPECT_EQ(visibleNames(list), expected);
    EXPECT_EQ(list.itemCount(), count + 1);

    // Names are matched in their stored form, Chinese text included.
    box.setEditText("名字");
    ASSERT_TRUE(QTest::qWaitFor([&] { return visibleNames(list).size() == 1; }, 10000));
    EXPECT_EQ(visibleNames(list), QStringList({"名字-7.txt"}));
    box.clearFilter();
    EXPECT_EQ(visibleNames(list).size(), count + 1);
}

} // namespace

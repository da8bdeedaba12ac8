// Tests of the main window's components: menu items, tool buttons, balloons, Chinese buttons.
#include "apptestsupport.h"

#include "app/balloonpopup.h"
#include "app/mainwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct MenuItem {
    const char *name;
    const char *parent; // object name of the menu holding it
    const char *caption;
    const char *key;
    int checked; // -1 not checkable
    bool enabled;
};

const MenuItem kMenuItems[] = {
    {"kezmenufoldersize", "N1", "文件夹大小", "F10", -1, true},
    {"kezmenufileext", "N1", "选择相同后缀", "F11", -1, true},
    {"kezmenucmd", "N1", "打开命令行", "F3", -1, true},
    {"kezmenuaddtab1", "N1", "添加到标签", "Ctrl+F1", -1, true},
    {"kezmenulink", "N1", "转到快捷方式所在路径", "Ctrl+L", -1, false},
    {"kezmenuselall", "N2", "全选", "Ctrl+A", -1, true},
    {"kezmenuselallelse", "N2", "反选", "Ctrl+Alt+A", -1, true},
    {"kezmenucopycaption", "N3", "仅文件名", "F12", -1, true},
    {"kezmenucopycaptionwithpath", "N3", "文件名带路径", "Ctrl+F12", -1, true},
    {"N01", "kezmenualpha", "不透明", "Shift+F10", 1, true},
    {"N11", "kezmenualpha", "10", "Shift+F1", 0, true},
    {"N51", "kezmenualpha", "50", "Shift+F5", 0, true},
    {"N91", "kezmenualpha", "90", "Shift+F9", 0, true},
    {"kezmenuregmypc", "N2", "替代 我的电脑", "", 0, true},
    {"N26", "N2", "复制剪贴板路径并打开", "Ctrl+W", -1, true},
    {"kezmenunext", "N4", "后一页    Page Down", "", -1, true},
    {"kezmenupre", "N4", "前一页    Page UP", "", -1, true},
    {"kezmenubottom", "N4", "最顶端    Home", "", -1, true},
    {"kezmenutop", "N4", "最底端    End", "", -1, true},
    {"kezmenushowhide", "N4", "显示隐藏文件", "Ctrl+H", 1, true},
    {"kezmenushowfoldertree", "N4", "显示文件夹树 ", "Ctrl+T", 0, true}, // 0 after creation
    {"kezmenuoptop", "N4", "窗口置顶", "Ctrl+Z", 0, true},
    {"N17", "N9", "我的文档", "", -1, true},
    {"W1", "N9", "Windows", "", -1, true},
    {"kezMapToDrive", "N7", "映射网络驱动器...", "", -1, true},
    {"kezUnMapDrive", "N7", "断开网络驱动器...", "", -1, true},
    {"kezmenuabout", "N6", "作者", "", -1, true},
    {"kezhelp", "N6", "帮助", "F1", -1, true},
    {"N8", "kezpmtrayhint", "退出", "", -1, true},
};

QStringList actionNames(const QMenu *menu) {
    QStringList names;
    for (QAction *a : menu->actions())
        names << a->objectName();
    return names;
}

} // namespace

class ComponentsTest : public ::testing::Test {
protected:
    TempFolder dir;
    Tkezmainf window{dir.path()};
    void TearDown() override { window.close(); }
};

TEST_F(ComponentsTest, MenuItemsHaveCaptionsKeysAndInitialStates) {
    for (const MenuItem &item : kMenuItems) {
        SCOPED_TRACE(item.name);
        auto *action = window.findChild<QAction *>(item.name);
        ASSERT_NE(action, nullptr);
        auto *menu = window.findChild<QMenu *>(item.parent);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->actions().contains(action));
        EXPECT_EQ(action->text(), QString::fromUtf8(item.caption));
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(item.key)));
        EXPECT_EQ(action->isCheckable(), item.checked >= 0);
        if (item.checked >= 0) {
            EXPECT_EQ(action->isChecked(), item.checked == 1);
        }
        EXPECT_EQ(action->isEnabled(), item.enabled);
    }
    QStringList top;
    for (QAction *a : window.menuBar()->actions())
        top << a->text();
    EXPECT_EQ(top.mid(0, 6), (QStringList{"文件", "编辑", "查看", "特殊目录", "工具", "关于"}));
    const QStringList special = actionNames(window.findChild<QMenu *>("N9"));
    EXPECT_EQ(special, (QStringList{"N17", "N24", "N25", "N10", "N13",      "N19", "N14",
                                    "N20", "N22", "N23", "N12", "Cookies1", "N15", "N16",
                                    "I1",  "d1",  "d2",  "N18", "S1",       "W1"}));
    EXPECT_EQ(window.findChild<QAction *>("N17")->property("hint").toString(), "28");
    EXPECT_EQ(window.findChild<QAction *>("W1")->property("hint").toString(), "41");
    EXPECT_FALSE(window.findChild<QAction *>("N24")->property("hint").isValid());
    const QList<QAction *> skins = window.findChild<QMenu *>("kezskinmenu")->actions();
    ASSERT_FALSE(skins.isEmpty());
    EXPECT_EQ(skins.first()->text(), "炫丽(内置)");
    EXPECT_TRUE(skins.first()->isChecked());
}

TEST_F(ComponentsTest, TransparencyItemsFormOneRadioGroup) {
    const QStringList names = actionNames(window.findChild<QMenu *>("kezmenualpha"));
    EXPECT_EQ(names,
              (QStringList{"N01", "N11", "N21", "N31", "N41", "N51", "N61", "N71", "N81", "N91"}));
    window.findChild<QAction *>("N51")->trigger();
    for (const QString &name : names)
        EXPECT_EQ(window.findChild<QAction *>(name)->isChecked(), name == "N51")
            << name.toStdString();
}

TEST_F(ComponentsTest, MenuKeysWorkWhileTheMenusAreClosed) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_TRUE(window.findChild<QAction *>("N91")->isChecked());
    EXPECT_FALSE(window.findChild<QAction *>("N01")->isChecked());
    QSignalSpy help(window.findChild<QAction *>("kezhelp"), &QAction::triggered);
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(help.count(), 1);
    // A disabled item ignores its key.
    QSignalSpy link(window.findChild<QAction *>("kezmenulink"), &QAction::triggered);
    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(link.count(), 0);
}

TEST_F(ComponentsTest, ToolButtonsInOrderWithTipsSizesAndActions) {
    struct Button {
        const char *name, *tip, *action;
        int width;
    };
    const Button buttons[] = {
        {"kezbtnback", "后退", "kezactback", 72},
        {"kezbtnnext", "前进", "kezactnext", 72},
        {"kezbtnup", "向上", "kezactup", 55},
        {"kezbtnrefresh", "刷新", "kezactrefresh", 55},
        {"kezbtndel", "删除", "kezactdel", 55},
        {"kezbtnrename", "重命名", "kezactrename", 55},
        {"kezbtncut", "剪切", "kezactcut", 55},
        {"kezbtncopy", "复制", "kezactcopy", 55},
        {"kezbtnpasteaslink", "粘贴为快捷方式", "kezactpasteaslink", 55},
        {"kezbtnpaste", "粘贴", "kezactpaste", 55},
        {"kezbtninfo", "属性", "kezactinfo", 55},
        {"kezbtnsearch", "搜索", "", 55},
        {"kezbtnsearchsys", "系统搜索", "", 55},
    };
    window.show();
    int lastX = -1;
    for (const Button &b : buttons) {
        SCOPED_TRACE(b.name);
        auto *button = window.findChild<QToolButton *>(b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->parentWidget()->objectName(), "kezPanel");
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.tip));
        EXPECT_EQ(button->size(), QSize(b.width, 79));
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        if (QByteArray(b.name) == "kezbtnsearchsys") {
            EXPECT_FALSE(button->isVisible());
            continue;
        }
        EXPECT_GT(button->x(), lastX);
        lastX = button->x();
        if (*b.action) {
            auto *action = window.findChild<QAction *>(b.action);
            ASSERT_NE(action, nullptr);
            QSignalSpy spy(action, &QAction::triggered);
            // Back and forward start disabled (empty history); the link is what is checked.
            button->setEnabled(true);
            QTest::mouseClick(button, Qt::LeftButton);
            EXPECT_EQ(spy.count(), 1);
        }
    }
    for (const char *name : {"kezbtnback", "kezbtnnext"}) {
        auto *button = window.findChild<QToolButton *>(name);
        EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup);
        ASSERT_NE(button->menu(), nullptr);
    }
    EXPECT_EQ(window.findChild<QToolButton *>("kezbtnback")->menu()->objectName(),
              "kezhistorybackpm");
    EXPECT_EQ(window.findChild<QToolButton *>("kezbtnnext")->menu()->objectName(),
              "kezhistorynextpm");
    EXPECT_EQ(window.findChild<QWidget *>("kezPanel")->height(), 81);
    EXPECT_EQ(window.findChild<QStatusBar *>("kezstatubar")->height(), 19);
    EXPECT_EQ(window.findChild<QWidget *>("kezpanel1")->height(), 24);
    EXPECT_EQ(window.findChild<QWidget *>("kezfilterbox")->width(), 88);
    for (const char *name : {"kezdrivebar", "kezcombobox", "keztree", "kezpagecontrol",
                             "kezTabControl", "kezlistview1", "sSplitter2", "kezSplitter"})
        EXPECT_NE(window.findChild<QWidget *>(name), nullptr) << name;
}

TEST_F(ComponentsTest, BalloonTakesCaptionCutsTextsAndReplacesTheOneShowing) {
    window.show();
    window.kezshowmessage("请先选择一个文件或文件夹！", bitWarning);
    BalloonMessage first = window.lastBalloon();
    EXPECT_EQ(first.title, "星舟文件工坊 V1.0");
    EXPECT_EQ(first.text, "请先选择一个文件或文件夹！");
    EXPECT_EQ(first.kind, bitWarning);

    window.setWindowTitle("星舟文件工坊 V1.0   [置顶模式]");
    const QString longText(300, QChar(u'长'));
    window.kezshowmessage(longText, bitError);
    const BalloonMessage second = window.lastBalloon();
    EXPECT_EQ(second.title, "星舟文件工坊 V1.0   [置顶模式]");
    EXPECT_EQ(second.text, longText.left(255));
    EXPECT_EQ(second.serial, first.serial + 1);

    window.setWindowTitle(QString(70, 'T'));
    window.kezshowmessage("x", bitInfo);
    EXPECT_EQ(window.lastBalloon().title, QString(63, 'T'));

    if (!window.lastBalloon().viaTray) {
        // Without a tray the own pop-up shows the message, one at a time, without focus.
        const QList<QWidget *> popups = [] {
            QList<QWidget *> found;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == "kezballoon" && w->isVisible())
                    found << w;
            return found;
        }();
        ASSERT_EQ(popups.size(), 1);
        EXPECT_TRUE(popups.first()->testAttribute(Qt::WA_ShowWithoutActivating));
        EXPECT_NE(QApplication::activeWindow(), popups.first());
        const auto *popup = static_cast<BalloonPopup *>(popups.first());
        EXPECT_EQ(popup->text(), "x");
        EXPECT_GT(popup->remainingMs(), 9000);
        EXPECT_LE(popup->remainingMs(), 10000);
    }
}

TEST(Translations, StandardButtonsReadChinese) {
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Ok)->text(), "确定");
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), "取消");
}

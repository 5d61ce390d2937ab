// How the console looks at its designed sizes with the shipped CJK font: texts that must fit are
// measured with the font's metrics. With AMMERLIN_SCREENSHOTS set to a folder, the screenshots of
// docs/ are taken again into it.
#include "DialogsTestApp.h"
#include "MainWindowHarness.h"
#include "console/DelayRowsView.h"
#include "console/FDlgComSet.h"
#include "console/FDlgDelayTime.h"
#include "console/FDlgTstRoute.h"
#include "console/FFrmOrd.h"
#include "console/FSelectBw.h"
#include "console/MessageBox.h"
#include "console/SerialLink.h"
#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include "platform/vcl/ControlHost.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridViewInfo.h"
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QTranslator>
#include <QTreeWidget>

#include <fstream>
#include <QDir>
#include <QGroupBox>
#include <QPixmap>

namespace {

void Save(QWidget* w, const char* name)
{
    const QByteArray dir = qgetenv("AMMERLIN_SCREENSHOTS");
    if (dir.isEmpty())
        return;
    w->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(name)));
}

} // namespace

TEST(WindowLooks, Screenshots)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.show();
    w.TimerSecTimer();
    SpinFor(std::chrono::milliseconds(50));
    Save(&w, "console.png");

    w.Composer->show();
    SpinFor(std::chrono::milliseconds(50));
    Save(w.Composer, "composer.png");
    w.Composer->close();

    TDlgDelay delay(&w);
    for (int row = 0; row < DelayCount; ++row)
        delay.Rows->SetValue(row, row == 0 ? 100 : row == 1 ? 20 : row * 37 % 300);
    delay.show();
    SpinFor(std::chrono::milliseconds(50));
    Save(&delay, "delay-dialog-compact.png");
    delay.CheckBox1->click();
    SpinFor(std::chrono::milliseconds(50));
    Save(&delay, "delay-dialog-detailed.png");
    h.Close();
}

TEST(WindowLooks, CustomDataBackToTheDesignedHeight)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.show();
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_EQ(w.height(), 687);
    w.CheckBox2->click();
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_EQ(w.height(), 817);
    w.CheckBox2->click();
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_EQ(w.height(), 687);
    EXPECT_FALSE(w.GroupBox23->isVisible());
    h.Close();
}

namespace {

// The room a line edit gives its text: the frame and QLineEdit's own margins taken off.
int TextRoom(const QLineEdit* e)
{
    const QMargins m = e->textMargins();
    return e->width() - 2 * e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 4 - m.left() - m.right();
}

int Advance(const QWidget* w, const char* text)
{
    return w->fontMetrics().horizontalAdvance(QString::fromUtf8(text));
}

} // namespace

// After a line wider than the pane (a long burst), new lines still come into view; a log the
// operator scrolled up stays where it is.
TEST(WindowLooks, LogFollowsNewLines)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.show();
    QScrollBar* bar = w.MemoRes->verticalScrollBar();
    for (int i = 0; i < 60; ++i)
        w.AddLog(w.MemoRes, "line " + std::to_string(i));
    std::string burst = "<-";
    for (int i = 0; i < 300; ++i)
        burst += "68 ";
    w.AddLog(w.MemoRes, burst);
    for (int i = 0; i < 5; ++i)
        w.AddLog(w.MemoRes, "after " + std::to_string(i));
    SpinFor(std::chrono::milliseconds(20));
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GT(w.MemoRes->horizontalScrollBar()->maximum(), 0);  // the burst line is wider than the pane

    bar->setValue(0);  // the operator scrolls up
    w.AddLog(w.MemoRes, "later");
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(bar->maximum());
    w.AddLog(w.MemoRes, "again");
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_EQ(bar->value(), bar->maximum());
    h.Close();
}

// Status panel 1 with a long device path: the state and settings stay in view, the whole text is
// the tool tip.
TEST(WindowLooks, PortPanelKeepsItsText)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    const std::string text = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0关闭,9600,e,8,1";
    w.SetPanelText(1, text);
    QLabel* panel = w.StatusPanels[1];
    EXPECT_EQ(w.PanelText(1), text);
    EXPECT_EQ(panel->toolTip().toStdString(), text);
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());
    // A gap is left before the next panel's "RX:".
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->width() - 8);
    EXPECT_TRUE(panel->text().endsWith(QString::fromUtf8("关闭,9600,e,8,1")));
    EXPECT_TRUE(panel->text().startsWith(QStringLiteral("/dev/")));

    w.SetPanelText(1, "/dev/ttyS0打开,9600,e,8,1");  // short: shown whole
    EXPECT_EQ(panel->text().toStdString(), "/dev/ttyS0打开,9600,e,8,1");
    h.Close();
}

// The named controls hold their longest designed texts at the designed sizes.
TEST(WindowLooks, DialogWidthsHoldTheirTexts)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.show();
    w.CheckBox2->click();

    TFrmSend& composer = *w.Composer;
    composer.show();
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_GE(TextRoom(composer.EditBh), Advance(composer.EditBh, "000000000000"));
    EXPECT_GE(TextRoom(composer.EditBh1), Advance(composer.EditBh1, "000000000000"));
    EXPECT_GE(TextRoom(composer.EditData1), Advance(composer.EditData1, "04 00 01 01 00 00 00 00 00 00"));
    EXPECT_GE(TextRoom(composer.EditData2), Advance(composer.EditData2, "68 10 01 00 00 05 08 00 00 01 03 90 1f 00 39 16"));
    for (int c : {0, 2})
        EXPECT_GE(composer.StringGrid1->columnWidth(c), Advance(composer.StringGrid1, "000000000000") + 8);
    composer.close();

    // The delay dialog in its detailed view: the grid fills the width above the buttons and keeps
    // its header column.
    TDlgDelay delay(&w);
    delay.show();
    delay.CheckBox1->click();
    SpinFor(std::chrono::milliseconds(20));
    auto& grid = static_cast<TGridDelayRowsView&>(*delay.Rows);
    EXPECT_EQ(grid.Host()->width(), delay.width());
    EXPECT_EQ(grid.Grid()->ViewInfo()->ViewHeaderWidth, TGridDelayRowsView::RowHeaderWidth);
    delay.reject();

    // "选择会响应的命令": whole frames, the bytes that tell them apart included.
    TSelectBw answers(&w);
    answers.show();
    SpinFor(std::chrono::milliseconds(20));
    QListWidget* list = answers.CheckListBox1;
    for (int i = 0; i < list->count(); ++i) {
        const QRect item = list->visualItemRect(list->item(i));
        EXPECT_GE(list->viewport()->width() - item.left(), list->fontMetrics().horizontalAdvance(list->item(i)->text()) + 20);
    }
    answers.reject();

    // The route list: 12-digit addresses and the phase texts.
    TDlgTstRoute route(&w);
    QTreeWidget* tree = route.LVMeterInfo;
    for (int c : {0, 1})
        EXPECT_GE(tree->columnWidth(c), tree->fontMetrics().horizontalAdvance(QStringLiteral("000000000000")) + 8);
    EXPECT_GE(tree->columnWidth(1), tree->header()->fontMetrics().horizontalAdvance(QString::fromUtf8("上一级电表地址")) + 8);
    EXPECT_GE(tree->columnWidth(2), tree->fontMetrics().horizontalAdvance(QString::fromUtf8("自动")) + 8);

    // The main window: the mode button's caption beside its menu mark, status-word edits tall
    // enough for their digits.
    const int mark = w.TbtnPara->style()->pixelMetric(QStyle::PM_MenuButtonIndicator);
    EXPECT_GE(w.TbtnPara->width() - mark, Advance(w.TbtnPara, "运行模式") + 4);
    for (TFilterEdit* e : {w.EditStaRun[0], w.EditStaRun[6], w.EditStaGrid, w.EditStaSelf, w.EditEventFlag}) {
        EXPECT_GE(e->height(), e->sizeHint().height());
        EXPECT_GE(TextRoom(e), Advance(e, "0000"));
    }
    for (TFilterEdit* e : {w.EdiMonth, w.EditMoney, w.EditMoney2})
        EXPECT_GE(TextRoom(e), Advance(e, "000000.00"));
    for (TFilterEdit* e : w.AddressEdits)
        EXPECT_GE(TextRoom(e), Advance(e, "888888888888"));
    h.Close();
}

// Errors show the error icon; a short box is still as wide as its title.
TEST(WindowLooks, MessageBoxes)
{
    EnsureQtApp();
    const auto box = MakeMessageBox(nullptr, TMessageKind::Error, QString::fromUtf8("路由测试表单 - Ammerlin"),
                                    QString::fromUtf8("没有选择串口"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->show();
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(box->windowTitle()) + 100);
    box->hide();
    EXPECT_EQ(MakeMessageBox(nullptr, TMessageKind::Information, "a", "b")->icon(), QMessageBox::Information);

    MainWindowHarness h;  // a port that cannot be opened is reported as an error
    h.window->Link->Comm().SetDevice("");
    h.window->Link->Comm().SetCommPort(0);
    h.window->TbtnComOpenClick();
    h.window->Link->Comm().SetDevice("/dev/ammerlin-none");
    h.window->TbtnComOpenClick();
    EXPECT_EQ(h.errors.size(), 2u);
    h.Close();
}

// Qt's own texts (standard buttons, file dialog) in Chinese when its translations are installed.
TEST(WindowLooks, QtTranslationsLoad)
{
    EnsureQtApp();
    const QString before = QCoreApplication::translate("QPlatformTheme", "Cancel");
    if (!LoadQtTranslations(*QCoreApplication::instance()))
        GTEST_SKIP() << "qtbase_zh_CN.qm is not installed (scripts/deps installs it)";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "取消");
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(t);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), before);
}

// The window starts in the middle of the screen, also when the routing test opens its dialog
// over it at start.
TEST(WindowLooks, StartsCentred)
{
    MainWindowHarness h({}, false);
    std::ofstream(h.iniPath, std::ios::binary) << rtl::Utf8ToGbk("[系统]\r\n测试类型=7\r\n");
    h.Create();
    TFrmMain& w = *h.window;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((w.frameGeometry().center() - screen.center()).manhattanLength(), 2);
    ASSERT_TRUE(w.RouteDialog->isVisible());
    EXPECT_TRUE(w.geometry().contains(w.RouteDialog->geometry().center()));
    h.Close();
}

// The composer's "打开" shows the file dialog with its columns in Chinese: the kind of file, the
// size in KB and the date as the program writes dates, none of them elided.
TEST(WindowLooks, TheFileDialogSpeaksChinese)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));  // as the program starts
    {
        std::ofstream(h.dir.filePath("meters.txt").toStdString()) << std::string(3000, '1');
    }
    w.Composer->show();
    QStringList cells;
    bool elided = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(h.dir.path());
        auto* view = dialog->findChild<QTreeView*>();
        ASSERT_NE(view, nullptr);
        dialog->setViewMode(QFileDialog::Detail);
        dialog->resize(700, 420);
        const auto find = [&] {
            QAbstractItemModel* m = view->model();
            return m->match(m->index(0, 0, view->rootIndex()), Qt::DisplayRole, QStringLiteral("meters.txt")).value(0);
        };
        SpinUntil([&] { return find().isValid(); }, std::chrono::milliseconds(2000));
        SpinFor(std::chrono::milliseconds(100));
        const QModelIndex name = find();
        for (int c = 0; c < 4; ++c) {
            const QModelIndex cell = name.siblingAtColumn(c);
            cells << cell.data().toString();
            const int room = view->header()->sectionSize(c) - 6;  // the cell's margins
            elided = elided || view->fontMetrics().horizontalAdvance(cells.back()) > room;
        }
        Save(dialog, "file-dialog.png");
        dialog->reject();
    });
    QTest::mouseClick(w.Composer->BtnOpen, Qt::LeftButton);
    QLocale::setDefault(QLocale::c());
    ASSERT_EQ(cells.size(), 4) << cells.join(u'|').toStdString();
    EXPECT_EQ(cells[1], QStringLiteral("3 KB"));
    EXPECT_EQ(cells[2], QString::fromUtf8("纯文本文档")) << cells[2].toStdString();
    EXPECT_EQ(cells[3], QFileInfo(h.dir.filePath("meters.txt")).lastModified().toString("yyyy/MM/dd HH:mm"));
    EXPECT_FALSE(elided) << cells.join(u'|').toStdString();
    h.Close();
}

// "开箱监视器" shows the box-open group inside the upper panel: the window keeps its width and the
// status bar's buttons stay where the operator's next click expects them.
TEST(WindowLooks, TheBoxMonitorFitsTheWindow)
{
    MainWindowHarness h;
    TFrmMain& w = h.Shown();
    const int width = w.width();
    EXPECT_EQ(width, 955);
    const QPoint pause = w.BtnPause->mapTo(&w, QPoint());
    w.TmiKinds[2]->trigger();  // "开箱监视器"
    SpinFor(std::chrono::milliseconds(50));
    Save(&w, "box-monitor.png");
    EXPECT_TRUE(w.GbxKx->isVisible());
    EXPECT_EQ(w.width(), width);
    EXPECT_EQ(w.BtnPause->mapTo(&w, QPoint()), pause);
    const QRect group(w.GbxKx->mapTo(&w, QPoint()), w.GbxKx->size());
    const QRect check(w.CbxKx->mapTo(&w, QPoint()), w.CbxKx->size());
    EXPECT_TRUE(w.rect().contains(group)) << group.x() << "," << group.right();
    EXPECT_TRUE(w.rect().contains(check));
    EXPECT_GE(w.GbxKx->width(), w.GbxKx->sizeHint().width());
    w.TmiKinds[0]->trigger();  // "新载波表"
    SpinFor(std::chrono::milliseconds(50));
    EXPECT_FALSE(w.GbxKx->isVisible());
    EXPECT_EQ(w.width(), width);
    EXPECT_EQ(w.BtnPause->mapTo(&w, QPoint()), pause);
    h.Close();
}

// The small things an operator meets: the mode button carries the same menu mark as the others
// and opens its menu on a click; dialogs of one size offer no maximise button; the route list of
// 2049 rows needs no horizontal scroll bar beside its vertical one.
TEST(WindowLooks, MenuButtonsDialogFramesAndTheRouteList)
{
    MainWindowHarness h;
    TFrmMain& w = h.Shown();
    EXPECT_EQ(w.TbtnPara->popupMode(), w.TbtnCmdRd9010->popupMode());
    bool opened = false;
    QTimer::singleShot(100, [&] {
        opened = w.PmPara->isVisible();
        w.PmPara->close();
    });
    QTest::mouseClick(w.TbtnPara, Qt::LeftButton, Qt::NoModifier, QPoint(8, w.TbtnPara->height() / 2));
    EXPECT_TRUE(opened);

    for (QWidget* dialog : std::initializer_list<QWidget*>{w.ComSetDialog, new TDlgDelay(&w)}) {
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(dialog->windowFlags() & Qt::CustomizeWindowHint);
        EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    }

    TDlgTstRoute& route = *w.RouteDialog;
    route.OpenSheet(std::string(AMMERLIN_FIXTURES_DIR) + "/route-2100.xls");
    route.show();
    SpinFor(std::chrono::milliseconds(50));
    Save(&route, "route-2100.png");
    ASSERT_EQ(route.LVMeterInfo->topLevelItemCount(), 2049);
    EXPECT_TRUE(route.LVMeterInfo->verticalScrollBar()->isVisible());
    EXPECT_FALSE(route.LVMeterInfo->horizontalScrollBar()->isVisible());
    route.close();
    h.Close();
}

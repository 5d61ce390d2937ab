#include "console/FDlgAutoBack.h"
#include "console/FDlgCircleNum.h"
#include "console/FDlgKwhInput.h"
#include "console/FDlgMaxFeiLvNum.h"
#include "console/FDlgSelfBack.h"
#include "console/FDlgSuccesNum.h"
#include "console/FSelectBw.h"

#include "DialogsTestApp.h"
#include "platform/rtl/IniFiles.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(DialogsKwh, NormalisedValues)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12.5", "000012.50"},   {"1234567", "234567.00"}, {"1.2.3", "000000.00"},
        {"123456.78", "123456.78"}, {" 12 ", "000012.00"},  {"", "000000.00"},
        {"1234567.1", "000000.00"}, {"12.345", "000012.34"}, {"1a", "000000.00"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(TDlgKwhInput::NormalizeKwhText(in), out) << in;
}

TEST(DialogsKwh, TypingConfirmingAndTheStoredText)
{
    EnsureDialogsApp();
    const std::string ini = FreshIniPath("kwh.ini");
    {
        TDlgKwhInput dialog(nullptr, ini);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("电能数据"));
        EXPECT_EQ(dialog.edtIn->text(), QStringLiteral("123456.78"));
        dialog.edtIn->clear();
        TypeKeys(dialog.edtIn, "12.x599");
        EXPECT_EQ(dialog.edtIn->text(), QStringLiteral("12.59"));
        dialog.edtIn->setText("12.5");
        dialog.BtnOk->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.edtIn->text(), QStringLiteral("000012.50"));
        EXPECT_EQ(dialog.GetKwhText(), "00001250");

        dialog.edtIn->clear();
        TypeKeys(dialog.edtIn, "1234567");
        EXPECT_EQ(dialog.edtIn->text(), QStringLiteral("123456"));
        TypeKeys(dialog.edtIn, ".12");
        EXPECT_EQ(dialog.edtIn->text(), QStringLiteral("123456.12"));
        dialog.BtnCanel->click();  // written on cancel too
    }
    EXPECT_EQ(rtl::TIniFile(ini).ReadString("数据输入对话框", "电能(kWh)", ""), "123456.12");
    TDlgKwhInput again(nullptr, ini);
    EXPECT_EQ(again.edtIn->text(), QStringLiteral("123456.12"));
}

TEST(DialogsMaxTariff, PresetFromSettingsAndWrittenOnClose)
{
    EnsureDialogsApp();
    const std::string ini = FreshIniPath("tariff.ini");
    {
        TDlgMaxFeiLvNum dialog(nullptr, ini);
        EXPECT_EQ(dialog.GetMaxTariff(), 4);
        EXPECT_EQ(dialog.Items->checkedButton()->text(), QStringLiteral(" 4"));
        dialog.SetItemIndex(11);
        dialog.BitBtn2->click();  // cancelled, still written
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(rtl::TIniFile(ini).ReadInteger("数据选项", "最大费率", 0), 12);
    {
        TDlgMaxFeiLvNum dialog(nullptr, ini);
        EXPECT_EQ(dialog.GetMaxTariff(), 12);
        dialog.BitBtn1->click();
        EXPECT_EQ(dialog.result(), TDlgMaxFeiLvNum::mrYes);
    }
    for (int stored : {0, 64, -3}) {
        rtl::TIniFile(ini).WriteInteger("数据选项", "最大费率", stored);
        TDlgMaxFeiLvNum dialog(nullptr, ini);
        EXPECT_EQ(dialog.GetMaxTariff(), 1) << stored;
    }
    rtl::TIniFile(ini).WriteInteger("数据选项", "最大费率", 63);
    TDlgMaxFeiLvNum last(nullptr, ini);
    EXPECT_EQ(last.GetMaxTariff(), 63);
    EXPECT_EQ(last.Items->checkedButton()->text(), QStringLiteral("63"));
}

TEST(DialogsPadded, ConfirmPadsTheEdits)
{
    EnsureDialogsApp();
    TDlgBackNum back;
    EXPECT_EQ(back.windowTitle(), QStringLiteral("自定义数据标识"));
    back.SetTexts("0000", "0001");
    back.EdtSet->clear();
    TypeKeys(back.EdtSet, "1g");
    back.Button1->click();
    EXPECT_EQ(back.result(), QDialog::Accepted);
    EXPECT_EQ(back.SetIdText(), "0001");
    EXPECT_EQ(back.ReadIdText(), "0001");

    TDlgCircleNum circle;
    circle.SetTexts("000", "255");
    circle.EdtBeginNum->clear();
    TypeKeys(circle.EdtBeginNum, "2a");
    circle.EdtEndNum->setText("4");
    circle.Button1->click();
    EXPECT_EQ(circle.BeginText(), "002");
    EXPECT_EQ(circle.EndText(), "004");

    TDlgSucNum steps;
    EXPECT_EQ(steps.windowTitle(), QStringLiteral("可变速率"));
    steps.SetText("02");
    steps.EdtSucNum->clear();
    TypeKeys(steps.EdtSucNum, "5");
    steps.Button2->click();  // cancelled: not padded
    EXPECT_EQ(steps.result(), QDialog::Rejected);
    EXPECT_EQ(steps.Text(), "5");
    steps.Button1->click();
    EXPECT_EQ(steps.Text(), "05");
}

TEST(DialogsSelfBack, HexWithBlanksAndFlags)
{
    EnsureDialogsApp();
    TDlgSelfBack dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("自定义响应"));
    TypeKeys(dialog.EdtData, "6810");
    EXPECT_EQ(dialog.DataText(), "68 10");
    PressKey(dialog.EdtData, Qt::Key_Backspace, QStringLiteral("\b"));
    PressKey(dialog.EdtData, Qt::Key_Backspace, QStringLiteral("\b"));
    PressKey(dialog.EdtData, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(dialog.DataText(), "68");
    TypeKeys(dialog.EdtControl, "912");
    EXPECT_EQ(dialog.ControlText(), "91");
    dialog.CkBoxRev->setChecked(true);
    dialog.Button1->click();
    EXPECT_TRUE(dialog.Reverse);
    EXPECT_FALSE(dialog.Add33);
}

TEST(DialogsSelectBw, BothCheckedAtFirstAndReadOnConfirm)
{
    EnsureDialogsApp();
    TSelectBw dialog;
    EXPECT_TRUE(dialog.AnswerBroadcast);
    EXPECT_TRUE(dialog.AnswerWildcard);
    ASSERT_EQ(dialog.CheckListBox1->count(), 2);
    dialog.CheckListBox1->item(0)->setCheckState(Qt::Unchecked);
    dialog.Button1->click();
    EXPECT_FALSE(dialog.AnswerBroadcast);
    EXPECT_TRUE(dialog.AnswerWildcard);
}

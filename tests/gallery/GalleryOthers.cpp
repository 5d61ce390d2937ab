// The group box in every caption alignment, check boxes and radio groups on a coloured form, the
// push button, scroll bars, the navigator and the calculator, and the filter builder with its
// drop-downs and dialog.
#include "GallerySheet.h"
#include "GalleryStage.h"

#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"
#include "toolkit/controls/cxScrollBar.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxButtons.h"
#include "toolkit/editors/cxCalc.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxDateEdit.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxGroupBox.h"
#include "toolkit/editors/cxNavigator.h"
#include "toolkit/editors/cxRadioGroup.h"
#include "toolkit/editors/cxButtonEdit.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxFilterControl.h"
#include "toolkit/grid/cxFilterControlDialog.h"
#include "toolkit/grid/cxVirtualVGrid.h"

#include <QTest>
#include <QTimer>

#include <memory>

namespace gallery {

using namespace cx;

namespace {

using FormPtr = std::unique_ptr<TForm, void (*)(TForm*)>;
FormPtr Form(int w, int h, TColor color = clBtnFace) { return FormPtr(NewForm(w, h, color), [](TForm* f) { f->Free(); }); }

const TColor kFormTint = TColor(0xF0E6DC);   // a form colour no control has by default

const std::vector<std::pair<TcxCaptionAlignment, const char*>> CaptionAlignments = {
    {alTopLeft, "TopLeft"},       {alTopCenter, "TopCenter"},     {alTopRight, "TopRight"},
    {alBottomLeft, "BottomLeft"}, {alBottomCenter, "BottomCenter"}, {alBottomRight, "BottomRight"},
    {alLeftTop, "LeftTop"},       {alLeftCenter, "LeftCenter"},   {alLeftBottom, "LeftBottom"},
    {alRightTop, "RightTop"},     {alRightCenter, "RightCenter"}, {alRightBottom, "RightBottom"},
    {alCenterCenter, "CenterCenter"}};

QImage GroupBoxShot(TForm* form, TcxCaptionAlignment alignment, const std::string& caption, bool panel, bool enabled)
{
    auto* box = new TcxGroupBox(form);
    box->SetParent(form);
    box->SetBounds(8, 8, 150, 90);
    box->SetAlignment(alignment);
    box->SetCaption(caption);
    box->PanelStyle()->SetActive(panel);
    box->SetEnabled(enabled);
    QImage shot = Shot(box);
    box->Free();
    return shot;
}

} // namespace

void ChoiceSheets(Output& out)
{
    {
        Sheet sheet("Group box caption alignments", {"Latin", "中文", "panel style", "disabled"});
        FormPtr form = Form(200, 120, kFormTint);
        for (auto& [alignment, name] : CaptionAlignments)
            sheet.Row(name, {GroupBoxShot(form.get(), alignment, "Caption Wg", false, true),
                             GroupBoxShot(form.get(), alignment, "电表参数", false, true),
                             GroupBoxShot(form.get(), alignment, "面板 Panel", true, true),
                             GroupBoxShot(form.get(), alignment, "禁用 Off", false, false)});
        out.Save(sheet, "groupbox.png");
    }
    {
        Sheet sheet("Check boxes and radio groups on a tinted form",
                    {"unchecked", "checked", "grayed", "focused", "hot", "disabled"});
        FormPtr form = Form(1100, 200, kFormTint);
        for (bool chinese : {true, false}) {
            std::vector<TcxCheckBox*> boxes;
            for (int i = 0; i < 6; ++i) {
                auto* c = new TcxCheckBox(form.get());
                c->SetParent(form.get());
                c->SetBounds(8 + i * 170, 8, 160, 21);
                c->SetCaption(chinese ? "启用中继 Relay" : "Use the relay");
                c->Properties()->SetAllowGrayed(true);
                c->SetState(i == 0 ? cbsUnchecked : i == 2 ? cbsGrayed : cbsChecked);
                if (i == 5)
                    c->SetEnabled(false);
                boxes.push_back(c);
            }
            std::vector<QImage> cells;
            for (int i = 0; i < 6; ++i) {
                if (i == 3)
                    Focus(boxes[3]);
                if (i == 4)
                    Hover(boxes[4], 8, 10);
                cells.push_back(Shot(boxes[std::size_t(i)]));
                Unhover(form.get());
            }
            sheet.Row(chinese ? "CheckBox 中文" : "CheckBox Latin", std::move(cells));
            for (TcxCheckBox* c : boxes)
                c->Free();
        }
        auto* group = new TcxRadioGroup(form.get());
        group->SetParent(form.get());
        group->SetBounds(8, 40, 260, 80);
        group->SetCaption("规约 Protocol");
        group->Properties()->SetColumns(2);
        for (const char* item : {"97规约", "07规约", "上海规约", "BNC"})
            group->Properties()->AddItem(item);
        group->SetItemIndex(2);
        QImage normal = Shot(group);
        group->SetEnabled(false);
        sheet.Row("RadioGroup", {normal, Shot(group)});
        out.Save(sheet, "check-radio.png");
    }
}

void BaseSheets(Output& out)
{
    {
        Sheet sheet("Push buttons", {"normal", "default", "focused", "hot", "disabled"});
        FormPtr form = Form(700, 60);
        for (auto& [kind, name] : LookAndFeelKinds) {
            std::vector<TcxButton*> buttons;
            for (int i = 0; i < 5; ++i) {
                auto* b = new TcxButton(form.get());
                b->SetParent(form.get());
                b->SetBounds(8 + i * 120, 8, 100, 25);
                b->SetCaption(i % 2 ? "确定 OK" : "打开串口");
                b->LookAndFeel()->SetKind(kind);
                b->Default = i == 1;
                b->SetEnabled(i != 4);
                buttons.push_back(b);
            }
            std::vector<QImage> cells;
            for (int i = 0; i < 5; ++i) {
                if (i == 2)
                    buttons[2]->SetFocus();
                if (i == 3)
                    Hover(buttons[3], 50, 12);
                cells.push_back(Shot(buttons[std::size_t(i)]));
                Unhover(form.get());
            }
            sheet.Row(name, std::move(cells));
            for (TcxButton* b : buttons)
                b->Free();
        }
        out.Save(sheet, "buttons.png");
    }
    {
        Sheet sheet("Scroll bars", {"horizontal", "vertical", "disabled"});
        FormPtr form = Form(400, 160);
        for (auto& [kind, name] : LookAndFeelKinds) {
            std::vector<QImage> cells;
            for (int i = 0; i < 3; ++i) {
                auto* bar = new TcxScrollBar(form.get());
                bar->SetParent(form.get());
                bar->SetKind(i == 1 ? sbVertical : sbHorizontal);
                bar->SetBounds(8, 8, i == 1 ? 17 : 200, i == 1 ? 120 : 17);
                bar->LookAndFeel()->SetKind(kind);
                bar->SetScrollParams(0, 100, 30, 20);
                bar->SetEnabled(i != 2);
                cells.push_back(Shot(bar));
                bar->Free();
            }
            sheet.Row(name, std::move(cells));
        }
        out.Save(sheet, "scrollbars.png");
    }
    {
        Sheet sheet("Navigator and calculator");
        FormPtr form = Form(420, 260);
        auto* nav = new TcxNavigator(form.get());
        nav->SetParent(form.get());
        nav->SetBounds(8, 8, 360, 25);
        sheet.Wide("Navigator", Shot(nav));
        nav->Free();
        auto* calc = new TcxCustomCalculator(form.get());
        calc->SetParent(form.get());
        calc->SetBounds(8, 8, 220, 180);
        calc->SetDisplay(1234.5);
        sheet.Wide("Calculator", Shot(calc));
        calc->Free();
        out.Save(sheet, "navigator-calculator.png");
    }
}

namespace {

class HostGrid : public TcxVirtualVerticalGrid {
    RTL_CLASS(HostGrid, TcxVirtualVerticalGrid)
    explicit HostGrid(TComponent* owner) : TcxVirtualVerticalGrid(owner) { RecreateViewInfo(); }
};

HostGrid* FilterHost(TComponent* owner)
{
    auto* host = new HostGrid(owner);
    struct Column {
        const char* caption;
        const char* type;
        TcxCustomEditPropertiesClass properties;
    };
    const Column columns[] = {
        {"电表编号 Meter", "String", TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>()},
        {"读数 Reading", "Integer", TcxCustomEditPropertiesClass::Of<TcxSpinEditProperties>()},
        {"日期 Date", "DateTime", TcxCustomEditPropertiesClass::Of<TcxDateEditProperties>()},
        {"地址 Address", "String", TcxCustomEditPropertiesClass::Of<TcxButtonEditProperties>()},
        {"类型 Kind", "String", TcxCustomEditPropertiesClass::Of<TcxComboBoxProperties>()},
    };
    for (const Column& c : columns) {
        auto* row = host->Add<TcxEditorRow>();
        row->Properties()->SetCaption(c.caption);
        row->Properties()->DataBinding()->SetValueType(c.type);
        row->Properties()->SetEditPropertiesClass(c.properties);
    }
    return host;
}

// One condition per host row, each with a value.
void FillBuilder(TcxCustomFilterControl* fc)
{
    const std::pair<rtl::Variant, std::string> values[] = {
        {rtl::Variant(std::string("0012")), "0012"},
        {rtl::Variant(42), "42"},
        {rtl::Variant::FromDate(rtl::EncodeDate(2024, 3, 13)), "2024-03-13"},
        {rtl::Variant(std::string("北京路 1号")), "北京路 1号"},
        {rtl::Variant(std::string("集中器")), "集中器"}};
    for (int item = 0; item < 5; ++item) {
        fc->AddCondition(nullptr);
        auto* c = dynamic_cast<TcxConditionViewInfo*>(fc->FocusedRow());
        if (!c)
            continue;
        c->SetItem(item);
        c->SetOperator(fcoEqual);
        c->InitValues(false);
        c->Values()->Items(0)->Value = values[item].first;
        c->Values()->Items(0)->ValueText = values[item].second;
    }
    fc->LayoutChanged();
    Settle();
}

void Click(TWinControl* c, const TRect& r)
{
    const QPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    QTest::mouseClick(c->Peer(), Qt::LeftButton, Qt::NoModifier, at);
    vcl::DrainPostedMessages();
    Settle(6);
}

} // namespace

void FilterSheets(Output& out)
{
    Sheet sheet("Filter builder");
    FormPtr form = Form(560, 260);
    HostGrid* host = FilterHost(form.get());
    auto* builder = new TcxFilterControl(form.get());
    builder->SetBounds(4, 4, 540, 200);
    builder->SetParent(form.get());
    builder->HandleNeeded();
    builder->SetLinkComponent(host);
    builder->SetFocus();
    FillBuilder(builder);
    sheet.Wide("conditions", Shot(builder));
    // Each value hot under the pointer, then the item list open and the value editor open.
    if (auto* c = dynamic_cast<TcxConditionViewInfo*>(builder->Rows(4))) {
        const TRect v = c->Values()->Items(0)->ValueRect;
        Hover(builder, (v.Left + v.Right) / 2, (v.Top + v.Bottom) / 2);
        sheet.Wide("address value hot (no editor button)", Zoom(Grab(builder, c->RowRect), 2));
        Unhover(form.get());
    }
    if (auto* c = dynamic_cast<TcxConditionViewInfo*>(builder->Rows(1))) {
        Click(builder, c->ItemRect);
        QImage open = Shot(builder);
        QImage list;
        if (builder->ComboBox() && builder->ComboBox()->DroppedDown() && builder->ComboBox()->PopupWindow())
            list = ShotWindow(builder->ComboBox()->PopupWindow());
        sheet.Wide("item list open", Below({open, list}));
        sheet.Wide("item list open, field 4x", Zoom(Grab(builder, cxRectInflate(c->ItemRect, 4, 2)), 4));
        if (builder->ComboBox())
            builder->ComboBox()->SetDroppedDown(false);
        Settle(6);
        builder->SetFocus();
        Settle();
    }
    if (auto* c = dynamic_cast<TcxConditionViewInfo*>(builder->Rows(2))) {
        Click(builder, c->Values()->Items(0)->ValueRect);
        sheet.Wide("value editor open (spin)", Shot(builder));
        builder->SetFocus();
        Settle();
    }
    builder->SetEnabled(false);
    sheet.Wide("disabled", Shot(builder));
    builder->SetEnabled(true);
    builder->SetVisible(false);
    auto* empty = new TcxFilterControl(form.get());
    empty->SetBounds(4, 4, 300, 80);
    empty->SetParent(form.get());
    empty->SetFocus();
    Settle();
    sheet.Wide("no link", Shot(empty));
    empty->Free();

    // The dialog, opened as the grid opens it, pictured and cancelled.
    QImage dialogShot;
    QObject timers;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &timers, [&] {
        auto* dialog = dynamic_cast<TfmFilterControlDialog*>(Screen->ActiveForm());
        if (!dialog)
            return;
        poll.stop();
        FillBuilder(dialog->FilterControl);
        dialogShot = ShotWindow(dialog);
        dialog->SetModalResult(mrCancel);
    });
    poll.start();
    QTimer::singleShot(10000, &timers, [] {
        if (auto* dialog = dynamic_cast<TfmFilterControlDialog*>(Screen->ActiveForm()))
            dialog->SetModalResult(mrAbort);
    });
    host->DoFilterDialog();
    sheet.Wide("dialog", dialogShot);
    out.Save(sheet, "filter-builder.png");
}

} // namespace gallery

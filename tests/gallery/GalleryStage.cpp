#include "GalleryStage.h"
#include "GallerySheet.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Input.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"
#include "toolkit/editors/cxBlobEdit.h"
#include "toolkit/editors/cxButtonEdit.h"
#include "toolkit/editors/cxCalcEdit.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxCurrencyEdit.h"
#include "toolkit/editors/cxDateEdit.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxHyperLinkEdit.h"
#include "toolkit/editors/cxImage.h"
#include "toolkit/editors/cxImageComboBox.h"
#include "toolkit/editors/cxMRUEdit.h"
#include "toolkit/editors/cxMaskEdit.h"
#include "toolkit/editors/cxMemo.h"
#include "toolkit/editors/cxRadioGroup.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/editors/cxTimeEdit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>

namespace gallery {

using namespace cx;

void Settle(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        vcl::DrainPostedMessages();
    }
}

bool ActivateForm(TForm* form)
{
    form->Show();
    QWidget* w = form->Peer();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    for (int i = 0; i < 50 && !form->Active(); ++i)
        Settle(1);
    return form->Active();
}

TForm* NewForm(int width, int height, TColor color)
{
    auto* form = new TForm(nullptr);
    form->SetBounds(20, 20, width, height);
    form->SetColor(color);
    ActivateForm(form);
    return form;
}

QImage Grab(TWinControl* form, const TRect& r)
{
    Settle();
    return form->Peer()->grab(QRect(r.Left, r.Top, r.Width(), r.Height())).toImage();
}

QImage Shot(TControl* control, int margin)
{
    TWinControl* form = control->Parent();
    while (form && form->Parent())
        form = form->Parent();
    if (!form)
        return {};
    const TPoint at = form->ScreenToClient(control->ClientToScreen({0, 0}));
    return Grab(form, {at.X - margin, at.Y - margin, at.X + control->Width() + margin, at.Y + control->Height() + margin});
}

QImage ShotWindow(TWinControl* window)
{
    Settle();
    return window->Peer()->grab().toImage();
}

void Hover(TControl* control, int x, int y)
{
    const TPoint p = control->ClientToScreen({x, y});
    vcl::System().SetCursorPos(p);
    vcl::input::InjectMouse(WM_MOUSEMOVE, p, 0);
    Settle();
}

void Unhover(TForm* form)
{
    const TPoint p = form->ClientToScreen({form->ClientWidth() - 2, form->ClientHeight() - 2});
    vcl::System().SetCursorPos(p);
    vcl::input::InjectMouse(WM_MOUSEMOVE, p, 0);
    Settle();
}

void Focus(TWinControl* control)
{
    TWinControl* target = control;
    if (auto* edit = dynamic_cast<TcxCustomEdit*>(control); edit && edit->HasInnerEdit()) {
        TWinControl* inner = edit->InnerEdit()->GetControl();
        if (inner->Visible() && inner->Width() > 0)
            target = inner;
    }
    if (target->CanFocus())
        target->SetFocus();
    Settle();
}

void Output::Save(const Sheet& sheet, const QString& name)
{
    if (dir.isEmpty()) {
        sheet.Render();   // checking only: drawn, not written
        return;
    }
    if (sheet.Save(dir, name))
        written.push_back(QDir(dir).filePath(name));
}

// ---- the kinds -------------------------------------------------------------------------------

const std::vector<std::pair<TcxLookAndFeelKind, const char*>> LookAndFeelKinds = {
    {lfFlat, "Flat"}, {lfStandard, "Standard"}, {lfUltraFlat, "UltraFlat"}, {lfOffice11, "Office11"}};
const std::vector<std::pair<TcxEditBorderStyle, const char*>> BorderStyles = {
    {ebsNone, "None"}, {ebsSingle, "Single"}, {ebsThick, "Thick"}, {ebsFlat, "Flat"},
    {ebs3D, "3D"},     {ebsUltraFlat, "UltraFlat"}, {ebsOffice11, "Office11"}};
const std::vector<std::pair<TcxEditButtonStyle, const char*>> ButtonStyles = {
    {btsDefault, "Default"}, {bts3D, "3D"},           {btsFlat, "Flat"},         {btsSimple, "Simple"},
    {btsHotFlat, "HotFlat"}, {btsUltraFlat, "UltraFlat"}, {btsOffice11, "Office11"}};

namespace {

template <class E>
std::function<TcxCustomEdit*(TComponent*)> Make()
{
    return [](TComponent* owner) -> TcxCustomEdit* { return new E(owner); };
}

template <class P>
TcxCustomEditPropertiesClass Props()
{
    return TcxCustomEditPropertiesClass::Of<P>();
}

rtl::Variant Text(bool zh, const char* chinese, const char* latin) { return rtl::Variant(std::string(zh ? chinese : latin)); }

// Three coloured squares with a white mark, for the image combo box.
TCustomImageList* SampleImages()
{
    static TCustomImageList* images = [] {
        auto* list = new TCustomImageList(nullptr);
        list->SetWidth(16);
        list->SetHeight(16);
        for (TColor c : {clRed, clGreen, clBlue}) {
            TBitmap b;
            b.SetSize(16, 16);
            b.Canvas()->Brush()->SetColor(c);
            b.Canvas()->FillRect({0, 0, 16, 16});
            b.Canvas()->Brush()->SetColor(clWhite);
            b.Canvas()->FillRect({5, 5, 11, 11});
            list->Add(&b, nullptr);
        }
        return list;
    }();
    return images;
}

// A small picture as an image editor's value: a gradient with a frame.
rtl::Variant SamplePicture()
{
    TPicture picture;
    TBitmap* b = picture.Bitmap();
    b->SetSize(40, 30);
    for (int y = 0; y < 30; ++y) {
        b->Canvas()->Brush()->SetColor(TColor((220 - y * 5) << 16 | 120 << 8 | (40 + y * 6)));
        b->Canvas()->FillRect({0, y, 40, y + 1});
    }
    b->Canvas()->Brush()->SetColor(clYellow);
    b->Canvas()->FillRect({14, 9, 26, 21});
    return rtl::Variant(SavePicture(&picture));
}

void ImageComboItems(TcxCustomEditProperties* p, bool)
{
    auto* ip = static_cast<TcxCustomImageComboBoxProperties*>(p);
    ip->SetImages(SampleImages());
    const char* texts[][2] = {{"电表", "Meter"}, {"集中器", "Concentrator"}, {"采集器", "Collector"}};
    for (int i = 0; i < 3; ++i) {
        TcxImageComboBoxItem* item = ip->Items()->Add();
        item->SetValue(rtl::Variant(i + 1));
        item->SetDescription(std::string(texts[i][0]) + " " + texts[i][1]);
        item->SetImageIndex(i);
    }
}

std::vector<Kind> MakeKinds()
{
    std::vector<Kind> k;
    k.push_back({"TextEdit", Props<TcxTextEditProperties>(), Make<TcxTextEdit>(), nullptr,
                 [](bool zh) { return Text(zh, "电能表 第0012号", "Meter No. 0012"); }});
    k.push_back({"TextEdit password", Props<TcxTextEditProperties>(), Make<TcxTextEdit>(),
                 [](TcxCustomEditProperties* p) { static_cast<TcxTextEditProperties*>(p)->SetEchoMode(eemPassword); },
                 [](bool zh) { return Text(zh, "密码123", "secret1"); }});
    k.push_back({"TextEdit no edit (HideCursor)", Props<TcxTextEditProperties>(), Make<TcxTextEdit>(),
                 [](TcxCustomEditProperties* p) { static_cast<TcxTextEditProperties*>(p)->SetHideCursor(true); },
                 [](bool zh) { return Text(zh, "只读显示 获得焦点", "Shown, not typed"); }});
    k.push_back({"Memo", Props<TcxMemoProperties>(), Make<TcxMemo>(), nullptr,
                 [](bool zh) { return Text(zh, "第一行 集中器\r\n第二行 采集器", "First line\r\nSecond line"); },
                 "String", 44});
    k.push_back({"HyperLinkEdit", Props<TcxHyperLinkEditProperties>(), Make<TcxHyperLinkEdit>(), nullptr,
                 [](bool zh) { return Text(zh, "http://电表.cn/读数", "http://example.com/read"); }});
    k.push_back({"CurrencyEdit", Props<TcxCurrencyEditProperties>(), Make<TcxCurrencyEdit>(), nullptr,
                 [](bool) { return rtl::Variant(1234.5); }, "Currency"});
    k.push_back({"MaskEdit", Props<TcxMaskEditProperties>(), Make<TcxMaskEdit>(),
                 [](TcxCustomEditProperties* p) {
                     auto* m = static_cast<TcxMaskEditProperties*>(p);
                     m->SetMaskKind(emkStandard);
                     m->SetEditMask("000-0000;1;_");
                 },
                 [](bool) { return rtl::Variant(std::string("123-4567")); }});
    k.push_back({"ButtonEdit", Props<TcxButtonEditProperties>(), Make<TcxButtonEdit>(), nullptr,
                 [](bool zh) { return Text(zh, "选择地址", "Pick address"); }});
    k.push_back({"SpinEdit", Props<TcxSpinEditProperties>(), Make<TcxSpinEdit>(), nullptr,
                 [](bool) { return rtl::Variant(1250); }, "Integer"});
    k.push_back({"TimeEdit", Props<TcxTimeEditProperties>(), Make<TcxTimeEdit>(), nullptr,
                 [](bool) { return rtl::Variant::FromDate(rtl::EncodeTime(10, 30, 15, 0)); }, "DateTime"});
    k.push_back({"ComboBox", Props<TcxComboBoxProperties>(), Make<TcxComboBox>(),
                 [](TcxCustomEditProperties* p) {
                     static_cast<TcxComboBoxProperties*>(p)->SetItems(
                         {"电表 Meter", "集中器 Concentrator", "采集器 Collector", "载波模块 Carrier"});
                 },
                 [](bool zh) { return Text(zh, "集中器 Concentrator", "采集器 Collector"); }, "String", 21, true});
    k.push_back({"ComboBox fixed list", Props<TcxComboBoxProperties>(), Make<TcxComboBox>(),
                 [](TcxCustomEditProperties* p) {
                     auto* c = static_cast<TcxComboBoxProperties*>(p);
                     c->SetItems({"电表 Meter", "集中器 Concentrator", "采集器 Collector"});
                     c->SetDropDownListStyle(lsFixedList);
                 },
                 [](bool zh) { return Text(zh, "集中器 Concentrator", "采集器 Collector"); }, "String", 21, true});
    k.push_back({"PopupEdit", Props<TcxPopupEditProperties>(), Make<TcxPopupEdit>(), nullptr,
                 [](bool zh) { return Text(zh, "弹出内容", "Popup text"); }});
    k.push_back({"MRUEdit", Props<TcxMRUEditProperties>(), Make<TcxMRUEdit>(),
                 [](TcxCustomEditProperties* p) {
                     static_cast<TcxMRUEditProperties*>(p)->SetItems({"COM3", "COM4", "/dev/ttyUSB0"});
                 },
                 [](bool zh) { return Text(zh, "串口 COM3", "COM3"); }, "String", 21, true});
    k.push_back({"ImageComboBox", Props<TcxImageComboBoxProperties>(), Make<TcxImageComboBox>(),
                 [](TcxCustomEditProperties* p) { ImageComboItems(p, true); },
                 [](bool zh) { return rtl::Variant(zh ? 2 : 3); }, "Integer", 21, true});
    k.push_back({"ImageComboBox edit list", Props<TcxImageComboBoxProperties>(), Make<TcxImageComboBox>(),
                 [](TcxCustomEditProperties* p) {
                     ImageComboItems(p, true);
                     static_cast<TcxImageComboBoxProperties*>(p)->SetDropDownListStyle(lsEditList);
                 },
                 [](bool zh) { return rtl::Variant(zh ? 2 : 3); }, "Integer", 21, true});
    for (auto [style, name] : {std::pair{bpsIcon, "BlobEdit icon"}, std::pair{bpsDefault, "BlobEdit default"},
                               std::pair{bpsText, "BlobEdit first line"}})
        k.push_back({name, Props<TcxBlobEditProperties>(), Make<TcxBlobEdit>(),
                     [style](TcxCustomEditProperties* p) {
                         auto* b = static_cast<TcxBlobEditProperties*>(p);
                         b->SetBlobEditKind(bekMemo);
                         b->SetBlobPaintStyle(style);
                     },
                     [](bool zh) { return Text(zh, "第一行 备注\r\n第二行", "First line of the note\r\nsecond"); },
                     "String", 21, true});
    k.push_back({"Image", Props<TcxImageProperties>(), Make<TcxImage>(), nullptr,
                 [](bool) { return SamplePicture(); }, "String", 44});
    k.push_back({"CalcEdit", Props<TcxCalcEditProperties>(), Make<TcxCalcEdit>(), nullptr,
                 [](bool) { return rtl::Variant(3.14159); }, "Float", 21, true});
    k.push_back({"DateEdit", Props<TcxDateEditProperties>(), Make<TcxDateEdit>(), nullptr,
                 [](bool) { return rtl::Variant::FromDate(rtl::EncodeDate(2024, 3, 13)); }, "DateTime", 21, true});
    k.push_back({"CheckBox", Props<TcxCheckBoxProperties>(), Make<TcxCheckBox>(), nullptr,
                 [](bool) { return rtl::Variant(true); }, "Boolean"});
    k.push_back({"RadioGroup", Props<TcxRadioGroupProperties>(), Make<TcxRadioGroup>(),
                 [](TcxCustomEditProperties* p) {
                     auto* r = static_cast<TcxRadioGroupProperties*>(p);
                     r->SetColumns(2);
                     r->AddItem("97规约 1997", rtl::Variant(0));
                     r->AddItem("07规约 2007", rtl::Variant(1));
                     r->AddItem("上海规约", rtl::Variant(2));
                     r->AddItem("BNC规约", rtl::Variant(3));
                 },
                 [](bool zh) { return rtl::Variant(zh ? 2 : 1); }, "Integer", 64});
    return k;
}

} // namespace

const std::vector<Kind>& Kinds()
{
    static const std::vector<Kind> kinds = MakeKinds();
    return kinds;
}

} // namespace gallery

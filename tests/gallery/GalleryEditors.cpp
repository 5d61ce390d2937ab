// Stand-alone editors: every kind in five states with Chinese and Latin values; every border
// style with every button style; every look and feel; the drop-downs open.
#include "GallerySheet.h"
#include "GalleryStage.h"

#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxButtonEdit.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxGroupBox.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "toolkit/editors/cxTextEdit.h"

#include <memory>

namespace gallery {

using namespace cx;

namespace {

enum State { sNormal, sFocused, sHot, sDisabled, sReadOnly, sStateCount };
const QStringList StateTitles = {"normal 正常", "focused 焦点", "hot 悬停", "disabled 禁用", "read-only 只读"};

constexpr int kEditWidth = 190;
constexpr int kCell = kEditWidth + 16;

TcxCustomEdit* Place(const Kind& kind, TForm* form, int x, int y, bool chinese)
{
    TcxCustomEdit* e = kind.make(form);
    if (kind.setup)
        kind.setup(e->ActiveProperties());
    e->SetParent(form);
    e->SetBounds(x, y, kEditWidth, kind.height);
    if (auto* check = dynamic_cast<TcxCheckBox*>(e))
        check->SetCaption(chinese ? "启用中继 Relay" : "Use relay");
    if (auto* group = dynamic_cast<TcxCustomGroupBox*>(e))
        group->SetCaption(chinese ? "规约" : "Protocol");
    e->SetEditValue(kind.value(chinese));
    return e;
}

// A control that takes the focus away from the ones being looked at.
TcxTextEdit* FocusSink(TForm* form)
{
    auto* sink = new TcxTextEdit(form);
    sink->SetParent(form);
    sink->SetBounds(form->ClientWidth() - 24, form->ClientHeight() - 24, 20, 20);
    return sink;
}

void KindRows(const Kind& kind, Sheet& sheet)
{
    const int rowHeight = kind.height + 12;
    std::unique_ptr<TForm, void (*)(TForm*)> form(NewForm(kCell * sStateCount + 40, 2 * rowHeight + 40),
                                                  [](TForm* f) { f->Free(); });
    TcxTextEdit* sink = FocusSink(form.get());
    TcxCustomEdit* edits[2][sStateCount];
    for (int lang = 0; lang < 2; ++lang)
        for (int s = 0; s < sStateCount; ++s) {
            TcxCustomEdit* e = Place(kind, form.get(), 8 + s * kCell, 8 + lang * rowHeight, lang == 0);
            if (s == sDisabled)
                e->SetEnabled(false);
            if (s == sReadOnly)
                e->ActiveProperties()->SetReadOnly(true);
            edits[lang][s] = e;
        }
    Focus(sink);
    Unhover(form.get());
    for (int lang = 0; lang < 2; ++lang) {
        std::vector<QImage> cells(sStateCount);
        for (int s = 0; s < sStateCount; ++s) {
            TcxCustomEdit* e = edits[lang][s];
            if (s == sFocused) {
                Focus(e);
                cells[std::size_t(s)] = Shot(e);
                Focus(sink);
            } else if (s == sHot) {
                Hover(e, e->Width() / 2, e->Height() / 2);
                cells[std::size_t(s)] = Shot(e);
                Unhover(form.get());
            } else {
                cells[std::size_t(s)] = Shot(e);
            }
        }
        sheet.Row(QString::fromStdString(kind.name) + (lang == 0 ? " 中文" : " Latin"), std::move(cells));
    }
}

} // namespace

void EditorSheets(Output& out)
{
    Sheet text("Text, mask and spin editors, stand-alone", StateTitles);
    Sheet choice("Choice and drop-down editors, stand-alone", StateTitles);
    bool second = false;
    for (const Kind& kind : Kinds()) {
        second = second || kind.name == "ComboBox";
        KindRows(kind, second ? choice : text);
    }
    out.Save(text, "editors-text.png");
    out.Save(choice, "editors-choice.png");
}

void StyleSheets(Output& out)
{
    // Every border style with every button style, on a button editor with a Chinese text.
    {
        QStringList columns;
        for (auto& [style, name] : ButtonStyles)
            columns << QString("button %1").arg(name);
        Sheet sheet("Border style x button style (button editor)", columns);
        const int cell = 150;
        std::unique_ptr<TForm, void (*)(TForm*)> form(NewForm(int(ButtonStyles.size()) * cell + 40, 60),
                                                      [](TForm* f) { f->Free(); });
        for (auto& [border, borderName] : BorderStyles) {
            std::vector<QImage> cells;
            std::vector<TcxButtonEdit*> edits;
            for (std::size_t b = 0; b < ButtonStyles.size(); ++b) {
                auto* e = new TcxButtonEdit(form.get());
                e->SetParent(form.get());
                e->SetBounds(8 + int(b) * cell, 8, cell - 14, 21);
                e->EditStyle()->SetBorderStyle(border);
                e->EditStyle()->SetButtonStyle(ButtonStyles[b].first);
                e->SetEditValue(rtl::Variant(std::string("地址 Addr")));
                edits.push_back(e);
            }
            for (TcxButtonEdit* e : edits)
                cells.push_back(Shot(e));
            sheet.Row(QString("border %1").arg(borderName), std::move(cells));
            for (TcxButtonEdit* e : edits)
                e->Free();
        }
        out.Save(sheet, "styles-border-button.png");
    }
    // Style colours and fonts: yellow with a red bold font, cyan when focused, lime when hot,
    // silver with navy text when disabled.
    {
        Sheet sheet("Style colours and fonts reach the field", {"normal", "focused", "hot", "disabled"});
        std::unique_ptr<TForm, void (*)(TForm*)> form(NewForm(900, 60), [](TForm* f) { f->Free(); });
        TcxTextEdit* sink = FocusSink(form.get());
        for (const char* name : {"TextEdit", "SpinEdit", "ComboBox", "HyperLinkEdit", "Memo", "DateEdit"}) {
            const Kind* kind = nullptr;
            for (const Kind& k : Kinds())
                kind = k.name == name ? &k : kind;
            std::vector<TcxCustomEdit*> edits;
            for (int s = 0; s < 4; ++s) {
                TcxCustomEdit* e = Place(*kind, form.get(), 8 + s * kCell, 8, true);
                e->Style()->SetColor(clYellow);
                e->Style()->GetFont()->SetColor(clRed);
                e->Style()->GetFont()->SetStyle(FontStyle(fsBold));
                e->Style()->SetHotTrack(true);
                e->StyleFocused()->SetColor(clAqua);
                e->StyleHot()->SetColor(clLime);
                e->StyleDisabled()->SetColor(clSilver);
                e->StyleDisabled()->SetTextColor(clNavy);
                e->SetEnabled(s != 3);
                edits.push_back(e);
            }
            Focus(sink);
            Unhover(form.get());
            std::vector<QImage> cells;
            for (int s = 0; s < 4; ++s) {
                TcxCustomEdit* e = edits[std::size_t(s)];
                if (s == 1)
                    Focus(e);
                if (s == 2)
                    Hover(e, e->Width() / 2, e->Height() / 2);
                cells.push_back(Shot(e));
                Focus(sink);
                Unhover(form.get());
            }
            sheet.Row(name, std::move(cells));
            for (TcxCustomEdit* e : edits)
                e->Free();
        }
        out.Save(sheet, "styles-colours.png");
    }
    // Every look and feel: text, spin, combo and check box, normal and hot.
    {
        Sheet sheet("Look and feel kinds", {"text", "spin", "combo", "check box", "spin hot", "combo hot"});
        std::unique_ptr<TForm, void (*)(TForm*)> form(NewForm(900, 60), [](TForm* f) { f->Free(); });
        for (auto& [kind, name] : LookAndFeelKinds) {
            std::vector<TcxCustomEdit*> edits;
            auto add = [&](TcxCustomEdit* e, const rtl::Variant& v) {
                e->SetParent(form.get());
                e->SetBounds(8 + int(edits.size()) * 150, 8, 136, 21);
                e->Style()->GetLookAndFeel()->SetKind(kind);
                e->SetEditValue(v);
                edits.push_back(e);
            };
            add(new TcxTextEdit(form.get()), rtl::Variant(std::string("文本 Text")));
            add(new TcxSpinEdit(form.get()), rtl::Variant(42));
            auto* combo = new TcxComboBox(form.get());
            combo->Properties()->SetItems({"电表", "集中器"});
            add(combo, rtl::Variant(std::string("集中器")));
            auto* check = new TcxCheckBox(form.get());
            check->SetCaption("启用 Enabled");
            add(check, rtl::Variant(true));
            std::vector<QImage> cells;
            for (TcxCustomEdit* e : edits)
                cells.push_back(Shot(e));
            for (TcxCustomEdit* e : std::vector<TcxCustomEdit*>{edits[1], edits[2]}) {
                Hover(e, e->Width() - 6, e->Height() / 2);
                cells.push_back(Shot(e));
                Unhover(form.get());
            }
            sheet.Row(name, std::move(cells));
            for (TcxCustomEdit* e : edits)
                e->Free();
        }
        out.Save(sheet, "styles-look-and-feel.png");
    }
}

void PopupSheets(Output& out)
{
    Sheet sheet("Drop-downs open (editor above its popup)");
    std::unique_ptr<TForm, void (*)(TForm*)> form(NewForm(260, 300), [](TForm* f) { f->Free(); });
    for (const Kind& kind : Kinds()) {
        if (!kind.dropDown)
            continue;
        TcxCustomEdit* e = kind.make(form.get());
        if (kind.setup)
            kind.setup(e->ActiveProperties());
        e->SetParent(form.get());
        e->SetBounds(8, 8, 200, kind.height);
        e->SetEditValue(kind.value(true));
        Focus(e);
        auto* drop = dynamic_cast<TcxCustomDropDownEdit*>(e);
        QImage editor = Shot(e);
        QImage popup;
        if (drop) {
            drop->SetDroppedDown(true);
            Settle(8);
            if (drop->DroppedDown() && drop->PopupWindow())
                popup = ShotWindow(drop->PopupWindow());
            editor = Shot(e);
            drop->SetDroppedDown(false);
            Settle(8);
        }
        sheet.Wide(QString::fromStdString(kind.name), Below({editor, popup}));
        e->Free();
        Settle();
    }
    out.Save(sheet, "popups.png");
}

} // namespace gallery

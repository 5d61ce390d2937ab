#pragma once
// A shown, active form with every editor kind's unit, the in-place container, the vertical grid and
// the filter builder started, on the fake font; the form goes before the units shut down. Input is
// real: Qt key clicks to the focused widget and mouse clicks at pixels.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/Text.h"
#include "platform/vcl/EditBox.h"
#include "toolkit/controls/cxContainerPopup.h"
#include "toolkit/editors/cxBlobEdit.h"
#include "toolkit/editors/cxButtonEdit.h"
#include "toolkit/editors/cxCalcEdit.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxCurrencyEdit.h"
#include "toolkit/editors/cxDateEdit.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditDataRegisteredRepositoryItems.h"
#include "toolkit/editors/cxEditRepositoryItems.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxHyperLinkEdit.h"
#include "toolkit/editors/cxImage.h"
#include "toolkit/editors/cxImageComboBox.h"
#include "toolkit/editors/cxMRUEdit.h"
#include "toolkit/editors/cxMaskEdit.h"
#include "toolkit/editors/cxMemo.h"
#include "toolkit/editors/cxNavigator.h"
#include "toolkit/editors/cxRadioGroup.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/editors/cxTimeEdit.h"
#include "toolkit/grid/cxFilterControlDialog.h"
#include "toolkit/grid/cxInplaceControl.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridViewInfo.h"

#include <QTest>

namespace lifetime {

using namespace cx;

class LifetimeTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        for (const Unit& unit : Units())
            unit.Initialize();
        form->SetBounds(100, 100, 420, 360);
        ASSERT_TRUE(Activate(form));
    }
    void TearDown() override
    {
        if (form)
            form->Free();
        form = nullptr;
        for (auto unit = Units().rbegin(); unit != Units().rend(); ++unit)
            unit->Finalize();
        cxClearResourceStrings();
        gdi::SetFontEngine(nullptr);
        ControlBaseTest::TearDown();
        EXPECT_EQ(cxPopupWindowCount(), 0);
    }

    // A vertical grid on the form (or another) with text rows "a", "b", "c" holding their captions
    // as values, the grid focused.
    TcxVerticalGrid* ShowGrid(int rows = 3, TCustomForm* on = nullptr)
    {
        on = on ? on : form;
        auto* grid = new TcxVerticalGrid(on);
        grid->Font()->SetHeight(-16);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetParent(on);
        for (int i = 0; i < rows; ++i) {
            auto* row = grid->Add<TcxEditorRow>();
            const std::string name(1, char('a' + i));
            row->Properties()->SetCaption(name);
            row->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
            row->Properties()->SetValue(Variant(name));
        }
        grid->HandleNeeded();
        grid->LayoutChanged();
        grid->SetFocus();
        Spin();
        return grid;
    }
    TcxEditorRow* Row(TcxVerticalGrid* grid, int index)
    {
        return static_cast<TcxEditorRow*>(grid->Rows()->GetRow(index));
    }
    // Focuses the row by a click on its value and opens its editor with F2 and typed text.
    void EditRow(TcxVerticalGrid* grid, TcxCustomRow* row, const QString& typed = QStringLiteral("x"))
    {
        ClickValue(grid, row);
        if (!grid->GetIsEditing())
            KeyToFocus(Qt::Key_F2);
        ASSERT_TRUE(grid->GetIsEditing());
        TypeToFocus(typed);
    }
    void ClickValue(TcxVerticalGrid* grid, TcxCustomRow* row, int editor = 0)
    {
        TcxCustomRowViewInfo* info = grid->ViewInfo()->GetRowViewInfo(row);
        ASSERT_NE(info, nullptr);
        const TRect r = info->ValuesInfo(editor)->Bounds;
        Click(grid, {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    // A click at a point of the control (a windowed control's own window, else its parent's).
    static void Click(TControl* c, TPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (!w || !w->HandleAllocated()) {
            w = c->Parent();
            p = w->ScreenToClient(c->ClientToScreen(p));
        }
        QTest::mouseClick(w->Peer(), button, Qt::NoModifier, QPoint(p.X, p.Y));
        Spin();
    }
    static void ClickCentre(TControl* c, const TRect& r) { Click(c, {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}); }
    template <class E>
    E* Place(E* e, int top, int height = 24)
    {
        e->SetParent(form);
        e->SetBounds(10, top, 200, height);
        return e;
    }
    // Focuses a text editor's field and types into it.
    void TypeInto(TcxCustomTextEdit* e, const QString& s)
    {
        e->InnerEdit()->GetControl()->SetFocus();
        Spin();
        ASSERT_TRUE(e->IsEditFocused());
        TypeToFocus(s);
    }
    // A fresh editor on the form takes the focus and typed text, and no popup is left: the form
    // survived whole. What a case left on the form goes afterwards.
    void ExpectTheFormWorks()
    {
        EXPECT_EQ(cxPopupWindowCount(), 0);
        ASSERT_TRUE(Activate(form));
        auto* probe = Place(new TcxTextEdit(form), 300);
        TypeInto(probe, QStringLiteral("ok"));
        EXPECT_EQ(probe->Text(), "ok");
        while (form->ControlCount() > 0)
            form->Controls(0)->Free();
        Spin();
    }
    static QWidget* FocusWidget()
    {
        QWidget* w = QApplication::focusWidget();
        return w ? w : QApplication::activeWindow();
    }
    static void KeyToFocus(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        QTest::sendKeyEvent(QTest::Click, FocusWidget(), key, text, mods);
        Spin();
    }
    static void TypeToFocus(const QString& s)
    {
        for (QChar c : s)
            QTest::sendKeyEvent(QTest::Click, FocusWidget(), Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
        Spin();
    }
    static void Spin()
    {
        vcl::DrainPostedMessages();
        SpinUntil([] { return false; }, 10);
    }

private:
    struct Unit {
        void (*Initialize)();
        void (*Finalize)();
    };
    static const std::vector<Unit>& Units()
    {
        static const std::vector<Unit> units = {
            {cxEditConstsUnit::Initialize, cxEditConstsUnit::Finalize},
            {cxEditUnit::Initialize, cxEditUnit::Finalize},
            {cxEditPaintUtilsUnit::Initialize, cxEditPaintUtilsUnit::Finalize},
            {cxEditRepositoryItemsUnit::Initialize, cxEditRepositoryItemsUnit::Finalize},
            {cxEditDataRegisteredRepositoryItemsUnit::Initialize, cxEditDataRegisteredRepositoryItemsUnit::Finalize},
            {cxTextEditUnit::Initialize, cxTextEditUnit::Finalize},
            {cxMemoUnit::Initialize, cxMemoUnit::Finalize},
            {cxMRUEditUnit::Initialize, cxMRUEditUnit::Finalize},
            {cxCurrencyEditUnit::Initialize, cxCurrencyEditUnit::Finalize},
            {cxHyperLinkEditUnit::Initialize, cxHyperLinkEditUnit::Finalize},
            {cxMaskEditUnit::Initialize, cxMaskEditUnit::Finalize},
            {cxButtonEditUnit::Initialize, cxButtonEditUnit::Finalize},
            {cxSpinEditUnit::Initialize, cxSpinEditUnit::Finalize},
            {cxTimeEditUnit::Initialize, cxTimeEditUnit::Finalize},
            {cxDropDownEditUnit::Initialize, cxDropDownEditUnit::Finalize},
            {cxImageComboBoxUnit::Initialize, cxImageComboBoxUnit::Finalize},
            {cxImageUnit::Initialize, cxImageUnit::Finalize},
            {cxCalcEditUnit::Initialize, cxCalcEditUnit::Finalize},
            {cxDateEditUnit::Initialize, cxDateEditUnit::Finalize},
            {cxBlobEditUnit::Initialize, cxBlobEditUnit::Finalize},
            {cxCheckBoxUnit::Initialize, cxCheckBoxUnit::Finalize},
            {cxRadioGroupUnit::Initialize, cxRadioGroupUnit::Finalize},
            {cxNavigatorUnit::Initialize, cxNavigatorUnit::Finalize},
            {cxInplaceContainerUnit::Initialize, cxInplaceContainerUnit::Finalize},
            {cxVGridUnit::Initialize, cxVGridUnit::Finalize},
            {cxFilterControlDialogUnit::Initialize, cxFilterControlDialogUnit::Finalize},
        };
        return units;
    }
};

} // namespace lifetime

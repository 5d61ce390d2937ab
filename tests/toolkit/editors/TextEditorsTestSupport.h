#pragma once
// A form for the text family's editors (currency, hyperlink, memo, time), with real Qt input on
// an editor's inner field: typed characters, keys and input-method commits.
#include "tests/platform/vcl/VclTestSupport.h"

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/Input.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxTextEdit.h"

#include <QInputMethodEvent>
#include <QTest>

#include <gtest/gtest.h>

class TextFamilyTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cx::cxEditConstsUnit::Initialize();
        cx::cxEditUnit::Initialize();
        cx::cxEditPaintUtilsUnit::Initialize();
        cx::cxTextEditUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 360, 260);
        other = new cx::TcxTextEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 200, 150, 24);
    }
    void TearDown() override
    {
        form->Free();
        cx::cxTextEditUnit::Finalize();
        cx::cxEditPaintUtilsUnit::Finalize();
        cx::cxEditUnit::Finalize();
        cx::cxEditConstsUnit::Finalize();
        cx::cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    // Puts an editor on the form; the form is shown once the first one is there.
    template <class T>
    T* Place(T* e, int top, int height = 24)
    {
        e->SetParent(form);
        e->SetBounds(10, top, 200, height);
        if (!form->Visible()) {
            EXPECT_TRUE(Activate(form));
        }
        return e;
    }
    void Focus(cx::TcxCustomTextEdit* e)
    {
        e->InnerEdit()->GetControl()->SetFocus();
        SpinUntil([&] { return e->InnerEdit()->GetControl()->Focused(); }, 500);
    }
    static QWidget* Field(cx::TcxCustomTextEdit* e)
    {
        return static_cast<TCustomEdit*>(e->InnerEdit()->GetControl())->Box()->Widget();
    }
    static void Type(cx::TcxCustomTextEdit* e, const QString& s)
    {
        for (QChar c : s)
            QTest::sendKeyEvent(QTest::Click, Field(e), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    static void Key(cx::TcxCustomTextEdit* e, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                    const QString& text = {})
    {
        QTest::sendKeyEvent(QTest::Click, Field(e), key, text, mods);
        vcl::DrainPostedMessages();
    }
    static void Commit(cx::TcxCustomTextEdit* e, const QString& s)
    {
        QInputMethodEvent ev;
        ev.setCommitString(s);
        QCoreApplication::sendEvent(Field(e), &ev);
        vcl::DrainPostedMessages();
    }
    TForm* form = nullptr;
    cx::TcxTextEdit* other = nullptr;
};

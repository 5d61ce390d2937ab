// A handler that frees its own control, for the control kinds of the control base and the text
// and spin editors, on the events a user fires (change, key, scroll, button click): the user's
// click or key ends cleanly, nothing touches the freed control, no popup stays behind, and the
// form works on.
#include "tests/toolkit/lifetime/LifetimeTestSupport.h"

#include "toolkit/controls/cxContainerListBox.h"
#include "toolkit/controls/cxScrollBar.h"

#include <functional>
#include <span>

using namespace lifetime;

namespace {

class HandlersFreeTheirControl : public LifetimeTest {
public:
    using LifetimeTest::Click;
    using LifetimeTest::ClickCentre;
    using LifetimeTest::ClickValue;
    using LifetimeTest::EditRow;
    using LifetimeTest::form;
    using LifetimeTest::KeyToFocus;
    using LifetimeTest::Place;
    using LifetimeTest::Row;
    using LifetimeTest::ShowGrid;
    using LifetimeTest::Spin;
    using LifetimeTest::TypeInto;
    using LifetimeTest::TypeToFocus;

    // What the handlers call: frees the control the case armed, once.
    struct Freer {
        TControl* target = nullptr;
        int calls = 0;
        void operator()()
        {
            ++calls;
            if (TControl* c = std::exchange(target, nullptr))
                c->Free();
        }
    };
    // The handler body of every case: frees the armed control.
    std::function<void()> FreeIt()
    {
        return [this] { freer(); };
    }
    template <class C>
    C* Arm(C* control)
    {
        freer.target = control;
        alive = control->AliveToken();
        return control;
    }
    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    Freer freer;
    std::weak_ptr<bool> alive;
};

using Fixture = HandlersFreeTheirControl;

struct Case {
    const char* kind;
    const char* event;
    // Builds and arms the control with a handler that frees it, then fires the event as a user.
    std::function<void(Fixture&)> run;
};

// --- the control base -----------------------------------------------------------------------

const Case controlBase[] = {
    {"scroll bar", "scroll", [](Fixture& t) {
         auto* bar = t.Arm(t.Place(new TcxScrollBar(t.form), 10, 17));
         bar->OnScroll = [&t](TObject*, TScrollCode, int&) { t.freer(); };
         t.Click(bar, {bar->Width() - 5, 8});   // the line-down arrow
     }},
    {"scroll bar", "change", [](Fixture& t) {
         auto* bar = t.Arm(t.Place(new TcxScrollBar(t.form), 10, 17));
         bar->OnChange = [&t](TObject*) { t.freer(); };
         t.Click(bar, {bar->Width() - 30, 8});   // the page-down area
     }},
    {"container", "key", [](Fixture& t) {
         auto* container = t.Arm(new TcxContainer(t.form));
         container->SetParent(t.form);
         container->SetBounds(10, 10, 160, 120);
         auto* list = new TcxCustomInnerListBox(container);
         list->SetBounds(0, 0, 160, 120);
         list->SetParent(container);
         list->SetContainer(container);
         for (const char* s : {"apple", "banana", "北京"})
             list->Items()->Add(s);
         container->OnKeyDown = [&t](TObject*, std::uint16_t&, TShiftState) { t.freer(); };
         list->SetFocus();
         t.Spin();
         t.KeyToFocus(Qt::Key_Down);
     }},
    {"button editor", "button click", [](Fixture& t) {
         auto* edit = t.Arm(t.Place(new TcxButtonEdit(t.form), 10));
         edit->Properties()->OnButtonClick = [&t](TObject*, int) { t.freer(); };
         t.Click(edit, Fixture::Centre(edit->EditViewInfo()->ButtonsInfo[0]->Bounds));
     }},
};

// --- the editors ------------------------------------------------------------------------------

const Case editors[] = {
    {"text editor", "change", [](Fixture& t) {
         auto* edit = t.Arm(t.Place(new TcxTextEdit(t.form), 10));
         edit->Properties()->OnChange = [&t](TObject*) { t.freer(); };
         t.TypeInto(edit, QStringLiteral("ab"));
     }},
    {"text editor", "key", [](Fixture& t) {
         auto* edit = t.Arm(t.Place(new TcxTextEdit(t.form), 10));
         edit->OnKeyDown = [&t](TObject*, std::uint16_t&, TShiftState) { t.freer(); };
         t.TypeInto(edit, QStringLiteral("ab"));
     }},
    {"mask editor", "change", [](Fixture& t) {
         auto* edit = t.Arm(t.Place(new TcxMaskEdit(t.form), 10));
         edit->Properties()->OnChange = [&t](TObject*) { t.freer(); };
         t.TypeInto(edit, QStringLiteral("12"));
     }},
    {"spin editor", "button click", [](Fixture& t) {
         auto* edit = t.Arm(t.Place(new TcxSpinEdit(t.form), 10));
         edit->Properties()->OnChange = [&t](TObject*) { t.freer(); };
         t.Click(edit, Fixture::Centre(edit->EditViewInfo()->ButtonsInfo[sebForward]->Bounds));
     }},
    {"spin editor", "key", [](Fixture& t) {
         auto* edit = t.Arm(t.Place(new TcxSpinEdit(t.form), 10));
         edit->Properties()->OnChange = [&t](TObject*) { t.freer(); };
         t.TypeInto(edit, QString());
         t.KeyToFocus(Qt::Key_Up);
     }},
    {"time editor", "change", [](Fixture& t) {
         auto* edit = t.Arm(t.Place(new TcxTimeEdit(t.form), 10));
         edit->Properties()->OnChange = [&t](TObject*) { t.freer(); };
         t.TypeInto(edit, QString());
         t.KeyToFocus(Qt::Key_Up);
     }},
    {"currency editor", "change", [](Fixture& t) {
         auto* edit = t.Arm(t.Place(new TcxCurrencyEdit(t.form), 10));
         edit->Properties()->OnChange = [&t](TObject*) { t.freer(); };
         t.TypeInto(edit, QStringLiteral("5"));
     }},
};

TEST_F(HandlersFreeTheirControl, EachEventEndsCleanlyAndTheFormWorksOn)
{
    for (const auto& table : {std::span<const Case>(controlBase), std::span<const Case>(editors)})
        for (const Case& c : table) {
            SCOPED_TRACE(std::string(c.kind) + ", " + c.event);
            ASSERT_TRUE(Activate(form));
            freer = {};
            c.run(*this);
            Spin();
            EXPECT_EQ(freer.calls, 1);
            EXPECT_TRUE(alive.expired());
            if (freer.target) {   // the handler never ran: take the control away
                freer.target->Free();
                freer.target = nullptr;
            }
            ExpectTheFormWorks();
        }
}

} // namespace

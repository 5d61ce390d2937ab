// The per-class store of dialog places and sizes.
#include "toolkit/core/cxClassesDialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

class TFindDialog : public TForm, public cx::IcxDialogMetricsInfoData {
    RTL_CLASS(TFindDialog, TForm)
    using TForm::TForm;
    const void* GetCustomData() override { return state; }
    int GetCustomDataSize() override { return int(sizeof state); }
    void SetCustomData(const void* data) override { std::memcpy(state, data, sizeof state); }
    char state[4] = {'a', 'b', 'c', 'd'};
};

class TOptionsDialog : public TForm {
    RTL_CLASS(TOptionsDialog, TForm)
    using TForm::TForm;
};

// Forms leave the screen's list when freed (Free runs BeforeDestruction), so tests free them.
template <class T>
struct FreedForm {
    T* form = new T(nullptr);
    ~FreedForm() { form->Free(); }
    T* operator->() const { return form; }
    T* get() const { return form; }
};

} // namespace

TEST(cxDialogMetrics, SecondDialogOfAClassOpensWhereTheFirstClosed)
{
    cx::TcxDialogsMetricsStore store;
    FreedForm<TFindDialog> first;
    first->SetBounds(10, 20, 300, 200);
    store.InitDialog(first.get());
    EXPECT_EQ(first->Position, poMainFormCenter); // the first time: the default position
    ASSERT_EQ(store.Count(), 1);
    first->SetBounds(50, 60, 320, 240);
    std::memcpy(first->state, "wxyz", 4);
    store.StoreMetrics(first.get());

    FreedForm<TFindDialog> second;
    second->SetBounds(0, 0, 100, 100);
    store.InitDialog(second.get());
    EXPECT_EQ(second->Position, poDesigned);
    EXPECT_EQ(second->Left(), 50);
    EXPECT_EQ(second->Top(), 60);
    EXPECT_EQ(second->ClientWidth(), first->ClientWidth());
    EXPECT_EQ(second->ClientHeight(), first->ClientHeight());
    EXPECT_EQ(std::memcmp(second->state, "wxyz", 4), 0);
    EXPECT_EQ(store.Count(), 1);

    // A dialog that cannot be resized keeps its size and takes only the place.
    FreedForm<TOptionsDialog> options;
    options->BorderStyle = bsDialog;
    options->SetBounds(1, 2, 150, 90);
    store.InitDialog(options.get());
    store.StoreMetrics(options.get());
    FreedForm<TOptionsDialog> again;
    again->BorderStyle = bsDialog;
    again->SetBounds(0, 0, 80, 70);
    store.InitDialog(again.get());
    EXPECT_EQ(again->Left(), 1);
    EXPECT_EQ(again->Width(), 80);
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(store.Metrics(1)->CustomData().size(), 0u);
    EXPECT_EQ(store.FindMetrics(again.get()), 1);
}

namespace {

// A thread whose work raises the exception it is given, handled the designed way.
class TFailingThread : public cx::TcxThread {
    RTL_CLASS(TFailingThread, cx::TcxThread)
    explicit TFailingThread(std::function<void()> fail) : TcxThread(true), fail_(std::move(fail)) {}

protected:
    void Execute() override
    {
        try {
            fail_();
        } catch (...) {
            HandleException();
            cleared = !Exception();
        }
    }

public:
    bool cleared = false;

private:
    std::function<void()> fail_;
};

} // namespace

TEST(cxThread, ExceptionsAreShownOnTheMainThreadExceptTheSilentOne)
{
    struct Shown {
        std::string text;
        bool onMainThread;
    };
    std::vector<Shown> shown;
    auto previous = Application->SetMessageNotifier([&](const std::string& text, const std::string&) {
        shown.push_back({text, rtl::TThread::IsMainThread()});
    });
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"program's exception", [] { throw rtl::Exception("Disk full"); }},
        {"other exception", [] { throw std::runtime_error("bad state"); }},
        {"silent abort", [] { throw rtl::EAbort("Operation aborted"); }},
    };
    for (const auto& [name, fail] : cases) {
        SCOPED_TRACE(name);
        TFailingThread thread(fail);
        thread.Start();
        thread.WaitFor();
        EXPECT_TRUE(thread.cleared);
        EXPECT_EQ(thread.FatalException(), nullptr);
    }
    Application->SetMessageNotifier(previous);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Disk full.");
    EXPECT_TRUE(shown[0].onMainThread);
    EXPECT_EQ(shown[1].text, "bad state.");
}

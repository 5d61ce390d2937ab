#pragma once
// The delay dialog of the 645 display mode ("延时设置"): a response delay and the delays between
// the reply's bytes, one for all gaps (compact) or one after each of the first bytes (detailed),
// typed into 50 rows or drawn at random.
#include "console/DelayRowsView.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QPushButton;

constexpr int DelayCount = TDelayRowsView::RowCount;

// What the main window keeps of the dialog: `Delays` in ms (index 0 the response delay, index 1
// the delay between bytes, index k in the detailed mode the delay after byte k, index 49 also for
// every later byte), `PerByteDelays` for the detailed mode, `DelayOn` while the delays are in force.
struct TDelaySettings {
    std::array<int, DelayCount> Delays{};
    bool PerByteDelays = false;
    bool DelayOn = false;
};

// The waits of a reply of `length` bytes written one byte at a time: element k is the wait in ms
// before byte k is written (byte 0 counted from the end of the request, every other byte from the
// byte before it). It does not look at DelayOn: without delays the reply goes out whole.
std::vector<int> ReplyByteDelays(const TDelaySettings& settings, std::size_t length);

// Draws one non-negative pseudo-random number.
using TDelayRandom = std::function<std::uint32_t()>;

class TDlgDelay : public QDialog {
    Q_OBJECT
public:
    static constexpr int DialogWidth = 181;
    static constexpr int CompactHeight = 134;
    static constexpr int DetailedHeight = 400;

    // Without rows the toolkit's vertical grid is used; without a generator each confirmation seeds one
    // from the clock (in seconds).
    explicit TDlgDelay(QWidget* parent = nullptr, std::unique_ptr<TDelayRowsView> rows = nullptr,
                       TDelayRandom random = {});
    ~TDlgDelay() override;

    void FormCreate();
    void CheckBox1Click();  // "详细设置"
    void CheckBox2Click();  // "时间随机"
    // "确认", before the dialog closes with OK: posts an edit still open in the rows first; false
    // (nothing read, the dialog stays open) when the rows refuse the typed text.
    bool Button1Click();

    std::array<int, DelayCount> Delays{};  // the result of "确认"
    bool Detailed = false;
    bool RandomDelays = false;
    std::unique_ptr<TDelayRowsView> Rows;  // the 50 rows in index order

    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

private:
    void ShowDetailRows(bool shown);
    TDelayRandom Random;
};

// How CheckDelayClick makes and shows its dialog; empty members take the real dialog and exec().
struct TDelayDialogHooks {
    std::function<std::unique_ptr<TDlgDelay>(QWidget* parent)> Create;
    std::function<int(TDlgDelay&)> Run;
};

// The click on the main window's "延时设置" box, `checked` being its state after the click: opens
// the dialog with the current delays and takes its result into `settings`. Returns the state the
// box must show afterwards (checked only while delays are in force).
bool CheckDelayClick(bool checked, TDelaySettings& settings, QWidget* parent,
                     const TDelayDialogHooks& hooks = {});

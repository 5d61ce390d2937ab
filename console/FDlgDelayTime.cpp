#include "console/FDlgDelayTime.h"

#include "console/MessageBox.h"

#include "console/ReceiveCycle.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <ctime>
#include <random>

namespace {

constexpr int FirstDetailRow = 2;

std::string RowCaption(int row)
{
    if (row == 0)
        return "响应延迟";
    if (row == 1)
        return "字节间延迟";
    if (row == DelayCount - 1)
        return "其他字节间延迟";
    return "第" + std::to_string(row) + "字节后延迟";
}

}  // namespace

std::vector<int> ReplyByteDelays(const TDelaySettings& settings, std::size_t length)
{
    return ReplyByteDelays(std::vector<int>(settings.Delays.begin(), settings.Delays.end()),
                           settings.PerByteDelays, length);
}

TDlgDelay::TDlgDelay(QWidget* parent, std::unique_ptr<TDelayRowsView> rows, TDelayRandom random)
    : QDialog(parent), Rows(std::move(rows)), Random(std::move(random))
{
    if (!Rows)
        Rows = std::make_unique<TGridDelayRowsView>();
    setWindowTitle(QStringLiteral("延时设置"));
    for (int row = 0; row < DelayCount; ++row)
        Rows->SetCaption(row, RowCaption(row));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Rows->Widget(), 1);

    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(2);
    CheckBox1 = new QCheckBox(QStringLiteral("详细设置"), panel);
    CheckBox2 = new QCheckBox(QStringLiteral("时间随机"), panel);
    Button1 = new QPushButton(QStringLiteral("确认"), panel);
    Button2 = new QPushButton(QStringLiteral("取消"), panel);
    Button1->setDefault(true);
    grid->addWidget(CheckBox1, 0, 0);
    grid->addWidget(CheckBox2, 0, 1);
    grid->addWidget(Button1, 1, 0);
    grid->addWidget(Button2, 1, 1);
    layout->addWidget(panel);

    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    connect(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBox2Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (Button1Click())
            accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

TDlgDelay::~TDlgDelay() = default;

void TDlgDelay::FormCreate()
{
    ShowDetailRows(false);
    MakeFixedSizeDialog(this, DialogWidth, CompactHeight);
}

void TDlgDelay::ShowDetailRows(bool shown)
{
    for (int row = FirstDetailRow; row < DelayCount; ++row)
        Rows->SetVisible(row, shown);
}

void TDlgDelay::CheckBox1Click()
{
    Detailed = !Detailed;
    Rows->SetCaption(1, Detailed ? "第1字节后延迟" : "字节间延迟");
    ShowDetailRows(Detailed);
    setFixedSize(DialogWidth, Detailed ? DetailedHeight : CompactHeight);
}

void TDlgDelay::CheckBox2Click()
{
    RandomDelays = !RandomDelays;
}

bool TDlgDelay::Button1Click()
{
    // What is typed into an open editor counts, whichever widget holds the focus now.
    if (!Rows->PostEdit())
        return false;
    const int used = Detailed ? DelayCount : FirstDetailRow;
    Delays.fill(0);
    if (RandomDelays) {
        // The rows keep what they show; only the result is drawn.
        std::minstd_rand clockSeeded(static_cast<std::minstd_rand::result_type>(std::time(nullptr)));
        const TDelayRandom draw = Random ? Random : TDelayRandom([&clockSeeded] { return clockSeeded(); });
        for (int i = 0; i < used; ++i)
            Delays[static_cast<std::size_t>(i)] = static_cast<int>(draw() % (TDelayRowsView::MaxValue + 1));
        return true;
    }
    for (int i = 0; i < used; ++i)
        Delays[static_cast<std::size_t>(i)] = Rows->GetValue(i);
    return true;
}

bool CheckDelayClick(bool checked, TDelaySettings& settings, QWidget* parent, const TDelayDialogHooks& hooks)
{
    if (!checked) {
        settings.DelayOn = false;
        return false;
    }
    std::unique_ptr<TDlgDelay> dialog = hooks.Create ? hooks.Create(parent) : std::make_unique<TDlgDelay>(parent);
    for (int row = 0; row < DelayCount; ++row)
        dialog->Rows->SetValue(row, settings.Delays[static_cast<std::size_t>(row)]);
    const int result = hooks.Run ? hooks.Run(*dialog) : dialog->exec();
    if (result != QDialog::Accepted) {
        settings.DelayOn = false;
        return false;
    }
    settings.PerByteDelays = dialog->Detailed;
    settings.Delays = dialog->Delays;
    settings.DelayOn = std::any_of(settings.Delays.begin(), settings.Delays.end(), [](int d) { return d != 0; });
    return settings.DelayOn;
}

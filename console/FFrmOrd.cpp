#include "console/FFrmOrd.h"

#include "console/ErrorTexts.h"
#include "console/MessageBox.h"

#include "console/EditKeyFilter.h"
#include "platform/rtl/IniFiles.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Byte texts of up to 255 bytes: "12 34 ..." takes 3 characters a byte, less the last blank.
constexpr int kByteTextLength = 255 * 3 - 1;

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, int maxLength)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

TFrmSend::TFrmSend(QWidget* parent, const std::string& iniPath)
    : QDialog(parent), TComposerModel(nullptr), iniPath_(iniPath)
{
    Notifier = this;
    OnMessage = [this](const std::string& message) {
        ShowMessageBox(this, TMessageKind::Information, windowTitle().toStdString(), message);
    };
    BuildForm();
    EnableKindEdits();
    if (!iniPath_.empty())
        LoadSettings(rtl::TIniFile(iniPath_));
    else
        Rows.emplace_back();
    ShowGrid();
}

TFrmSend::~TFrmSend() = default;

void TFrmSend::BuildForm()
{
    setWindowTitle(QStringLiteral("命令发送"));
    resize(331, 592);

    StringGrid1 = new QTableWidget(0, 3, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("通信表号"), QStringLiteral("是否选择"), QStringLiteral("抄读表号")});
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    PmChoose = new QMenu(this);
    N1 = PmChoose->addAction(QStringLiteral("全部选择"));
    N2 = PmChoose->addAction(QStringLiteral("全部取消"));
    connect(N1, &QAction::triggered, this, [this] { N1Click(); });
    connect(N2, &QAction::triggered, this, [this] { N2Click(); });
    connect(StringGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PmChoose->popup(StringGrid1->viewport()->mapToGlobal(at));
    });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { SelectedRow = row; });
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
            [this](int, int) { StringGrid1DblClick(); });

    EditBh = MakeEdit(this, "EditBh", QStringLiteral("000000000001"), 12);
    EditBh1 = MakeEdit(this, "EditBh1", QStringLiteral("000000000002"), 12);
    for (QLineEdit* edit : {EditBh, EditBh1}) {
        TEditKeyFilter::Attach(edit, TKeyFilterKind::Digit);
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { EditBhExit(edit); });
    }
    connect(EditBh, &QLineEdit::returnPressed, this, [this] { EditBhEnter(); });
    connect(EditBh1, &QLineEdit::returnPressed, this, [this] { EditBh1Enter(); });

    EditBiaozhi = MakeEdit(this, "EditBiaozhi", QString::fromStdString(IdentifierText), 5);
    EditControl1 = MakeEdit(this, "EditControl1", QString::fromStdString(InnerControlText), 2);
    EditData1 = MakeEdit(this, "EditData1", QString::fromStdString(InnerDataText), kByteTextLength);
    EditData2 = MakeEdit(this, "EditData2", QString::fromStdString(CustomDataText), kByteTextLength);
    Edit6 = MakeEdit(this, "Edit6", QString::fromStdString(ControlText), 2);
    const std::pair<QLineEdit*, std::string*> mirrors[] = {
        {EditBiaozhi, &IdentifierText}, {EditControl1, &InnerControlText},
        {EditData1, &InnerDataText},    {EditData2, &CustomDataText},
        {Edit6, &ControlText},
    };
    for (const auto& [edit, text] : mirrors) {
        TEditKeyFilter::Attach(edit, TKeyFilterKind::HexSpaced);
        std::string* target = text;
        connect(edit, &QLineEdit::textChanged, this,
                [target](const QString& now) { *target = now.toStdString(); });
    }

    BtnOpen = new QPushButton(QStringLiteral("打开文件"), this);
    BitBtnMeterAdd = new QPushButton(QStringLiteral("增加"), this);
    BitBtnMeterEdit = new QPushButton(QStringLiteral("修改"), this);
    BitBtnMeterDel = new QPushButton(QStringLiteral("删除"), this);
    BitBtn2 = new QPushButton(QStringLiteral("确认"), this);
    BitBtn3 = new QPushButton(QStringLiteral("取消"), this);
    // Enter belongs to the address edits, not to a default button.
    for (QPushButton* button : {BtnOpen, BitBtnMeterAdd, BitBtnMeterEdit, BitBtnMeterDel, BitBtn2, BitBtn3})
        button->setAutoDefault(false);
    connect(BtnOpen, &QPushButton::clicked, this, [this] { BtnOpenClick(); });
    connect(BitBtnMeterAdd, &QPushButton::clicked, this, [this] { BitBtnMeterAddClick(); });
    connect(BitBtnMeterEdit, &QPushButton::clicked, this, [this] { BitBtnMeterEditClick(); });
    connect(BitBtnMeterDel, &QPushButton::clicked, this, [this] { BitBtnMeterDelClick(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });

    RadioButton1 = new QRadioButton(QStringLiteral("645数据标识"), this);
    RadioButton2 = new QRadioButton(QStringLiteral("645数据帧格式"), this);
    RadioButton3 = new QRadioButton(QStringLiteral("自定义数据格式"), this);
    RadioButton1->setChecked(true);
    connect(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    connect(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton2Click(); });
    connect(RadioButton3, &QRadioButton::clicked, this, [this] { RadioButton3Click(); });
    Ck07 = new QCheckBox(QStringLiteral("07规约"), this);
    connect(Ck07, &QCheckBox::clicked, this, [this] { Ck07Click(); });

    auto* list = new QGridLayout;
    list->addWidget(new QLabel(QStringLiteral("通信表号"), this), 0, 0);
    list->addWidget(EditBh, 0, 1);
    list->addWidget(BtnOpen, 0, 2);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(BitBtnMeterAdd);
    listButtons->addWidget(BitBtnMeterEdit);
    listButtons->addWidget(BitBtnMeterDel);
    list->addLayout(listButtons, 1, 0, 1, 3);

    auto* kinds = new QGridLayout;
    kinds->addWidget(RadioButton1, 0, 0);
    kinds->addWidget(Ck07, 0, 1);
    kinds->addWidget(new QLabel(QStringLiteral("数据标识"), this), 1, 0);
    kinds->addWidget(EditBiaozhi, 1, 1);
    kinds->addWidget(new QLabel(QStringLiteral("(无需加33H和翻转处理)"), this), 1, 2);
    kinds->addWidget(RadioButton2, 2, 0);
    // The read address and the data take the whole width (a 12-digit address, a row of bytes);
    // the note of the data stands under it.
    kinds->addWidget(new QLabel(QStringLiteral("抄读表号"), this), 3, 0);
    kinds->addWidget(EditBh1, 3, 1, 1, 2);
    kinds->addWidget(new QLabel(QStringLiteral("控制码"), this), 4, 0);
    kinds->addWidget(EditControl1, 4, 1);
    kinds->addWidget(new QLabel(QStringLiteral("数据内容"), this), 5, 0);
    kinds->addWidget(EditData1, 5, 1, 1, 2);
    kinds->addWidget(new QLabel(QStringLiteral("(无需加33H和翻转处理)"), this), 6, 1, 1, 2);
    kinds->addWidget(RadioButton3, 7, 0);
    kinds->addWidget(EditData2, 8, 0, 1, 3);

    auto* controlGroup = new QGroupBox(QStringLiteral("控制码"), this);
    auto* controlLayout = new QHBoxLayout(controlGroup);
    controlLayout->addWidget(Edit6);

    auto* confirm = new QHBoxLayout;
    confirm->addWidget(controlGroup);
    confirm->addStretch();
    confirm->addWidget(BitBtn2);
    confirm->addWidget(BitBtn3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(list);
    layout->addLayout(kinds);
    layout->addLayout(confirm);
}

void TFrmSend::Notify(const std::string& message)
{
    if (OnMessage)
        OnMessage(message);
}

void TFrmSend::ShowGrid()
{
    const QSignalBlocker blocker(StringGrid1);
    StringGrid1->setRowCount(static_cast<int>(Rows.size()));
    for (int r = 0; r < static_cast<int>(Rows.size()); ++r) {
        const TMeterRow& row = Rows[static_cast<std::size_t>(r)];
        const std::string* cells[] = {&row.Address, &row.Selected, &row.ReadAddress};
        for (int c = 0; c < 3; ++c)
            StringGrid1->setItem(r, c, new QTableWidgetItem(QString::fromStdString(*cells[c])));
    }
    if (SelectedRow >= static_cast<int>(Rows.size()))
        SelectedRow = static_cast<int>(Rows.size()) - 1;
    StringGrid1->setCurrentCell(SelectedRow, SelectedRow < 0 ? -1 : 0);
}

void TFrmSend::EnableKindEdits()
{
    const bool identifier = Kind == TPayloadKind::Identifier;
    const bool frame = Kind == TPayloadKind::EmbeddedFrame;
    Ck07->setEnabled(identifier);
    EditBiaozhi->setEnabled(identifier);
    EditBh1->setEnabled(frame);
    EditControl1->setEnabled(frame);
    EditData1->setEnabled(frame);
    EditData2->setEnabled(Kind == TPayloadKind::Custom);
}

void TFrmSend::EnableKindButtons(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{BitBtn2, RadioButton1, RadioButton2, RadioButton3})
        w->setEnabled(enabled);
}

void TFrmSend::FormClose()
{
    WindowOpen = false;
    if (iniPath_.empty())
        return;
    try {
        rtl::TIniFile ini(iniPath_);
        SaveSettings(ini);
    } catch (const rtl::EIniFileException& error) {
        Notify(SettingsWriteErrorText(error));
    }
}

void TFrmSend::closeEvent(QCloseEvent* event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TFrmSend::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TFrmSend::BtnOpenClick()
{
    const QString file = GetOpenFileName(this);
    if (!file.isEmpty())
        OpenListFile(file.toStdString());
}

void TFrmSend::OpenListFile(const std::string& fileName)
{
    if (LoadListFile(fileName))
        ShowGrid();
}

void TFrmSend::BitBtnMeterAddClick()
{
    AddRow(EditBh->text().toStdString(), true);
    ShowGrid();
}

void TFrmSend::BitBtnMeterEditClick()
{
    EditRow(EditBh->text().toStdString());
    ShowGrid();
}

void TFrmSend::BitBtnMeterDelClick()
{
    DeleteRow();
    ShowGrid();
}

void TFrmSend::StringGrid1DblClick()
{
    ToggleRow(SelectedRow);
    ShowGrid();
}

void TFrmSend::N1Click()
{
    SelectAll(true);
    ShowGrid();
}

void TFrmSend::N2Click()
{
    SelectAll(false);
    ShowGrid();
}

void TFrmSend::EditBhExit(QLineEdit* edit)
{
    const QString padded = QString::fromStdString(PadLeftZeros(edit->text().toStdString(), 12));
    if (padded != edit->text())
        edit->setText(padded);
}

void TFrmSend::EditBhEnter()
{
    EditBhExit(EditBh);
    AddRow(EditBh->text().toStdString(), false);
    ShowGrid();
}

void TFrmSend::EditBh1Enter()
{
    EditBhExit(EditBh1);
    SetReadAddress(EditBh1->text().toStdString(), EditBh->text().toStdString());
    ShowGrid();
}

void TFrmSend::RadioButton1Click()
{
    Kind = TPayloadKind::Identifier;
    RadioButton1->setChecked(true);
    EnableKindEdits();
}

void TFrmSend::RadioButton2Click()
{
    Kind = TPayloadKind::EmbeddedFrame;
    RadioButton2->setChecked(true);
    EnableKindEdits();
}

void TFrmSend::RadioButton3Click()
{
    Kind = TPayloadKind::Custom;
    RadioButton3->setChecked(true);
    EnableKindEdits();
}

void TFrmSend::Ck07Click()
{
    Protocol07 = !Protocol07;
    Ck07->setChecked(Protocol07);
    EditBiaozhi->setMaxLength(Protocol07 ? 11 : 5);
    EditBiaozhi->setText(Protocol07 ? QStringLiteral("00 01 00 00") : QStringLiteral("90 10"));
}

void TFrmSend::BitBtn2Click()
{
    if (Confirm() && PairCount > 0)
        EnableKindButtons(false);
}

void TFrmSend::BitBtn3Click()
{
    EnableKindButtons(true);
    Cancel();
}

#include "console/FSelectBw.h"

#include "console/SmallDialogParts.h"

#include <QListWidget>

TSelectBw::TSelectBw(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("选择会响应的命令"));
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    for (const QString& text : {QStringLiteral("68 99 99 99 99 99 99 68 01 02 65 f3 c1 16"),
                                QStringLiteral("68 aa aa aa aa aa aa 68 01 02 65 f3 27 16")}) {
        auto* item = new QListWidgetItem(text, CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckListBox1);
    layout->addLayout(smalldlg::AddButtons(this, Button1, Button2, QStringLiteral("确认"),
                                           [this] { Button1Click(); }));
}

void TSelectBw::Button1Click()
{
    AnswerBroadcast = CheckListBox1->item(0)->checkState() == Qt::Checked;
    AnswerWildcard = CheckListBox1->item(1)->checkState() == Qt::Checked;
}

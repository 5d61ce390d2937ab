#include "console/FSelectBw.h"

#include "console/SmallDialogParts.h"

#include <QListWidget>
#include <QStyle>

#include <algorithm>

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
    // Wide enough for the whole frames: the bytes that tell them apart are at their ends.
    int widest = 0;
    for (int i = 0; i < CheckListBox1->count(); ++i)
        widest = std::max(widest, CheckListBox1->fontMetrics().horizontalAdvance(CheckListBox1->item(i)->text()));
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth) + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin);
    CheckListBox1->setMinimumWidth(widest + indicator + 2 * CheckListBox1->frameWidth() + 16);
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

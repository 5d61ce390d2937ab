#include "console/DelayRowsView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

TPlainDelayRowsView::TPlainDelayRowsView()
    : Area(new QScrollArea)
{
    Area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Area->setWidgetResizable(true);
    auto* body = new QWidget;
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    for (Row& row : Rows) {
        row.Line = new QWidget(body);
        auto* line = new QHBoxLayout(row.Line);
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(1);
        row.Caption = new QLabel(row.Line);
        row.Editor = new QSpinBox(row.Line);
        row.Editor->setRange(0, MaxValue);
        row.Editor->setSingleStep(1);
        row.Editor->setValue(0);
        line->addWidget(row.Caption);
        line->addWidget(row.Editor, 1);
        column->addWidget(row.Line);
    }
    column->addStretch(1);
    Area->setWidget(body);
}

// The area is usually owned by the dialog that laid it out by then; when it is not, it is ours.
TPlainDelayRowsView::~TPlainDelayRowsView()
{
    if (Area && !Area->parent())
        delete Area.data();
}

QWidget* TPlainDelayRowsView::Widget()
{
    return Area.data();
}

void TPlainDelayRowsView::SetCaption(int row, const std::string& caption)
{
    QLabel* label = Rows.at(static_cast<std::size_t>(row)).Caption;
    label->setText(QString::fromStdString(caption));
    const int wanted = label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 2;
    if (wanted > CaptionWidth) {
        CaptionWidth = wanted;
        for (Row& r : Rows)
            r.Caption->setFixedWidth(CaptionWidth);
    }
}

QLabel* TPlainDelayRowsView::CaptionLabel(int row) const
{
    return Rows.at(static_cast<std::size_t>(row)).Caption;
}

void TPlainDelayRowsView::SetVisible(int row, bool visible)
{
    Rows.at(static_cast<std::size_t>(row)).Line->setVisible(visible);
}

int TPlainDelayRowsView::GetValue(int row) const
{
    // While digits are being typed the spin box may not have taken them yet (keyboard tracking
    // can be off, or the text not yet interpreted): read the text when it holds a valid value.
    const QSpinBox* editor = Rows.at(static_cast<std::size_t>(row)).Editor;
    bool ok = false;
    const int typed = editor->cleanText().toInt(&ok);
    if (ok && typed >= editor->minimum() && typed <= editor->maximum())
        return typed;
    return editor->value();
}

void TPlainDelayRowsView::SetValue(int row, int value)
{
    Rows.at(static_cast<std::size_t>(row)).Editor->setValue(std::clamp(value, 0, MaxValue));
}

std::string TPlainDelayRowsView::Caption(int row) const
{
    return Rows.at(static_cast<std::size_t>(row)).Caption->text().toStdString();
}

bool TPlainDelayRowsView::IsRowVisible(int row) const
{
    return !Rows.at(static_cast<std::size_t>(row)).Line->isHidden();
}

QSpinBox* TPlainDelayRowsView::Editor(int row) const
{
    return Rows.at(static_cast<std::size_t>(row)).Editor;
}

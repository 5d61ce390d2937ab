#pragma once
// Pieces the small parameter dialogs are built from: a labelled edit row with its key filter and
// the confirm / cancel button row.
#include "console/EditKeyFilter.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace smalldlg {

inline QLineEdit* AddEditRow(QDialog* dialog, QGridLayout* grid, int row, const char* name,
                             const QString& label, int maxLength, TKeyFilterKind kind,
                             const QString& note = {})
{
    auto* edit = new QLineEdit(dialog);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    TEditKeyFilter::Attach(edit, kind);
    grid->addWidget(new QLabel(label, dialog), row, 0);
    grid->addWidget(edit, row, 1);
    if (!note.isEmpty())
        grid->addWidget(new QLabel(note, dialog), row, 2);
    return edit;
}

// The "确认" button runs `onConfirm` and then closes with `confirmResult`; the other cancels.
template <typename F>
QHBoxLayout* AddButtons(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel,
                        const QString& okText, F onConfirm, int confirmResult = QDialog::Accepted)
{
    ok = new QPushButton(okText, dialog);
    cancel = new QPushButton(QStringLiteral("取消"), dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, onConfirm, confirmResult] {
        onConfirm();
        dialog->done(confirmResult);
    });
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

// Zeros in front up to the edit's maximum length.
inline void PadEdit(QLineEdit* edit)
{
    const std::string text = edit->text().toStdString();
    const int width = edit->maxLength();
    if (static_cast<int>(text.size()) < width)
        edit->setText(QString::fromStdString(std::string(static_cast<std::size_t>(width) - text.size(), '0') + text));
}

} // namespace smalldlg

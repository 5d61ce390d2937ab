#pragma once
// "选择会响应的命令": whether the meter-number reads to the broadcast address and to the
// wildcard address are answered.
#include <QDialog>

class QListWidget;
class QPushButton;

class TSelectBw : public QDialog {
    Q_OBJECT
public:
    explicit TSelectBw(QWidget* parent = nullptr);

    void Button1Click();

    bool AnswerBroadcast = true;
    bool AnswerWildcard = true;

    QListWidget* CheckListBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

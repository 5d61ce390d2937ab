#pragma once
// "自定义响应": the control code, data and appended bytes of a self-defined reply, with "翻转"
// (data sent last byte first) and "加33H".
#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TDlgSelfBack : public QDialog {
    Q_OBJECT
public:
    explicit TDlgSelfBack(QWidget* parent = nullptr);

    void Button1Click();

    std::string ControlText() const;
    std::string DataText() const;
    std::string TailText() const;

    bool Reverse = false;
    bool Add33 = false;

    QLineEdit* EdtControl = nullptr;
    QLineEdit* EdtData = nullptr;
    QLineEdit* EditAddByte = nullptr;
    QCheckBox* CkBoxRev = nullptr;
    QCheckBox* CkBox33H = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

#pragma once
// "可变速率": the number of handled requests per rate step, 2 digits.
#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

class TDlgSucNum : public QDialog {
    Q_OBJECT
public:
    explicit TDlgSucNum(QWidget* parent = nullptr);

    void SetText(const std::string& text);
    std::string Text() const;
    void OkClick();

    QLineEdit* EdtSucNum = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

#pragma once
// "自定义数据标识": the set and read identifiers of the long-frame test, 4 hex digits each.
#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

class TDlgBackNum : public QDialog {
    Q_OBJECT
public:
    explicit TDlgBackNum(QWidget* parent = nullptr);

    void SetTexts(const std::string& setText, const std::string& readText);
    std::string SetIdText() const;
    std::string ReadIdText() const;
    void OKClick();

    QLineEdit* EdtSet = nullptr;
    QLineEdit* EdtRead = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

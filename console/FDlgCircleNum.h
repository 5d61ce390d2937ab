#pragma once
// "字节数": the first and last data lengths of the cyclic replies, 3 digits each.
#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

class TDlgCircleNum : public QDialog {
    Q_OBJECT
public:
    explicit TDlgCircleNum(QWidget* parent = nullptr);

    void SetTexts(const std::string& beginText, const std::string& endText);
    std::string BeginText() const;
    std::string EndText() const;
    void OkClick();

    QLineEdit* EdtBeginNum = nullptr;
    QLineEdit* EdtEndNum = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

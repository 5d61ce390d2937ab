#pragma once
// "电能数据": one energy value XXXXXX.XX. The caller sets the caption and the text of edtIn; the
// last text is kept in the settings section "数据输入对话框" whenever the dialog closes.
#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

class TDlgKwhInput : public QDialog {
    Q_OBJECT
public:
    explicit TDlgKwhInput(QWidget* parent = nullptr, const std::string& iniPath = {});

    // The 8 digits of the confirmed value, without its point.
    std::string GetKwhText() const;

    // The key rule of edtIn on the text before the key; may lower the edit's maximum length so
    // that at most two decimals follow a point.
    bool edtInKeyPress(const std::string& textBefore, char key);
    void BtnOkClick();
    void FormClose();

    // Six digits, a point and two digits, or "000000.00" for what does not reduce to that.
    static std::string NormalizeKwhText(const std::string& text);

    QLineEdit* edtIn = nullptr;
    QPushButton* BtnOk = nullptr;
    QPushButton* BtnCanel = nullptr;

protected:
    void done(int result) override;

private:
    std::string iniPath_;
};

#pragma once
// "最大费率号": the highest tariff number, 1 to 63, kept in the settings section "数据选项".
#include <QDialog>

#include <string>

class QButtonGroup;
class QGroupBox;
class QPushButton;

class TDlgMaxFeiLvNum : public QDialog {
    Q_OBJECT
public:
    // "确认" closes with this result (the caller tests for it), "取消" with Rejected.
    static constexpr int mrYes = 6;

    explicit TDlgMaxFeiLvNum(QWidget* parent = nullptr, const std::string& iniPath = {});

    int GetMaxTariff() const { return ItemIndex() + 1; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    void FormClose();

    QGroupBox* RgMaxNum = nullptr;
    QButtonGroup* Items = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

protected:
    void done(int result) override;

private:
    std::string iniPath_;
};

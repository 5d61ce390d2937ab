#pragma once
// The command composer "命令发送": the meter list (communication address, selected, read address)
// and the command's control code and data field. The logic lives in TComposerModel, which this
// window is; the main window reads the confirmed pairs and payload from it and sends them with
// a TCommandSequencer.
#include "console/ComposerModel.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;
class QTableWidget;

class TFrmSend : public QDialog, public TComposerModel, private IComposerNotifier {
    Q_OBJECT
public:
    // `iniPath`: the settings file holding the section "命令帧信息" (none when empty).
    explicit TFrmSend(QWidget* parent = nullptr, const std::string& iniPath = {});
    ~TFrmSend() override;

    // Messages to the operator; a message box by default.
    std::function<void(const std::string&)> OnMessage;

    void FormClose();
    void BtnOpenClick();
    void OpenListFile(const std::string& fileName);  // "打开文件" once a file is picked
    void BitBtnMeterAddClick();
    void BitBtnMeterEditClick();
    void BitBtnMeterDelClick();
    void StringGrid1DblClick();
    void N1Click();
    void N2Click();
    void EditBhExit(QLineEdit* edit);
    void EditBhEnter();
    void EditBh1Enter();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void Ck07Click();
    void BitBtn2Click();
    void BitBtn3Click();

    // The grid shows TComposerModel::Rows; call after changing them directly.
    void ShowGrid();

    QTableWidget* StringGrid1 = nullptr;
    QLineEdit* EditBh = nullptr;
    QPushButton* BtnOpen = nullptr;
    QPushButton* BitBtnMeterAdd = nullptr;
    QPushButton* BitBtnMeterEdit = nullptr;
    QPushButton* BitBtnMeterDel = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QCheckBox* Ck07 = nullptr;
    QLineEdit* EditBiaozhi = nullptr;
    QLineEdit* EditBh1 = nullptr;
    QLineEdit* EditControl1 = nullptr;
    QLineEdit* EditData1 = nullptr;
    QLineEdit* EditData2 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QMenu* PmChoose = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void Notify(const std::string& message) override;
    void BuildForm();
    void EnableKindEdits();
    void EnableKindButtons(bool enabled);

    std::string iniPath_;
};

// The meter's face and its inputs: the one-second tick, digits and lamps, the grid-input boxes,
// the meter number, the password and the neutral current.
#include "console/FFrmMain.h"

#include "console/FFrmMainConvert.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

void TFrmMain::TimerSecTimer()
{
    if (!Meter)
        return;
    Meter->TickSecond();
    ShowMeterClock();
    if (Meter->EnergyPulse)
        ToggleLamp(ShpKwh);
    Meter->EnergyPulse = false;
    ShowEnergy();
    if (Meter->TripState == 1)
        SetRelayLamp(1);
    else if (Meter->TripPending == 1)
        ToggleLamp(ShpJdq);  // armed to trip: blinks once a second
    else
        SetRelayLamp(0);
    SetPanelText(0, panel::MeterTimeText(Meter->Clock));
}

void TFrmMain::ShowMeterClock()
{
    const std::uint8_t* c = Meter->Clock;
    DrawDigit(ImgHourH, c[2] >> 4);
    DrawDigit(ImgHourL, c[2] & 0x0F);
    DrawDigit(ImgMinH, c[1] >> 4);
    DrawDigit(ImgMinL, c[1] & 0x0F);
    DrawDigit(ImgSecH, c[0] >> 4);
    DrawDigit(ImgSecL, c[0] & 0x0F);
    const QString tariff = QString::fromUtf8(panel::TariffText(Meter->CurrentTariff));
    EdtShd->setText(tariff);
    Label12->setText(tariff);
    EdtWeek->setText(QString::fromUtf8(panel::WeekdayText(c[3])));
}

void TFrmMain::ShowEnergy()
{
    ShowTotalEnergy(Meter->GetEnergyBlock());
    ShowTariffEnergy(Meter->GetTariffEnergy07());
}

namespace {

// Byte 0 (the decimals) in red, bytes 1..3 in normal digits, low nibble first from the right.
template <typename Draw, typename DrawRed>
void ShowRegister(const std::array<TDigitView*, 8>& images, const std::uint8_t* bcd, Draw draw,
                  DrawRed drawRed)
{
    drawRed(images[0], bcd[0] & 0x0F);
    drawRed(images[1], bcd[0] >> 4);
    for (int b = 1; b < 4; ++b) {
        draw(images[2 * b], bcd[b] & 0x0F);
        draw(images[2 * b + 1], bcd[b] >> 4);
    }
}

} // namespace

void TFrmMain::ShowTotalEnergy(const std::uint8_t* bcd)
{
    ShowRegister(ImgKwh, bcd, [this](TDigitView* i, int n) { DrawDigit(i, n); },
                 [this](TDigitView* i, int n) { DrawRedDigit(i, n); });
}

void TFrmMain::ShowTariffEnergy(const std::uint8_t* bcd)
{
    ShowRegister(ImageKwhF, bcd, [this](TDigitView* i, int n) { DrawDigit(i, n); },
                 [this](TDigitView* i, int n) { DrawRedDigit(i, n); });
}

void TFrmMain::DrawDigit(TDigitView* image, int nibble)
{
    image->SetDigit(nibble, false);
}

void TFrmMain::DrawRedDigit(TDigitView* image, int nibble)
{
    image->SetDigit(nibble, true);
}

void TFrmMain::ToggleLamp(TLamp* shape)
{
    shape->Toggle();
}

void TFrmMain::SetRelayLamp(std::uint8_t on)
{
    ShpJdq->SetColor(on == 1 ? QColor(Qt::red) : QColor(Qt::black));
}

void TFrmMain::RecalcGridInput()
{
    Meter->CalcPowerIncrements();
    Meter->CalcPowers();
}

void TFrmMain::CbbxVoltAChange(int phase)
{
    panel::ApplyVoltage(*Meter, phase, CbbxVolt[phase]->currentIndex());
    RecalcGridInput();
}

void TFrmMain::CbbxAmpAChange(int phase)
{
    panel::ApplyCurrent(*Meter, phase, CbbxAmp[phase]->currentIndex());
    RecalcGridInput();
}

void TFrmMain::CbbxJduAChange(int phase)
{
    panel::ApplyAngle(*Meter, phase, CbbxJdu[phase]->currentIndex());
    RecalcGridInput();
}

void TFrmMain::CbbxPulCntChange()
{
    panel::ApplyPulseConstant(*Meter, CbbxPulCnt->currentIndex());
}

void TFrmMain::CbxKxClick()
{
    Meter->RecordBoxOpen(CbxKx->isChecked());
}

void TFrmMain::EdtAmpNExit()
{
    const std::string text = panel::NormaliseNeutralCurrent(EdtAmpN->text().toStdString());
    EdtAmpN->setText(QString::fromStdString(text));
    std::uint8_t bytes[2];
    panel::NeutralCurrentBytes(text, bytes);
    Meter->SetNeutralCurrent(bytes);
}

void TFrmMain::EditBhExit()
{
    const std::string text = panel::PadZeros(AddressEdits[0]->text().toStdString(), 12);
    AddressEdits[0]->setText(QString::fromStdString(text));
    Meter->SetAddressText(text);
    Core->SetAddressRow(0, text);  // row 1 of the lists as well
}

void TFrmMain::EditPwExit()
{
    const std::string text = panel::PadZeros(EditPw->text().toStdString(), 6);
    EditPw->setText(QString::fromStdString(text));
    panel::ApplyPassword(*Meter, text);
}

void TFrmMain::EditZj1Exit(int row)
{
    if (row < 1 || row > 7)
        return;
    const std::string& stored = Core->SetAddressRow(row, AddressEdits[row]->text().toStdString());
    AddressEdits[row]->setText(QString::fromStdString(stored));
}

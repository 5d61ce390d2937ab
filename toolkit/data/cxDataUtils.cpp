#include "toolkit/data/cxDataUtils.h"

#include <cmath>

#include "platform/rtl/Locale.h"

namespace cx {

std::string DefaultCurrencyDisplayFormat()
{
    const TFormatSettings& fs = FormatSettings();
    std::string number = ",0." + std::string(fs.CurrencyDecimals, '0');
    std::string symbol;
    for (char c : fs.CurrencyString) {
        if (c == ',' || c == '.')
            symbol += std::string("'") + c + "'";
        else
            symbol += c;
    }
    if (symbol.empty())
        return number;
    switch (fs.CurrencyFormat) {
    case 0: return symbol + number;
    case 1: return number + symbol;
    case 2: return symbol + " " + number;
    case 3: return number + " " + symbol;
    default: return number;
    }
}

TDateTime GetStartDateOfWeek(TDateTime date)
{
    int s = GetStartOfWeek();
    int d = DayOfWeek(date) - 1;
    return s > d ? DateOf(date) - 7 + (s - d) : DateOf(date) - (d - s);
}

bool DataCompareText(const std::string& s1, const std::string& s2, bool partial)
{
    std::string u1 = AnsiUpperCase(s1), u2 = AnsiUpperCase(s2);
    if (u2.empty())
        return u1.empty();
    if (!partial)
        return u1 == u2;
    return u1.compare(0, u2.size(), u2) == 0;
}

// ---------------------------------------------------------------------------------------------
TcxCustomDataBinding::TcxCustomDataBinding(TComponent* owner, TComponent* dataComponent)
    : dataComponent_(dataComponent), owner_(owner)
{
}

void TcxCustomDataBinding::SetReadOnly(bool value)
{
    if (readOnly_ != value) {
        readOnly_ = value;
        DataSetChange();
    }
}

void TcxCustomDataBinding::SetVisualControl(TComponent* value)
{
    if (visualControl_ != value) {
        visualControl_ = value;
        VisualControlChanged();
    }
}

} // namespace cx

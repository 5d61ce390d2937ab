// The filter builder's model: its criteria, the row tree, building between the two, applying to
// the host, streams and files.
#include "toolkit/grid/cxFilterControl.h"

#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxTextEdit.h"

namespace cx {

namespace {
std::vector<std::string>& ConditionTexts()
{
    static std::vector<std::string> texts;
    return texts;
}
std::vector<std::string>& BoolOperatorTexts()
{
    static std::vector<std::string> texts;
    return texts;
}
} // namespace

void cxFilterControlFillTexts()
{
    auto& conditions = ConditionTexts();
    conditions.clear();
    for (int op = fcoNone; op <= fcoInFuture; ++op)
        conditions.push_back(GetFilterControlOperatorText(static_cast<TcxFilterControlOperator>(op)));
    BoolOperatorTexts() = {cxFilterControlString(&cxSFilterBoolOperatorAnd), cxFilterControlString(&cxSFilterBoolOperatorOr),
                           cxFilterControlString(&cxSFilterBoolOperatorNotAnd),
                           cxFilterControlString(&cxSFilterBoolOperatorNotOr)};
}

std::string cxGetConditionText(TcxFilterControlOperator op)
{
    if (ConditionTexts().empty())
        cxFilterControlFillTexts();
    return ConditionTexts().at(static_cast<std::size_t>(op));
}

std::string cxGetBoolOperatorText(TcxFilterBoolOperatorKind kind)
{
    if (BoolOperatorTexts().empty())
        cxFilterControlFillTexts();
    return BoolOperatorTexts().at(static_cast<std::size_t>(kind));
}

} // namespace cx

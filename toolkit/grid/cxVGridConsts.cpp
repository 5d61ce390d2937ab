#include "toolkit/grid/cxVGridConsts.h"

namespace cx {

const TResStringRec cxSvgIndexError = {65486, "Index error"};
const TResStringRec cxSvgInvalidRowClass = {65487, "Can't create row"};
const TResStringRec cxSvgAssignRowsError = {65456, "Can't assign rows"};

void cxVerticalGridError(const std::string& message)
{
    throw EcxVerticalGridError(message);
}

} // namespace cx

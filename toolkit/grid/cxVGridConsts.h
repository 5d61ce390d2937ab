#pragma once
// cxVGridConsts: the vertical grid's error class and the texts its model raises.
#include <string>

#include "platform/rtl/ResString.h"
#include "toolkit/core/dxCore.h"

namespace cx {

RTL_EXCEPTION(EcxVerticalGridError, EdxException);
// A properties object made for a row of the wrong kind.
RTL_EXCEPTION(EcxInvalidCast, Exception);

extern const TResStringRec cxSvgIndexError;
extern const TResStringRec cxSvgInvalidRowClass;
extern const TResStringRec cxSvgAssignRowsError;

[[noreturn]] void cxVerticalGridError(const std::string& message);

} // namespace cx

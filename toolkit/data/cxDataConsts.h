#pragma once
// cxDataConsts: the texts of the data layer. Only the stream errors live here so far; the data
// controller's messages join them when the controller is built.
#include "platform/rtl/ResString.h"

namespace cx {
using rtl::TResStringRec;

extern const TResStringRec cxSDataReadError;
extern const TResStringRec cxSDataWriteError;

inline constexpr const char* cxDataProductKey = "ZivodanDatakor";

} // namespace cx

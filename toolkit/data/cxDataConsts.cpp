#include "toolkit/data/cxDataConsts.h"

namespace cx {

const TResStringRec cxSDataReadError = {65520, "Stream read error"};
const TResStringRec cxSDataWriteError = {65521, "Stream write error"};

} // namespace cx

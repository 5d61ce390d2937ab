#pragma once
// cxDataConsts: the texts of the data layer (stream errors and the data controller's messages),
// registered under the product key "ZivodanDatakor".
#include "platform/rtl/ResString.h"

namespace cx {
using rtl::TResStringRec;

extern const TResStringRec cxSDataReadError;
extern const TResStringRec cxSDataWriteError;
extern const TResStringRec cxSDataItemExistError;
extern const TResStringRec cxSDataRecordIndexError;
extern const TResStringRec cxSDataItemIndexError;
extern const TResStringRec cxSDataProviderModeError;
extern const TResStringRec cxSDataInvalidStreamFormat;
extern const TResStringRec cxSDataRowIndexError;
extern const TResStringRec cxSDataCustomDataSourceInvalidCompare;
extern const TResStringRec cxSDBDetailFilterControllerNotFound;
extern const TResStringRec cxSDBNotInGridMode;
extern const TResStringRec cxSDBKeyFieldNotFound;

inline constexpr const char* cxDataProductKey = "ZivodanDatakor";

namespace cxDataConstsUnit {
void Initialize();   // registers the product's strings (once)
void Finalize();
} // namespace cxDataConstsUnit

} // namespace cx

#include "toolkit/data/cxDataConsts.h"

#include "toolkit/core/dxCore.h"

namespace cx {

const TResStringRec cxSDataReadError = {65520, "Stream read error"};
const TResStringRec cxSDataWriteError = {65521, "Stream write error"};
const TResStringRec cxSDataItemExistError = {65522, "Item already exists"};
const TResStringRec cxSDataRecordIndexError = {65523, "RecordIndex out of range"};
const TResStringRec cxSDataItemIndexError = {65524, "ItemIndex out of range"};
const TResStringRec cxSDataProviderModeError = {65525, "This operation is not supported in provider mode"};
const TResStringRec cxSDataInvalidStreamFormat = {65526, "Invalid stream format"};
const TResStringRec cxSDataRowIndexError = {65527, "RowIndex out of range"};
const TResStringRec cxSDataCustomDataSourceInvalidCompare = {65528, "GetInfoForCompare not implemented"};
const TResStringRec cxSDBDetailFilterControllerNotFound = {65529, "DetailFilterController not found"};
const TResStringRec cxSDBNotInGridMode = {65530, "DataController not in GridMode"};
const TResStringRec cxSDBKeyFieldNotFound = {65531, "Key Field not found"};

namespace {
void AddcxDataResourceStringNames(TdxProductResourceStrings* product)
{
    product->Add("cxSDataReadError", &cxSDataReadError);
    product->Add("cxSDataWriteError", &cxSDataWriteError);
    product->Add("cxSDataItemExistError", &cxSDataItemExistError);
    product->Add("cxSDataRecordIndexError", &cxSDataRecordIndexError);
    product->Add("cxSDataItemIndexError", &cxSDataItemIndexError);
    product->Add("cxSDataProviderModeError", &cxSDataProviderModeError);
    product->Add("cxSDataInvalidStreamFormat", &cxSDataInvalidStreamFormat);
    product->Add("cxSDataRowIndexError", &cxSDataRowIndexError);
    product->Add("cxSDataCustomDataSourceInvalidCompare", &cxSDataCustomDataSourceInvalidCompare);
    product->Add("cxSDBDetailFilterControllerNotFound", &cxSDBDetailFilterControllerNotFound);
    product->Add("cxSDBNotInGridMode", &cxSDBNotInGridMode);
    product->Add("cxSDBKeyFieldNotFound", &cxSDBKeyFieldNotFound);
}
int counter = 0;
} // namespace

namespace cxDataConstsUnit {
void Initialize()
{
    if (counter++ == 0)
        dxResourceStringsRepository()->RegisterProduct(cxDataProductKey, &AddcxDataResourceStringNames);
}

void Finalize()
{
    if (counter > 0 && --counter == 0)
        dxResourceStringsRepository()->UnRegisterProduct(cxDataProductKey);
}
} // namespace cxDataConstsUnit

} // namespace cx

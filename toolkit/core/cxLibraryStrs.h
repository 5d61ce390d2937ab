#pragma once
// cxLibraryStrs: the user-visible texts of the toolkit foundation, registered by name under the
// product key "VedavivIzodero".
#include <vector>

#include "platform/rtl/ResString.h"
#include "toolkit/core/dxCore.h"

namespace cx {

extern const TResStringRec scxCantCreateRegistryKey;
extern const TResStringRec scxCantOpenRegistryKey;
extern const TResStringRec scxErrorStoreObject;
extern const TResStringRec scxConverterCantCreateStyleRepository;
extern const TResStringRec cxSDateToday;
extern const TResStringRec cxSDateYesterday;
extern const TResStringRec cxSDateTomorrow;
extern const TResStringRec cxSDateSunday;
extern const TResStringRec cxSDateMonday;
extern const TResStringRec cxSDateTuesday;
extern const TResStringRec cxSDateWednesday;
extern const TResStringRec cxSDateThursday;
extern const TResStringRec cxSDateFriday;
extern const TResStringRec cxSDateSaturday;
extern const TResStringRec cxSDateFirst;
extern const TResStringRec cxSDateSecond;
extern const TResStringRec cxSDateThird;
extern const TResStringRec cxSDateFourth;
extern const TResStringRec cxSDateFifth;
extern const TResStringRec cxSDateSixth;
extern const TResStringRec cxSDateSeventh;
extern const TResStringRec cxSDateBOM;
extern const TResStringRec cxSDateEOM;
extern const TResStringRec cxSDateNow;

inline constexpr const char* cxLibraryProductKey = "VedavivIzodero";

struct TcxResStringTableEntry {
    const char* name;
    const TResStringRec* resString;
};
// The texts in registration order.
const std::vector<TcxResStringTableEntry>& cxLibraryResourceStringTable();

void AddLibraryResourceStrings(TdxProductResourceStrings* product);

namespace cxLibraryStrsUnit {
void Initialize();   // registers the product (once)
void Finalize();     // unregisters it (once)
} // namespace cxLibraryStrsUnit

} // namespace cx

#pragma once
// IcxFilterControl: what a filter builder asks of the control whose data it filters. Every index
// runs from 0 to GetFilterCount() - 1 over the host's filterable items.
#include <string>

#include "toolkit/data/cxDataStorage.h"

namespace cx {

class TcxFilterCriteria;
class TcxCustomEditProperties;

class IcxFilterControl {
public:
    virtual ~IcxFilterControl() = default;
    virtual std::string GetFilterCaption(int index) = 0;
    virtual int GetFilterCount() = 0;
    // The host's live criteria (may be null).
    virtual TcxFilterCriteria* GetFilterCriteria() = 0;
    // The identity kept in criteria items.
    virtual TObject* GetFilterItemLink(int index) = 0;
    // The numeric and the name identity written to and read from criteria streams.
    virtual int GetFilterItemLinkID(int index) = 0;
    virtual std::string GetItemLinkName(int index) = 0;
    virtual std::string GetFilterFieldName(int index) = 0;
    // Null: the builder's default text editing.
    virtual TcxCustomEditProperties* GetFilterProperties(int index) = 0;
    virtual TcxValueTypeClass GetFilterValueType(int index) = 0;
};

} // namespace cx

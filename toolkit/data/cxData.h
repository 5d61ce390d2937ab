#pragma once
// cxData: the concrete unbound data controller that controls instantiate.
#include "toolkit/data/cxCustomData.h"

namespace cx {

class TcxDataController : public TcxCustomDataController {
    RTL_CLASS(TcxDataController, TcxCustomDataController)
    explicit TcxDataController(TComponent* owner);
};

} // namespace cx

#include "toolkit/data/cxData.h"

namespace cx {

TcxDataController::TcxDataController(TComponent* owner) : TcxCustomDataController(owner)
{
    ActiveChanged(true);
}

} // namespace cx

#include "toolkit/editors/cxEdit.h"

#include "platform/vcl/MessageQueue.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/data/cxFilterConsts.h"
#include "toolkit/data/cxVariants.h"

namespace cx {

namespace detail {
void CreateEditPropertiesList();
void FreeEditPropertiesList();
void CreateDefaultEditStyleController();
void FreeDefaultEditStyleController();
} // namespace detail

namespace {
TcxRegisteredClasses* registeredEditProperties = nullptr;
TcxEditRepository* defaultEditRepository = nullptr;
bool emulateStandardControlDrawing = false;
} // namespace

// ---- registries ---------------------------------------------------------------------------------------

TcxRegisteredClasses* GetRegisteredEditProperties()
{
    if (!registeredEditProperties) {
        registeredEditProperties = new TcxRegisteredClasses(false);
        registeredEditProperties->SetSorted(true);
    }
    return registeredEditProperties;
}

TcxCustomEditPropertiesClass FindRegisteredEditPropertiesClass(const std::string& className)
{
    return TcxCustomEditPropertiesClass::FromMeta(GetRegisteredEditProperties()->FindByClassName(className));
}

TcxEditRepository* GetDefaultEditRepository()
{
    if (!defaultEditRepository)
        defaultEditRepository = new TcxEditRepository(nullptr);
    return defaultEditRepository;
}

// ---- unit routines -----------------------------------------------------------------------------------

TShiftState ButtonToShift(TMouseButton button)
{
    switch (button) {
    case mbLeft: return TShiftState{ssLeft};
    case mbRight: return TShiftState{ssRight};
    case mbMiddle: return TShiftState{ssMiddle};
    }
    return {};
}

void CheckSize(TSize& size, const TSize& minSize)
{
    size.cx = std::max(size.cx, minSize.cx);
    size.cy = std::max(size.cy, minSize.cy);
}

TShiftState cxButtonToShift(TcxMouseButton button)
{
    switch (button) {
    case cxmbLeft: return TShiftState{ssLeft};
    case cxmbRight: return TShiftState{ssRight};
    case cxmbMiddle: return TShiftState{ssMiddle};
    case cxmbNone: break;
    }
    return {};
}

bool cxEditVarEquals(const Variant& v1, const Variant& v2)
{
    return ((VarIsNumericEx(v1) && VarIsNumericEx(v2)) || VarType(v1) == VarType(v2)) && VarEqualsExact(v1, v2);
}

bool InternalVarEqualsExact(const Variant& v1, const Variant& v2)
{
    return VarType(v1) == VarType(v2) && VarEqualsExact(v1, v2);
}

bool EmulateStandardControlDrawing() { return emulateStandardControlDrawing; }

void SetStandardControlDrawingEmulationMode(bool value)
{
    if (emulateStandardControlDrawing == value)
        return;
    emulateStandardControlDrawing = value;
    if (TcxLookAndFeel* root = RootLookAndFeel())
        root->NotifyChanged();   // every control repaints
}

TComponent* GetOwnerComponent(TPersistent* persistent)
{
    // Bounded, so that an owner cycle cannot hang the walk.
    for (int depth = 0; persistent && depth < 1000; ++depth) {
        if (auto* component = dynamic_cast<TComponent*>(persistent))
            return component;
        persistent = GetPersistentOwner(persistent);
    }
    return nullptr;
}

bool IsSpaceChar(char16_t ch) { return ch == 0 || ch == 9 || ch == 10 || ch == 12 || ch == 13 || ch == 32; }
bool IsSpaceChar(char ch) { return IsSpaceChar(static_cast<char16_t>(static_cast<unsigned char>(ch))); }

bool NeedAssignRepositoryItem(TcxCustomEditProperties* properties, TcxEditRepositoryItem* item,
                              TcxCustomEditProperties*& oldProperties)
{
    bool result = properties && item && oldProperties == item->Properties() &&
                  item->ArePropertiesCompatible(properties->ClassType());
    if (result)
        oldProperties = properties;
    return result;
}

namespace {
void SendToControl(TWinControl* control, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (control)
        vcl::SendMessage(control->Handle(), msg, wParam, lParam);
}
} // namespace

void SendMouseEvent(TWinControl* control, UINT msg, TShiftState shift, const TPoint& p)
{
    SendToControl(control, msg, ShiftStateToKeys(shift), MakeLParam(p.X, p.Y));
}

void SendKeyDown(TWinControl* control, std::uint16_t key, TShiftState) { SendToControl(control, WM_KEYDOWN, key, 0); }
void SendKeyUp(TWinControl* control, std::uint16_t key, TShiftState) { SendToControl(control, WM_KEYUP, key, 0); }
void SendKeyPress(TWinControl* control, char16_t ch) { SendToControl(control, WM_CHAR, ch, 0); }

void UniteRegions(TcxRegion* region, TcxRegion* other) { region->Combine(other, roAdd, false); }

// ---- start-up and shut-down -------------------------------------------------------------------------

namespace cxEditUnit {
namespace {
int counter = 0;
std::string FilterResourceString(const TResStringRec* resString) { return cxGetResourceString(resString); }
} // namespace

void Initialize()
{
    if (counter++ != 0)
        return;
    // The wheel cursor's drawing is not shipped; the id stands for the nearest built-in shape.
    Screen->SetCursors(crcxEditMouseWheel, Screen->Cursors(crSizeAll));
    detail::CreateDefaultEditStyleController();
    detail::CreateEditPropertiesList();
    cxFilterGetResourceStringFunc = &FilterResourceString;
}

void Finalize()
{
    if (counter == 0 || --counter != 0)
        return;
    FreeAndNil(registeredEditProperties);
    FreeAndNil(defaultEditRepository);
    detail::FreeEditPropertiesList();
    detail::FreeDefaultEditStyleController();
    if (cxFilterGetResourceStringFunc == &FilterResourceString)
        cxFilterGetResourceStringFunc = nullptr;
}
} // namespace cxEditUnit

} // namespace cx

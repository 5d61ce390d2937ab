// The mask editor control: the text editor whose typing, caret moves, clipboard and text
// changes go through the mask mode while it is masked.
#include "toolkit/editors/cxMaskEdit.h"

#include "platform/rtl/Unicode.h"
#include "toolkit/data/cxVariants.h"

namespace cx {

TcxEditClasses TcxCustomMaskEdit::ClassesWith(TcxCustomEditPropertiesClass properties)
{
    TcxEditClasses c;
    c.Properties = properties;
    c.InnerEdit = TcxInnerEditClass::Of<TcxCustomInnerTextEdit>();
    return c;
}

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* owner, bool isInplace)
    : TcxCustomMaskEdit(owner, isInplace,
                        ClassesWith(TcxCustomEditPropertiesClass::Of<TcxCustomMaskEditProperties>()))
{
}

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomTextEdit(owner, isInplace, classes)
{
    // The base constructors ran their own set-up; the mask part follows here, where the kind's
    // overrides are in effect.
    InitializeMode();
    PropertiesChanged(Properties());
}

TcxCustomMaskEdit::~TcxCustomMaskEdit() = default;

TcxMaskEdit::TcxMaskEdit(TComponent* owner, bool isInplace)
    : TcxCustomMaskEdit(owner, isInplace, ClassesWith(TcxCustomEditPropertiesClass::Of<TcxMaskEditProperties>()))
{
}

void TcxCustomMaskEdit::InitializeMode()
{
    mode_.reset();
    ActiveProperties()->SetEmptyString(mode_ ? mode_->GetEmptyString() : std::u16string());
}

void TcxCustomMaskEdit::UpdateTextFormatting()
{
    InternalSetDisplayValue(Variant(Text()));
}

} // namespace cx

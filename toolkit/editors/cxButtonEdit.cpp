// The button editor: its default ellipsis button, the stored buttons that replace it and its
// registration.
#include "toolkit/editors/cxButtonEdit.h"

#include "platform/rtl/Filer.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

TcxCustomButtonEditProperties::TcxCustomButtonEditProperties(TPersistent* owner) : TcxCustomMaskEditProperties(owner)
{
    TcxEditButton* button = Buttons()->Add();
    button->SetKind(bkEllipsis);
    button->SetDefault(true);
}

const TClassMeta* TcxCustomButtonEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxButtonEdit>().Meta();
}

TcxCustomButtonEdit::TcxCustomButtonEdit(TComponent* owner, bool isInplace)
    : TcxCustomButtonEdit(owner, isInplace,
                          ClassesWith(TcxCustomEditPropertiesClass::Of<TcxCustomButtonEditProperties>()))
{
}

TcxCustomButtonEdit::TcxCustomButtonEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomMaskEdit(owner, isInplace, classes)
{
}

TcxContainerStyleValues TcxCustomButtonEdit::InternalGetNotPublishedStyleValues() const
{
    const TcxContainerStyleValues published =
        cxStyleValue(svButtonStyle) | cxStyleValue(svButtonTransparency) | cxStyleValue(svGradientButtons);
    return TcxCustomMaskEdit::InternalGetNotPublishedStyleValues() & ~published;
}

TcxButtonEdit::TcxButtonEdit(TComponent* owner, bool isInplace)
    : TcxCustomButtonEdit(owner, isInplace, ClassesWith(TcxCustomEditPropertiesClass::Of<TcxButtonEditProperties>()))
{
}

void TcxButtonEdit::ReadState(rtl::TReader* reader)
{
    if (!buttonsCleared_) {
        buttonsCleared_ = true;
        Properties()->Buttons()->Clear();
        ActiveProperties()->Buttons()->Clear();
    }
    reader->ReadProperties(this);
}

namespace cxButtonEditUnit {
namespace {
int counter = 0;
}

void Initialize()
{
    if (counter++ > 0)
        return;
    GetRegisteredEditProperties()->Register(TcxCustomEditPropertiesClass::Of<TcxButtonEditProperties>().Meta(),
                                            cxGetResourceString(&scxSEditRepositoryButtonItem));
    TcxCustomEditClass::Of<TcxButtonEdit>();
}

void Finalize()
{
    if (counter > 0)
        --counter;
}
} // namespace cxButtonEditUnit

} // namespace cx

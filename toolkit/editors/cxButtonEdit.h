#pragma once
// The button editor: a mask editor with embedded buttons, by default one ellipsis button that is
// the default button. Streamed buttons replace that default instead of joining it.
#include "toolkit/editors/cxMaskEdit.h"

namespace rtl {
class TReader;
}

namespace cx {

class TcxCustomButtonEditProperties : public TcxCustomMaskEditProperties {
    RTL_CLASS(TcxCustomButtonEditProperties, TcxCustomMaskEditProperties)
    explicit TcxCustomButtonEditProperties(TPersistent* owner);
    const TClassMeta* GetContainerClass() const override;
};

class TcxButtonEditProperties : public TcxCustomButtonEditProperties {
    RTL_CLASS(TcxButtonEditProperties, TcxCustomButtonEditProperties)
    using TcxCustomButtonEditProperties::TcxCustomButtonEditProperties;
};

class TcxCustomButtonEdit : public TcxCustomMaskEdit {
    RTL_CLASS(TcxCustomButtonEdit, TcxCustomMaskEdit)
    explicit TcxCustomButtonEdit(TComponent* owner, bool isInplace = false);
    TcxCustomButtonEditProperties* Properties() const
    {
        return static_cast<TcxCustomButtonEditProperties*>(TcxCustomMaskEdit::Properties());
    }
    // The button styles are this editor's own published style values.
    TcxContainerStyleValues InternalGetNotPublishedStyleValues() const override;

protected:
    TcxCustomButtonEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
};

class TcxButtonEdit : public TcxCustomButtonEdit {
    RTL_CLASS(TcxButtonEdit, TcxCustomButtonEdit)
    explicit TcxButtonEdit(TComponent* owner, bool isInplace = false);
    TcxButtonEditProperties* Properties() const
    {
        return static_cast<TcxButtonEditProperties*>(TcxCustomButtonEdit::Properties());
    }
    // Reads the editor's stored state; before the first read the default buttons of its own and
    // its active properties go, so the streamed buttons replace them.
    void ReadState(rtl::TReader* reader);

private:
    bool buttonsCleared_ = false;
};

namespace cxButtonEditUnit {
void Initialize();   // once: the properties class in the editor registry (no filter helper)
void Finalize();     // counts down only
} // namespace cxButtonEditUnit

} // namespace cx

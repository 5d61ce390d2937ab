#pragma once
// The mask editor: the single-line text editor with an edit mask. The properties hold the mask and
// its kind; the control edits its text through a mask mode (cxMaskEditModes) that knows the
// mask's grammar. With an empty mask there is no mode at all and the control is the text editor.
//
// Positions and lengths count UTF-16 units, as the text editor does.
#include <memory>
#include <string>

#include "toolkit/editors/cxMaskEditModes.h"
#include "toolkit/editors/cxTextEdit.h"

namespace cx {

using TcxEditMask = std::string;
using TcxMaskEditModeClass = TClassRef<TcxMaskEditCustomMode, IcxMaskEditHost*, const TcxMaskModeSettings&>;

// ---- properties -------------------------------------------------------------------------------

class TcxCustomMaskEditProperties : public TcxCustomTextEditProperties {
    RTL_CLASS(TcxCustomMaskEditProperties, TcxCustomTextEditProperties)
    explicit TcxCustomMaskEditProperties(TPersistent* owner);
    ~TcxCustomMaskEditProperties() override;
    void Assign(TPersistent* source) override;

    // --- settings
    TcxEditMaskKind MaskKind() const { return maskKind_; }
    void SetMaskKind(TcxEditMaskKind value);
    // The effective mask (see GetEditMask); the setter compiles first and raises
    // EcxMaskEditError for a mask that does not compile, keeping the old one.
    TcxEditMask EditMask() const { return GetEditMask(); }
    void SetEditMask(const TcxEditMask& value);
    // The mask as stored, before the data's default applies.
    const TcxEditMask& StoredEditMask() const { return editMask_; }
    bool CaseInsensitive() const { return caseInsensitive_; }
    void SetCaseInsensitive(bool value);
    bool AlwaysShowBlanksAndLiterals() const { return alwaysShowBlanksAndLiterals_; }
    void SetAlwaysShowBlanksAndLiterals(bool value);
    bool IgnoreMaskBlank() const { return ignoreMaskBlank_; }
    void SetIgnoreMaskBlank(bool value) { ignoreMaskBlank_ = value; }
    void SetCharCase(TEditCharCase value) override;

    // --- the mask
    // A standard kind with an empty stored mask takes the data's default mask.
    TcxEditMask GetEditMask() const;
    bool IsMasked() const { return !EmptyMask(GetEditMask()); }
    // Empty: no characters, or only blank ones (#0, #9, #10, #12, #13, space).
    static bool EmptyMask(const TcxEditMask& mask);
    virtual TcxMaskEditModeClass GetModeClass(TcxEditMaskKind kind) const;
    // A new mode of the current kind compiled with the effective mask; null when unmasked.
    std::unique_ptr<TcxMaskEditCustomMode> CreateMode(IcxMaskEditHost* host = nullptr);
    // The empty text of the mask the editing control shows (written by the control).
    const std::u16string& GetEmptyString() const { return emptyString_; }
    void SetEmptyString(const std::u16string& value) { emptyString_ = value; }
    TcxMaskModeSettings ModeSettings() const;

    // --- overrides
    void Changed() override;
    TcxEditDisplayFormatOptions GetDisplayFormatOptions() const override;
    const TClassMeta* GetContainerClass() const override;
    bool IsEditValueValid(Variant& editValue, bool editFocused) override;
    void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused) override;
    void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                              IcxEditValidationTarget* edit) override;
    void MaxLengthChanged() override;
    bool UseLookupData() const override;

private:
    bool TemporaryModeFits() const;
    TcxEditMaskKind maskKind_ = emkStandard;
    TcxEditMask editMask_;
    bool caseInsensitive_ = true;
    bool alwaysShowBlanksAndLiterals_ = false;
    bool ignoreMaskBlank_ = false;
    std::u16string emptyString_;
    std::unique_ptr<TcxMaskEditCustomMode> temporaryMode_;
    bool maxLengthResetting_ = false;
};

class TcxMaskEditProperties : public TcxCustomMaskEditProperties {
    RTL_CLASS(TcxMaskEditProperties, TcxCustomMaskEditProperties)
    using TcxCustomMaskEditProperties::TcxCustomMaskEditProperties;
};

// ---- the control --------------------------------------------------------------------------------

class TcxCustomMaskEdit : public TcxCustomTextEdit {
    RTL_CLASS(TcxCustomMaskEdit, TcxCustomTextEdit)
    explicit TcxCustomMaskEdit(TComponent* owner, bool isInplace = false);
    ~TcxCustomMaskEdit() override;

    TcxCustomMaskEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomMaskEditProperties*>(TcxCustomTextEdit::ActiveProperties());
    }
    TcxCustomMaskEditProperties* Properties() const
    {
        return static_cast<TcxCustomMaskEditProperties*>(TcxCustomTextEdit::Properties());
    }
    // The mode the text is edited through; null while the editor is unmasked.
    TcxMaskEditCustomMode* Mode() const { return mode_.get(); }
    bool IsMasked() const { return mode_ != nullptr; }
    // The editor's text in the mode's updated form (blanks as spaces, literals the mask does not
    // save dropped); empty while unmasked.
    const std::string& MaskText() const { return maskText_; }
    // Shift was held at the last key-down (the mode extends selections then).
    bool Selecting() const { return selecting_; }
    void SetSelecting(bool value) { selecting_ = value; }

    // --- introduced
    virtual bool CanSynchronizeModeText() { return true; }
    virtual bool IsCharValidForPos(char16_t& ch, int position) { return true; }
    virtual void UpdateTextFormatting();

    // --- overrides
    // While masked, Text is the mask's updated form of the shown text, and setting it sets the
    // edit value (shown through the mask).
    std::string Text() override;
    bool SetDisplayText(const std::string& value) override;
    void PropertiesChanged(TObject* sender) override;
    void InternalSetDisplayValue(const Variant& value) override;
    void SynchronizeDisplayValue() override;
    void UndoPerformed() override;
    void ChangeHandler(TObject* sender) override;
    void PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused) override;
    void SelChange(TObject* sender) override;
    void FieldMouseSelection(bool dragging) override;
    void CutToClipboard() override;
    void PasteFromClipboard() override;
    void SetSelText(const std::string& value) override;
    void Loaded() override;

protected:
    TcxCustomMaskEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    // The classes of a text-edit based kind with the given properties class.
    static TcxEditClasses ClassesWith(TcxCustomEditPropertiesClass properties);
    void DoEditKeyDown(std::uint16_t& key, TShiftState shift) override;
    void DoEditKeyPress(char16_t& key) override;
    void DoEnter() override;
    void DblClick() override;

private:
    class THost;
    friend class THost;
    // The mask part of the set-up: the mode for the properties' mask and its empty text.
    void InitializeMode();
    // Replaces the mode when the kind or the effective mask changed; answers whether it did.
    bool UpdateMode();
    std::u16string InnerText();
    void SendOwnKey(UINT message, WPARAM key);
    // Runs a paste-like insertion of `length` characters through the mode's paste hooks.
    template <class F>
    void WithModePaste(int length, F&& insert);
    std::unique_ptr<IcxMaskEditHost> host_;
    std::unique_ptr<TcxMaskEditCustomMode> mode_;
    std::string maskText_;
    TcxEditMaskKind modeKind_ = emkStandard;
    TcxEditEchoMode echoMode_ = eemNormal;
    TEditCharCase charCase_ = ecNormal;
    bool ownKey_ = false;
    bool selecting_ = false;
    bool directSelection_ = false;
    bool modeUpdating_ = false;
};

class TcxMaskEdit : public TcxCustomMaskEdit {
    RTL_CLASS(TcxMaskEdit, TcxCustomMaskEdit)
    explicit TcxMaskEdit(TComponent* owner, bool isInplace = false);
    TcxMaskEditProperties* Properties() const
    {
        return static_cast<TcxMaskEditProperties*>(TcxCustomMaskEdit::Properties());
    }
};

// ---- filter helper and unit start-up -------------------------------------------------------------

class TcxFilterMaskEditHelper : public TcxFilterTextEditHelper {
    RTL_CLASS(TcxFilterMaskEditHelper, TcxFilterTextEditHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                          TcxValueTypeClass valueTypeClass,
                                                          bool extendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                              bool hasButtons) const override;
};

namespace cxMaskEditUnit {
void Initialize();   // once: the properties class in the editor registry and its filter helper
void Finalize();
} // namespace cxMaskEditUnit

} // namespace cx

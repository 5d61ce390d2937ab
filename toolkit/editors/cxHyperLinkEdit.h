#pragma once
// The hyperlink editor: a text editor whose text is a link, painted underlined in a link colour,
// completed with a prefix and opened on a double click, a single click or the start key.
//
// Opening goes through a replaceable opener (the desktop's URL handler by default) and only for a
// well-formed http, https, ftp or mailto address; nothing is ever handed to a shell.
#include <functional>

#include "toolkit/editors/cxTextEdit.h"

namespace cx {

enum TcxHyperLinkEditUsePrefix { upAlways, upOnlyOnExecute, upNever };

// Opens an address; answers whether it was opened.
using TcxHyperLinkOpener = std::function<bool(const std::string& url)>;
// Installs an opener (null: the desktop's) and returns the previous one.
TcxHyperLinkOpener SetHyperLinkOpener(TcxHyperLinkOpener opener);
// A strict address: http, https or ftp with a host name (or IPv4 address) and an optional port,
// path, query and fragment; or mailto with one address. Printable ASCII only, no spaces.
bool IsWellFormedHyperLink(const std::string& url);

using TcxHyperLinkOpenFailedEvent = Event<void(TObject* sender, const std::string& url)>;

class TcxCustomHyperLinkEditProperties : public TcxCustomTextEditProperties {
    RTL_CLASS(TcxCustomHyperLinkEditProperties, TcxCustomTextEditProperties)
    explicit TcxCustomHyperLinkEditProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;
    // "Prefix" is streamed only when it differs from the default prefix.
    void DefineProperties(TFiler* filer) override;

    TColor LinkColor() const { return linkColor_; }
    void SetLinkColor(TColor value);
    std::string Prefix() const { return prefix_; }
    void SetPrefix(const std::string& value) { prefix_ = value; }
    bool SingleClick() const { return singleClick_; }
    void SetSingleClick(bool value);
    TShortCut StartKey() const { return startKey_; }
    void SetStartKey(TShortCut value) { startKey_ = value; }
    TcxHyperLinkEditUsePrefix UsePrefix() const { return usePrefix_; }
    void SetUsePrefix(TcxHyperLinkEditUsePrefix value) { usePrefix_ = value; }
    // Kept for old settings: whether a prefix is used at all.
    bool AutoComplete() const { return usePrefix_ != upNever; }
    void SetAutoComplete(bool value) { usePrefix_ = value ? upAlways : upNever; }
    TNotifyEvent OnStartClick;

    // The text trimmed, with the prefix in front unless it has it (or another address scheme).
    virtual std::string AddPrefixTo(const std::string& text);

    void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                              IcxEditValidationTarget* edit) override;
    TcxEditSupportedOperations GetSupportedOperations() override;
    TcxContainerStyleClass GetStyleClass() const override;
    TcxCustomEditViewInfoClass GetViewInfoClass() const override;
    const TClassMeta* GetContainerClass() const override;

private:
    TColor linkColor_ = clBlue;
    std::string prefix_;
    bool singleClick_ = false;
    TShortCut startKey_ = 16397;   // Ctrl+Enter
    TcxHyperLinkEditUsePrefix usePrefix_ = upAlways;
};

class TcxHyperLinkEditProperties : public TcxCustomHyperLinkEditProperties {
    RTL_CLASS(TcxHyperLinkEditProperties, TcxCustomHyperLinkEditProperties)
    using TcxCustomHyperLinkEditProperties::TcxCustomHyperLinkEditProperties;
};

// The link colour and an underline, unless the style is read directly.
class TcxHyperLinkStyle : public TcxEditStyle {
    RTL_CLASS(TcxHyperLinkStyle, TcxEditStyle)
    using TcxEditStyle::TcxEditStyle;
    TColor GetTextColor() const override;
    TFontStyles GetTextStyle() const override;
};

class TcxHyperLinkEditViewInfo : public TcxCustomTextEditViewInfo {
    RTL_CLASS(TcxHyperLinkEditViewInfo, TcxCustomTextEditViewInfo)
    TcxHyperLinkEditViewInfo() = default;
    // LinkColor, with the default blue taken from the look and feel.
    virtual TColor GetHyperLinkTextColor() const;
    void GetColorSettingsByPainter(TColor& background, TColor& textColor) const override;
    bool IsHotTrack() const override;
    bool IsHotTrack(const TPoint& p) const override;
    void PrepareCanvasFont(TCanvas* canvas) override;

private:
    TcxCustomHyperLinkEditProperties* LinkProperties() const;
};

class TcxCustomHyperLinkEdit : public TcxCustomTextEdit {
    RTL_CLASS(TcxCustomHyperLinkEdit, TcxCustomTextEdit)
    explicit TcxCustomHyperLinkEdit(TComponent* owner, bool isInplace = false);
    TcxCustomHyperLinkEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomHyperLinkEditProperties*>(TcxCustomEdit::ActiveProperties());
    }
    TcxCustomHyperLinkEditProperties* Properties() const
    {
        return static_cast<TcxCustomHyperLinkEditProperties*>(TcxCustomEdit::Properties());
    }

    // Opens the link (or lets OnStartClick act instead). A text that is not a well-formed
    // address beeps; an address the opener could not open is reported through OnOpenFailed (a
    // beep when nobody listens). Answers whether something was opened or handled.
    virtual bool DoStart();
    TcxHyperLinkOpenFailedEvent OnOpenFailed;

    void SelectAll() override;
    void PropertiesChanged(TObject* sender) override;
    void ActivateByMouse(TShiftState shift, int x, int y, TcxCustomEditData*& editData) override;

protected:
    TcxCustomHyperLinkEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter(TControl* control) override;
    void MouseLeave(TControl* control) override;

private:
    bool DoOnStartClick();
    void ShowHandCursor();
    void RestoreCursor();
    bool handShown_ = false;
    TCursor savedCursor_ = crDefault;
};

class TcxHyperLinkEdit : public TcxCustomHyperLinkEdit {
    RTL_CLASS(TcxHyperLinkEdit, TcxCustomHyperLinkEdit)
    explicit TcxHyperLinkEdit(TComponent* owner, bool isInplace = false);
    TcxHyperLinkEditProperties* Properties() const
    {
        return static_cast<TcxHyperLinkEditProperties*>(TcxCustomHyperLinkEdit::Properties());
    }
};

class TcxFilterHyperLinkEditHelper : public TcxFilterTextEditHelper {
    RTL_CLASS(TcxFilterHyperLinkEditHelper, TcxFilterTextEditHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
};

namespace cxHyperLinkEditUnit {
void Initialize();   // the properties class in the editor registry and the filter helper pair
void Finalize();
} // namespace cxHyperLinkEditUnit

} // namespace cx

#pragma once
// The memo: the multi-line member of the text family. Its field is a platform memo (a plain-text
// editor underneath) whose input takes the text editor's roads; grid cells show the first line.
//
// The whole text stays within MaxLength on every insert path (typing, paste, drop, input method,
// SelText): the inserted part gives way, never the text after the caret.
#include "toolkit/editors/cxTextEdit.h"

namespace cx {

// Cuts a text at its first CR or LF among the first maxLength characters, and to maxLength in any
// case (0, or a maximum not below the length: no length limit).
void ExtractFirstLine(std::u16string& text, int maxLength);
// Line breaks as the memo stores them: CR LF stays, an LF CR pair is two breaks, and a lone CR or
// LF becomes CR LF.
std::u16string NormalizeMemoLineBreaks(const std::u16string& text);

class TcxCustomMemoProperties : public TcxCustomTextEditProperties {
    RTL_CLASS(TcxCustomMemoProperties, TcxCustomTextEditProperties)
    explicit TcxCustomMemoProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;

    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    int VisibleLineCount() const { return visibleLineCount_; }
    void SetVisibleLineCount(int value);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    bool IsMultiLine() const override { return true; }
    // Cells show the first line, 250 characters at most; the full text on request.
    std::u16string GetDisplayText(const Variant& editValue, bool fullText = false, bool isInplace = true) override;
    TcxCustomEditViewDataClass GetViewDataClass() const override;
    TcxCustomEditViewInfoClass GetViewInfoClass() const override;
    const TClassMeta* GetContainerClass() const override;

private:
    template <class T>
    void Set(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    TScrollStyle scrollBars_ = ssNone;
    int visibleLineCount_ = 0;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    bool wordWrap_ = true;
};

class TcxMemoProperties : public TcxCustomMemoProperties {
    RTL_CLASS(TcxMemoProperties, TcxCustomMemoProperties)
    using TcxCustomMemoProperties::TcxCustomMemoProperties;
};

class TcxCustomMemoViewData : public TcxCustomTextEditViewData {
    RTL_CLASS(TcxCustomMemoViewData, TcxCustomTextEditViewData)
    using TcxCustomTextEditViewData::TcxCustomTextEditViewData;
    unsigned GetDrawTextFlags() override;
    TRect GetDrawTextOffset() override;
    TSize GetEditContentSizeCorrection() override;
    int GetMaxLineCount() override;
    TcxCustomMemoProperties* MemoProperties() const { return static_cast<TcxCustomMemoProperties*>(Properties()); }

protected:
    TSize InternalGetEditConstantPartSize(TcxCanvas* canvas, bool isInplace, const TcxEditSizeProperties& sizeProperties,
                                          TSize& minContentSize, TcxCustomEditViewInfo* viewInfo) override;
    TSize InternalGetEditContentSize(TcxCanvas* canvas, const Variant& value,
                                     const TcxEditSizeProperties& sizeProperties) override;
};

class TcxCustomMemoViewInfo : public TcxCustomTextEditViewInfo {
    RTL_CLASS(TcxCustomMemoViewInfo, TcxCustomTextEditViewInfo)
    TcxCustomMemoViewInfo() = default;
};

class TcxCustomInnerMemo;

// What the editor asks of its inner memo: the inner text edit's questions on a memo.
class TcxCustomInnerMemoHelper : public TcxInnerTextEditAdapter<TcxCustomInnerMemo> {
public:
    using TcxInnerTextEditAdapter::TcxInnerTextEditAdapter;
    TAlignment GetAlignment() override;
    void SetAlignment(TAlignment value) override;
    TcxEditEchoMode GetEchoMode() override { return eemNormal; }
    void SetEchoMode(TcxEditEchoMode) override {}
    int GetFirstVisibleCharIndex() override;
    bool GetMultiLine() override { return true; }
    char16_t GetPasswordChar() override { return 0; }
    void SetPasswordChar(char16_t) override {}
};

// The multi-line field: a platform memo whose container hears every input path first. Its own
// scroll bars stay hidden: the container's painted ones lie over the strips it keeps free and
// mirror its range and position (every scroll, resize, key and text change refreshes them).
class TcxCustomInnerMemo : public TcxInnerControlMouseForwarder<TMemo, TcxCustomInnerMemo>,
                           public IcxInnerEditHelper,
                           public IcxNativeScrollBars {
    RTL_CLASS(TcxCustomInnerMemo, TMemo)
    explicit TcxCustomInnerMemo(TComponent* owner);
    IcxCustomInnerEdit* GetHelper() override { return &helper_; }
    // IcxNativeScrollBars: the kept strips, in screen coordinates, and the memo's scroll state.
    bool GetScrollBarInfo(TScrollBarKind kind, TcxScrollBarInfo& info) override;
    bool GetScrollInfo(TScrollBarKind kind, TcxScrollInfo& info) override;
    TcxCustomTextEdit* Container() const;
    bool InternalUpdating = false;
    TNotifyEvent OnSelChange;
    void SetBounds(int left, int top, int width, int height) override;
    void LockBounds(bool lock);
    bool CanFocus() const override;
    void DefWndProc(TMessage& msg) { TMemo::DefaultHandler(msg); }
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
    void DragDrop(TObject* source, int x, int y) override;

protected:
    void Dispatch(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;

private:
    TcxCustomInnerMemoHelper helper_{this};
    bool constructing_ = true;
    int boundsLock_ = 0;
    bool escapePending_ = false;
};

class TcxCustomMemo : public TcxCustomTextEdit {
    RTL_CLASS(TcxCustomMemo, TcxCustomTextEdit)
    explicit TcxCustomMemo(TComponent* owner, bool isInplace = false);
    TcxCustomMemoProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomMemoProperties*>(TcxCustomEdit::ActiveProperties());
    }
    TcxCustomMemoProperties* Properties() const
    {
        return static_cast<TcxCustomMemoProperties*>(TcxCustomEdit::Properties());
    }
    TcxCustomInnerMemo* InnerMemo() const;
    std::vector<std::string> Lines() const;
    // The caret as (column, line).
    TPoint CaretPos() const;
    void SetCaretPos(const TPoint& p);

    virtual bool CanMemoKeyModifyEdit(std::uint16_t key, TShiftState shift, bool isKeyPress);
    bool CanKeyDownModifyEdit(std::uint16_t key, TShiftState shift) override;
    bool IsEditClass() const override { return true; }
    bool TabsNeeded() const override;
    // The container's scroll bars exist once ScrollBars was set to show any.
    bool NeedsScrollBars() const override;
    // The container's bars scroll the memo: a line up or down by one line, anything else through
    // the memo's own scroll handling; pos becomes the memo's new position.
    void Scroll(TScrollBarKind kind, TScrollCode code, int& pos) override;
    // The bars follow the field; with both shown, the container's size grip fills the corner.
    void SetScrollBarsParameters(bool skipPlacement = false) override;
    bool CanScrollLineWithoutScrollBars(TcxDirection direction) override
    {
        return direction == dirUp || direction == dirDown;
    }
    // Loading: after the stored properties, a memo whose lines were loaded takes them as its
    // edit value.
    void ReadState(rtl::TReader* reader);
    bool SendActivationKey(char16_t key) override { return key != u'\r'; }
    void AdjustInnerEditPosition() override;
    void PropertiesChanged(TObject* sender) override;
    void PasteFromClipboard() override;

protected:
    TcxCustomMemo(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    void DoEditKeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;

private:
    void Construct();
    bool scrollBarsChanged_ = false;
};

class TcxMemo : public TcxCustomMemo {
    RTL_CLASS(TcxMemo, TcxCustomMemo)
    explicit TcxMemo(TComponent* owner, bool isInplace = false);
    TcxMemoProperties* Properties() const { return static_cast<TcxMemoProperties*>(TcxCustomMemo::Properties()); }
};

class TcxFilterMemoHelper : public TcxFilterTextEditHelper {
    RTL_CLASS(TcxFilterMemoHelper, TcxFilterTextEditHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                          TcxValueTypeClass valueTypeClass,
                                                          bool extendedSet = false) const override;
};

namespace cxMemoUnit {
void Initialize();   // the properties class in the editor registry and the filter helper pair
void Finalize();
} // namespace cxMemoUnit

} // namespace cx

#pragma once
// The standard controls: the edit control (TCustomEdit on a QLineEdit), the memo (TCustomMemo on
// a QPlainTextEdit), buttons, check boxes, radio buttons and labels.
//
// An edit control behaves as the system's edit window: Qt's keys and mouse reach it as messages
// first (so a parent, a key preview or the control's events may change or refuse them), and
// only its default handling (DefaultHandler) hands them to the Qt editor: WM_CHAR types, deletes
// (backspace), copies, cuts, pastes and undoes (Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z), WM_KEYDOWN
// moves and selects; Shift+Insert, Ctrl+Insert and Shift+Delete become WM_PASTE, WM_COPY and
// WM_CUT sent to the control. Text changes are told to the parent as WM_COMMAND with EN_CHANGE,
// which the parent reflects as CN_COMMAND to the control (Change, OnChange).
//
// Message conventions: positions and lengths (EM_GETSEL, EM_SETSEL, EM_LINEINDEX, EM_LIMITTEXT,
// EM_CHARFROMPOS, ...) count UTF-16 units, as the system's wide edit control does; text buffers
// (WM_SETTEXT, WM_GETTEXT, EM_REPLACESEL, EM_GETLINE) are UTF-8 `char*`, sizes in bytes. A memo's
// text has CR LF line breaks, each counting two positions.
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

#include <memory>
#include <string>
#include <vector>

namespace vcl {
class EditBox;
}

using TBorderStyle = TFormBorderStyle; // bsNone or bsSingle
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
    RTL_CLASS(TCustomEdit, TWinControl)
    explicit TCustomEdit(rtl::TComponent* owner);
    ~TCustomEdit() override;

    // The text (UTF-8); setting it is WM_SETTEXT: clears the undo buffer and the modified flag
    // and tells EN_CHANGE.
    std::string Text() const;
    void SetText(const std::string& s);
    int GetTextLen() const; // UTF-16 units

    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    std::string SelText() const;
    // Replaces the selection as EM_REPLACESEL does (undoable, limited by MaxLength).
    void SetSelText(const std::string& s);
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool CanUndo() const;
    void Undo();
    void ClearUndo();
    void Clear() { SetText({}); }

    // The most UTF-16 units the user may type or paste; 0 is no limit. Text set by code is
    // never cut.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool Modified() const;
    void SetModified(bool v);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase v);
    char16_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char16_t c);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);
    bool AutoSelect = true;
    // Without the focus the selection is painted as plain text (ES_NOHIDESEL when False).
    bool HideSelection = true;
    bool OEMConvert = false;

    TNotifyEvent OnChange;

    // The Qt editor while the window exists (tests and the peer's helpers).
    vcl::EditBox* Box() const { return box_; }

    // The edit window's own context menu (undo, cut, copy, paste, delete, select all), shown
    // for WM_CONTEXTMENU nobody else took; its items follow the edit's state when it opens.
    TPopupMenu* EditMenu();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;
    virtual void Change();
    virtual bool IsMultiLine() const { return false; }
    // The Qt editor of this kind of control, a child of the peer.
    virtual vcl::EditBox* CreateBox(QWidget* parent);

    // Typing: the characters WM_CHAR brings, after the parent and the events had their say.
    void TypeText(std::u16string text);
    // Replaces the selection, limited by MaxLength when `limited`; tells EN_MAXTEXT when cut.
    void ReplaceSelection(std::u16string text, bool limited, bool canUndo);
    // Compares the text with the last one seen and tells a change (EN_CHANGE).
    void TextEdited(bool byUser);
    // Tells the parent a notification code (WM_COMMAND; reflected back as CN_COMMAND).
    void NotifyParent(std::uint16_t code);

private:
    void ApplyAppearance();
    void ShowEditMenu(TMessage& m);
    void SendToWindow(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    void HandleKeyDown(TMessage& m);
    void HandleChar(TMessage& m);
    void HandleMouse(TMessage& m);
    std::u16string Cased(std::u16string s) const;

    vcl::EditBox* box_ = nullptr;
    std::u16string last_;      // the text at the last change notice
    std::u16string pendingHigh_; // a high surrogate waiting for its low half
    int maxLength_ = 0;
    bool readOnly_ = false;
    bool modified_ = false;
    TEditCharCase charCase_ = ecNormal;
    char16_t passwordChar_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    TAlignment alignment_ = taLeftJustify;
    int leftMargin_ = 0, rightMargin_ = 0;
    bool creating_ = false;
    TPopupMenu* editMenu_ = nullptr;
};

class TEdit : public TCustomEdit {
    RTL_CLASS(TEdit, TCustomEdit)
    using TCustomEdit::TCustomEdit;
};

// The memo: a multi-line edit control whose Lines are the text's lines.
class TCustomMemo : public TCustomEdit {
    RTL_CLASS(TCustomMemo, TCustomEdit)
    explicit TCustomMemo(rtl::TComponent* owner);

    // The lines (hard line breaks; a wrapped line stays one line).
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    int LineCount() const;
    // The caret as (column, line).
    TPoint CaretPos() const;
    void SetCaretPos(const TPoint& p);

    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    bool WantReturns = true;
    bool WantTabs = false;
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TAlignment Alignment = taLeftJustify;

    // Another control paints the memo's scroll bars: the memo keeps their strips free (at the
    // right and bottom edges, the system's bar sizes) and its own bars stay hidden. Either way
    // WM_VSCROLL and WM_HSCROLL scroll the memo, and every move of its range or position is told
    // to the parent as EN_VSCROLL or EN_HSCROLL.
    bool ExternalScrollBars() const { return externalScrollBars_; }
    void SetExternalScrollBars(bool v);
    // A bar as the system would report it; Shown follows ScrollBars. Vertical units are lines,
    // horizontal ones pixels.
    TScrollBarState ScrollBarState(TScrollBarKind kind) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;
    bool IsMultiLine() const override { return true; }
    vcl::EditBox* CreateBox(QWidget* parent) override;
    void KeyPress(char16_t& key) override;

private:
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    bool externalScrollBars_ = false;
};

class TMemo : public TCustomMemo {
    RTL_CLASS(TMemo, TCustomMemo)
    using TCustomMemo::TCustomMemo;
};

// ---------------------------------------------------------------------------------------------
// Buttons paint themselves. A click (the mouse released over the button, Space, or the form's
// Enter and Esc for the default and cancel buttons) runs Click.
// The character after a single '&' of a caption, lower-cased; 0 for none.
char16_t AccelOf(const std::string& caption);

class TButtonControl : public TCustomControl {
    RTL_CLASS(TButtonControl, TCustomControl)
    explicit TButtonControl(rtl::TComponent* owner);

protected:
    void Dispatch(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;
    void Paint() override;
    virtual void PaintButton(TCanvas* canvas, const TRect& client, bool down) = 0;
    // Draws the caption (accelerator marks removed) in r.
    void PaintCaption(TCanvas* canvas, TRect r, unsigned format);
    bool IsAccel(char16_t ch) const;
    // Whether the caption's accelerator focuses the button before clicking it.
    virtual bool AccelFocuses() const { return false; }
    // Pressed by the mouse or Space: what an owner-drawn button shows sunken.
    bool Pressed() const { return down_; }

private:
    bool down_ = false;       // pressed by the mouse or Space, shown sunken
    bool mouseDown_ = false;
    bool spaceDown_ = false;
};

class TButton : public TButtonControl {
    RTL_CLASS(TButton, TButtonControl)
    explicit TButton(rtl::TComponent* owner);
    // Enter in the form clicks the default button (unless another button has the focus; a
    // focused button is the one Enter clicks); Esc clicks the cancel button.
    bool Default = false;
    bool Cancel = false;
    // Given to the parent form when the button is clicked (a modal form then closes).
    TModalResult ModalResult = mrNone;
    void Click() override;

protected:
    void Dispatch(TMessage& msg) override;
    void PaintButton(TCanvas* canvas, const TRect& client, bool down) override;
    // The button Enter would click now (focused, or Default while no other button has the
    // focus): it is drawn with the default highlight.
    bool Active() const;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
    RTL_CLASS(TCheckBox, TButtonControl)
    explicit TCheckBox(rtl::TComponent* owner);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    // A change runs OnClick, also when made by code.
    void SetState(TCheckBoxState s);
    bool AllowGrayed = false;
    // Unchecked, checked, grayed (when allowed), unchecked.
    void Click() override;

protected:
    void PaintButton(TCanvas* canvas, const TRect& client, bool down) override;
    bool AccelFocuses() const override { return true; }

private:
    TCheckBoxState state_ = cbUnchecked;
};

class TRadioButton : public TButtonControl {
    RTL_CLASS(TRadioButton, TButtonControl)
    explicit TRadioButton(rtl::TComponent* owner);
    bool Checked() const { return checked_; }
    // Checking one clears the other radio buttons of the same parent and runs OnClick.
    void SetChecked(bool v);
    void Click() override { SetChecked(true); }

protected:
    void PaintButton(TCanvas* canvas, const TRect& client, bool down) override;
    bool AccelFocuses() const override { return true; }
    void DoEnter() override;

private:
    bool checked_ = false;
};

// A caption painted on its parent; sized to its text while AutoSize.
class TLabel : public TGraphicControl {
    RTL_CLASS(TLabel, TGraphicControl)
    explicit TLabel(rtl::TComponent* owner);
    TAlignment Alignment = taLeftJustify;
    bool Transparent = false;
    bool WordWrap = false;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TWinControl* FocusControl = nullptr;

protected:
    void Dispatch(TMessage& msg) override;
    void Paint() override;

private:
    void AdjustBounds();
    bool autoSize_ = true;
};

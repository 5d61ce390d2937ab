#pragma once
// The Qt editor inside an edit control's peer, as the control's default handling sees it: a
// QLineEdit for one line, a QPlainTextEdit for a memo. Positions are the system's (UTF-16 units;
// in a memo a line break is CR LF and counts two). The box never changes the text on its own:
// Qt's keys, mouse and input-method events go to the peer (and so through the messages first);
// the control calls the Forward functions from its default handling.
#include "platform/vcl/Messages.h"
#include "platform/rtl/Types.h"

#include <string>

class QWidget;
class QKeyEvent;
class QMouseEvent;
class QInputMethodEvent;
class QFont;
class QColor;

namespace vcl {

class EditBox {
public:
    virtual ~EditBox() = default;
    virtual QWidget* Widget() = 0;

    virtual std::u16string Text() const = 0;
    // Sets the text and forgets the undo history.
    virtual void SetText(const std::u16string& s) = 0;
    virtual int Length() const { return int(Text().size()); }
    virtual void GetSelection(int& start, int& end) const = 0;
    // end < 0 is the end of the text; start < 0 removes the selection (the caret stays).
    virtual void SetSelection(int start, int end) = 0;
    // Replaces the selection; undoable.
    virtual void ReplaceSelection(const std::u16string& s) = 0;
    virtual bool CanUndo() const = 0;
    virtual void Undo() = 0;
    virtual void ClearUndo() = 0;
    virtual void SetReadOnly(bool v) = 0;
    virtual void SetPassword(char16_t c) = 0;
    virtual void SetFrame(bool v) = 0;
    virtual void SetAlignment(int esAlign) = 0;
    virtual void SetMargins(int left, int right) = 0;
    virtual void SetLook(const QFont& font, const QColor& text, const QColor& base) = 0;
    // False paints the selection as plain text (an edit without the focus hides it unless
    // ES_NOHIDESEL); it stays selected.
    virtual void ShowSelection(bool shown) = 0;

    // Lines: the line of a position, the first position of a line, a line's length.
    virtual int LineCount() const { return 1; }
    virtual int LineFromChar(int) const { return 0; }
    virtual int LineIndex(int line) const { return line == 0 ? 0 : -1; }
    virtual int LineLength(int) const { return Length(); }
    virtual int FirstVisibleLine() const = 0;
    virtual void ScrollLines(int) {}
    virtual void ScrollCaret() = 0;
    // The position nearest a client point, and a position's client point (x, y of its top left).
    virtual int CharFromPos(const TPoint& p) const = 0;
    virtual TPoint PosFromChar(int pos) const = 0;
    virtual TRect CaretRect() const = 0;

    // Default handling of input that went through the messages.
    virtual void ForwardKey(QKeyEvent* e) = 0;
    virtual void ForwardMouse(QMouseEvent* e) = 0;
    virtual void ForwardPreedit(QInputMethodEvent* e) = 0;
};

} // namespace vcl

#include "platform/vcl/StdCtrls.h"

#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiConsts.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/Input.h"
#include "platform/vcl/Keys.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"
#include "platform/vcl/SystemFacade.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>
#include <cstring>
#include <map>

namespace vcl {
namespace {

QColor QColorOf(TColor c)
{
    const auto rgb = std::uint32_t(rtl::profile::ColorToRGB(c));
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

// The device context's font for the field too, so that typed text looks as painted text does;
// Qt draws underline and strike-out itself.
QFont QFontOf(const TFont* f)
{
    QFont q = gdi::QtFontOf(f->GetHandle().lf);
    const TFontStyles st = f->GetStyle();
    q.setUnderline((st & FontStyle(fsUnderline)) != 0);
    q.setStrikeOut((st & FontStyle(fsStrikeOut)) != 0);
    return q;
}

// Qt's input for the inner editor goes to the peer first: keys and input-method text become
// messages there; mouse events are left unaccepted so that Qt hands them to the peer.
bool RouteToPeer(QWidget* self, QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
        if (QWidget* peer = self->parentWidget())
            QCoreApplication::sendEvent(peer, e);
        e->accept();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        e->ignore();
        return true;
    default:
        return false;
    }
}

// The font and colours of an edit's Qt editor, and whether its selection shows.
class Look {
public:
    void Set(QWidget* w, const QFont& font, const QColor& text, const QColor& base)
    {
        w->setFont(font);
        text_ = text;
        base_ = base;
        Apply(w);
    }
    void ShowSelection(QWidget* w, bool shown)
    {
        if (shown == shown_)
            return;
        shown_ = shown;
        Apply(w);
    }

private:
    void Apply(QWidget* w) const
    {
        QPalette p = w->palette();
        const QPalette standard = QApplication::palette(w);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            if (text_.isValid())
                p.setColor(group, QPalette::Text, text_);
            if (base_.isValid())
                p.setColor(group, QPalette::Base, base_);
            // A hidden selection is painted in the text's own colours.
            p.setColor(group, QPalette::Highlight,
                       shown_ || !base_.isValid() ? standard.color(group, QPalette::Highlight) : base_);
            p.setColor(group, QPalette::HighlightedText,
                       shown_ || !text_.isValid() ? standard.color(group, QPalette::HighlightedText) : text_);
        }
        w->setPalette(p);
    }
    QColor text_, base_;
    bool shown_ = true;
};

// The password character of a line editor is its style's answer.
class PasswordStyle : public QProxyStyle {
public:
    explicit PasswordStyle(char16_t c) : c_(c) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return int(c_);
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

private:
    char16_t c_;
};

// One style per character, kept for the program's run: a widget does not own its style.
QStyle* PasswordStyleOf(char16_t c)
{
    static auto* styles = new std::map<char16_t, QStyle*>;
    QStyle*& s = (*styles)[c];
    if (!s)
        s = new PasswordStyle(c);
    return s;
}

std::u16string ToWin(const QString& s)
{
    // A memo's line breaks are CR LF.
    std::u16string out;
    out.reserve(std::size_t(s.size()));
    for (QChar c : s) {
        if (c == QChar(u'\n') || c == QChar::ParagraphSeparator) {
            out += u"\r\n";
        } else {
            out.push_back(c.unicode());
        }
    }
    return out;
}

QString FromWin(const std::u16string& s)
{
    QString out;
    out.reserve(int(s.size()));
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'\r') {
            out.append(QChar(u'\n'));
            if (i + 1 < s.size() && s[i + 1] == u'\n')
                ++i;
        } else {
            out.append(QChar(s[i]));
        }
    }
    return out;
}

// An edit control draws its text right at its margins; QLineEdit keeps two pixels more.
constexpr int kQtTextInset = 2;

class LineBox : public QLineEdit, public EditBox {
public:
    explicit LineBox(QWidget* parent) : QLineEdit(parent)
    {
        setMaxLength(std::numeric_limits<int>::max());
        setFocusPolicy(Qt::NoFocus);
        setAcceptDrops(false);
        setContextMenuPolicy(Qt::NoContextMenu);
    }
    QWidget* Widget() override { return this; }
    std::u16string Text() const override { return text().toStdU16String(); }
    void SetText(const std::u16string& s) override
    {
        setText(QString::fromStdU16String(s));
        setCursorPosition(0);
    }
    void GetSelection(int& start, int& end) const override
    {
        if (hasSelectedText()) {
            start = selectionStart();
            end = selectionEnd();
        } else {
            start = end = cursorPosition();
        }
    }
    void SetSelection(int start, int end) override
    {
        const int len = int(text().size());
        if (start < 0) {
            deselect();
            return;
        }
        if (end < 0 || end > len)
            end = len;
        start = std::min(start, len);
        if (start == end)
            setCursorPosition(start);
        else
            setSelection(start, end - start);
    }
    void ReplaceSelection(const std::u16string& s) override { insert(QString::fromStdU16String(s)); }
    bool CanUndo() const override { return isUndoAvailable(); }
    void Undo() override { undo(); }
    void ClearUndo() override
    {
        // Setting the text forgets the history; the selection is put back.
        const int anchor = hasSelectedText() ? (cursorPosition() == selectionStart() ? selectionEnd() : selectionStart())
                                             : cursorPosition();
        const int cursor = cursorPosition();
        setText(text());
        setCursorPosition(anchor);
        if (cursor != anchor)
            setSelection(anchor, cursor - anchor);
    }
    void SetReadOnly(bool) override {}
    void SetPassword(char16_t c) override
    {
        // The system shows the set character in place of each one typed.
        if (c)
            setStyle(PasswordStyleOf(c));
        setEchoMode(QLineEdit::Normal);
        if (c)
            setEchoMode(QLineEdit::Password);
    }
    void SetFrame(bool v) override { setFrame(v); }
    void SetAlignment(int a) override
    {
        setAlignment(Qt::AlignVCenter | (a == ES_RIGHT ? Qt::AlignRight : a == ES_CENTER ? Qt::AlignHCenter : Qt::AlignLeft));
    }
    void SetMargins(int left, int right) override
    {
        setTextMargins(left - kQtTextInset, 0, right - kQtTextInset, 0);
    }
    void SetLook(const QFont& font, const QColor& text, const QColor& base) override { look_.Set(this, font, text, base); }
    void ShowSelection(bool shown) override { look_.ShowSelection(this, shown); }
    int FirstVisibleLine() const override { return CharFromPos({contentsRect().left() + 1, height() / 2}); }
    void ScrollCaret() override {}
    int CharFromPos(const TPoint& p) const override
    {
        return const_cast<LineBox*>(this)->cursorPositionAt(QPoint(p.X, p.Y));
    }
    TPoint PosFromChar(int pos) const override
    {
        // From the caret's place, by the widths of the characters between.
        const QString shown = displayText();
        const QFontMetrics fm(font());
        const int caret = cursorPosition();
        const int caretX = cursorRect().left() + 5;
        const int x = caretX + fm.horizontalAdvance(shown.left(pos)) - fm.horizontalAdvance(shown.left(caret));
        return {x, cursorRect().top()};
    }
    TRect CaretRect() const override
    {
        const QRect r = cursorRect();
        return {r.left() + 5, r.top(), r.left() + 6, r.bottom() + 1};
    }
    void ForwardKey(QKeyEvent* e) override { QLineEdit::keyPressEvent(e); }
    void ForwardMouse(QMouseEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress: QLineEdit::mousePressEvent(e); break;
        case QEvent::MouseButtonRelease: QLineEdit::mouseReleaseEvent(e); break;
        case QEvent::MouseButtonDblClick: QLineEdit::mouseDoubleClickEvent(e); break;
        case QEvent::MouseMove: QLineEdit::mouseMoveEvent(e); break;
        default: break;
        }
    }
    void ForwardPreedit(QInputMethodEvent* e) override { QLineEdit::inputMethodEvent(e); }

private:
    Look look_;

protected:
    bool event(QEvent* e) override { return RouteToPeer(this, e) || QLineEdit::event(e); }
    void focusOutEvent(QFocusEvent* e) override
    {
        // The system's edit keeps its selection while another window has the focus.
        const int cursor = cursorPosition();
        const int anchor = hasSelectedText() ? (cursor == selectionStart() ? selectionEnd() : selectionStart()) : cursor;
        QLineEdit::focusOutEvent(e);
        if (anchor != cursor)
            setSelection(anchor, cursor - anchor);
    }
};

class MemoBox : public QPlainTextEdit, public EditBox {
public:
    explicit MemoBox(QWidget* parent) : QPlainTextEdit(parent)
    {
        setFocusPolicy(Qt::NoFocus);
        setAcceptDrops(false);
        setContextMenuPolicy(Qt::NoContextMenu);
        setTabChangesFocus(false);
    }
    QWidget* Widget() override { return this; }
    std::u16string Text() const override { return ToWin(toPlainText()); }
    void SetText(const std::u16string& s) override { setPlainText(FromWin(s)); }
    int Length() const override { return ToWinPos(document()->characterCount() - 1); }
    void GetSelection(int& start, int& end) const override
    {
        const QTextCursor c = textCursor();
        start = ToWinPos(c.selectionStart());
        end = ToWinPos(c.selectionEnd());
    }
    void SetSelection(int start, int end) override
    {
        QTextCursor c = textCursor();
        if (start < 0) {
            c.clearSelection();
        } else {
            const int last = document()->characterCount() - 1;
            c.setPosition(std::min(ToQtPos(start), last));
            c.setPosition(end < 0 ? last : std::min(ToQtPos(end), last), QTextCursor::KeepAnchor);
        }
        setTextCursor(c);
    }
    void ReplaceSelection(const std::u16string& s) override
    {
        QTextCursor c = textCursor();
        c.insertText(FromWin(s));
        setTextCursor(c);
    }
    bool CanUndo() const override { return document()->isUndoAvailable(); }
    void Undo() override { undo(); }
    void ClearUndo() override { document()->clearUndoRedoStacks(); }
    void SetReadOnly(bool) override {}
    void SetPassword(char16_t) override {}
    void SetFrame(bool v) override { setFrameShape(v ? QFrame::StyledPanel : QFrame::NoFrame); }
    void SetAlignment(int a) override
    {
        QTextOption o = document()->defaultTextOption();
        o.setAlignment(a == ES_RIGHT ? Qt::AlignRight : a == ES_CENTER ? Qt::AlignHCenter : Qt::AlignLeft);
        document()->setDefaultTextOption(o);
    }
    void SetMargins(int left, int right) override
    {
        leftMargin_ = left;
        rightMargin_ = right;
        ApplyMargins();
    }
    // Strips kept free at the right and bottom edges for scroll bars another control paints.
    void SetBarStrips(int right, int bottom)
    {
        rightStrip_ = right;
        bottomStrip_ = bottom;
        ApplyMargins();
    }
    void SetLook(const QFont& font, const QColor& text, const QColor& base) override { look_.Set(this, font, text, base); }
    void ShowSelection(bool shown) override { look_.ShowSelection(this, shown); }
    int LineCount() const override { return document()->blockCount(); }
    int LineFromChar(int pos) const override { return document()->findBlock(ToQtPos(pos)).blockNumber(); }
    int LineIndex(int line) const override
    {
        const QTextBlock b = document()->findBlockByNumber(line);
        return b.isValid() ? ToWinPos(b.position()) : -1;
    }
    int LineLength(int pos) const override { return document()->findBlock(ToQtPos(pos)).length() - 1; }
    int FirstVisibleLine() const override { return firstVisibleBlock().blockNumber(); }
    void ScrollLines(int n) override { verticalScrollBar()->setValue(verticalScrollBar()->value() + n); }
    void ScrollCaret() override { ensureCursorVisible(); }
    int CharFromPos(const TPoint& p) const override
    {
        const QPoint v = QPoint(p.X, p.Y) - viewport()->geometry().topLeft();
        return ToWinPos(cursorForPosition(v).position());
    }
    TPoint PosFromChar(int pos) const override
    {
        QTextCursor c(document());
        c.setPosition(std::min(ToQtPos(pos), document()->characterCount() - 1));
        const QPoint p = cursorRect(c).topLeft() + viewport()->geometry().topLeft();
        return {p.x(), p.y()};
    }
    TRect CaretRect() const override
    {
        const QRect r = cursorRect().translated(viewport()->geometry().topLeft());
        return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    }
    void ForwardKey(QKeyEvent* e) override { QPlainTextEdit::keyPressEvent(e); }
    void ForwardMouse(QMouseEvent* e) override
    {
        const QPointF local = e->position() - QPointF(viewport()->geometry().topLeft());
        QMouseEvent v(e->type(), local, e->globalPosition(), e->button(), e->buttons(), e->modifiers());
        switch (e->type()) {
        case QEvent::MouseButtonPress: QPlainTextEdit::mousePressEvent(&v); break;
        case QEvent::MouseButtonRelease: QPlainTextEdit::mouseReleaseEvent(&v); break;
        case QEvent::MouseButtonDblClick: QPlainTextEdit::mouseDoubleClickEvent(&v); break;
        case QEvent::MouseMove: QPlainTextEdit::mouseMoveEvent(&v); break;
        default: break;
        }
    }
    void ForwardPreedit(QInputMethodEvent* e) override { QPlainTextEdit::inputMethodEvent(e); }

private:
    void ApplyMargins() { setViewportMargins(leftMargin_, 0, rightMargin_ + rightStrip_, bottomStrip_); }
    int leftMargin_ = 0, rightMargin_ = 0, rightStrip_ = 0, bottomStrip_ = 0;
    Look look_;

protected:
    bool event(QEvent* e) override { return RouteToPeer(this, e) || QPlainTextEdit::event(e); }
    bool viewportEvent(QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            e->ignore();
            return false;
        default:
            return QPlainTextEdit::viewportEvent(e);
        }
    }

private:
    // Qt positions count a line break once, the system's twice (CR LF).
    int ToWinPos(int qtPos) const { return qtPos + document()->findBlock(qtPos).blockNumber(); }
    int ToQtPos(int winPos) const
    {
        for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
            const int start = ToWinPos(b.position());
            const int len = b.length() - 1;
            if (winPos <= start + len || !b.next().isValid())
                return b.position() + std::clamp(winPos - start, 0, len);
        }
        return 0;
    }
};

Qt::KeyboardModifiers QtModifiers(TShiftState s)
{
    Qt::KeyboardModifiers m;
    if (s.Contains(ssShift))
        m |= Qt::ShiftModifier;
    if (s.Contains(ssCtrl))
        m |= Qt::ControlModifier;
    return m;
}

} // namespace
} // namespace vcl

// ---------------------------------------------------------------------------------------------
TCustomEdit::TCustomEdit(rtl::TComponent* owner) : TWinControl(owner)
{
    ControlStyle.Include(csClickEvents);
    ControlStyle.Include(csSetCaption);
    ControlStyle.Include(csDoubleClicks);
    ControlStyle.Include(csCaptureMouse);
    SetBounds(0, 0, 121, 21);
    TabStop = true;
    SetColor(clWindow);
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (borderStyle_ == bsSingle)
        params.ExStyle |= WS_EX_CLIENTEDGE;
    if (charCase_ == ecUpperCase)
        params.Style |= ES_UPPERCASE;
    else if (charCase_ == ecLowerCase)
        params.Style |= ES_LOWERCASE;
    if (!HideSelection)
        params.Style |= ES_NOHIDESEL;
    if (OEMConvert)
        params.Style |= ES_OEMCONVERT;
    if (readOnly_)
        params.Style |= ES_READONLY;
    if (passwordChar_)
        params.Style |= ES_PASSWORD;
}

vcl::EditBox* TCustomEdit::CreateBox(QWidget* parent) { return new vcl::LineBox(parent); }

void TCustomEdit::CreateWnd()
{
    creating_ = true;
    TWinControl::CreateWnd();
    TCreateParams params;
    CreateParams(params);
    box_ = CreateBox(Peer());
    QWidget* w = box_->Widget();
    w->setGeometry(0, 0, Width(), Height());
    w->show();
    Peer()->setFocusProxy(w);
    box_->SetFrame((params.Style & WS_BORDER) || (params.ExStyle & WS_EX_CLIENTEDGE));
    box_->SetAlignment(int(params.Style & (ES_CENTER | ES_RIGHT)));
    readOnly_ = params.Style & ES_READONLY;
    if (params.Style & ES_UPPERCASE)
        charCase_ = ecUpperCase;
    else if (params.Style & ES_LOWERCASE)
        charCase_ = ecLowerCase;
    if ((params.Style & ES_PASSWORD) && !passwordChar_)
        passwordChar_ = u'*';
    box_->SetPassword(passwordChar_);
    box_->SetMargins(leftMargin_, rightMargin_);
    // Without the focus the selection shows only with ES_NOHIDESEL.
    box_->ShowSelection((params.Style & ES_NOHIDESEL) || Focused());
    last_ = Cased(rtl::Utf8ToUtf16(TControl::Text()));
    box_->SetText(last_);
    ApplyAppearance();
    creating_ = false;
}

void TCustomEdit::DestroyWnd()
{
    if (box_) {
        StoreText(rtl::Utf16ToUtf8(box_->Text()));
        if (Peer())
            Peer()->setFocusProxy(nullptr);
        box_ = nullptr;
    }
    TWinControl::DestroyWnd();
}

void TCustomEdit::ApplyAppearance()
{
    if (box_)
        box_->SetLook(vcl::QFontOf(Font()), vcl::QColorOf(Font()->GetColor()), vcl::QColorOf(Color()));
}

std::u16string TCustomEdit::Cased(std::u16string s) const
{
    if (charCase_ == ecNormal)
        return s;
    const QString q = QString::fromStdU16String(s);
    return (charCase_ == ecUpperCase ? q.toUpper() : q.toLower()).toStdU16String();
}

// ---------------------------------------------------------------------------------------------
std::string TCustomEdit::Text() const { return box_ ? rtl::Utf16ToUtf8(box_->Text()) : TControl::Text(); }

void TCustomEdit::SetText(const std::string& s)
{
    if (box_) {
        vcl::SendMessage(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str()));
        return;
    }
    TControl::SetText(s);
}

int TCustomEdit::GetTextLen() const { return box_ ? box_->Length() : int(rtl::Utf8ToUtf16(TControl::Text()).size()); }

int TCustomEdit::SelStart() const
{
    int s = 0, e = 0;
    if (box_)
        box_->GetSelection(s, e);
    return s;
}

void TCustomEdit::SetSelStart(int v)
{
    if (box_)
        vcl::SendMessage(Handle(), EM_SETSEL, WPARAM(v), v);
}

int TCustomEdit::SelLength() const
{
    int s = 0, e = 0;
    if (box_)
        box_->GetSelection(s, e);
    return e - s;
}

void TCustomEdit::SetSelLength(int v)
{
    if (box_) {
        const int s = SelStart();
        vcl::SendMessage(Handle(), EM_SETSEL, WPARAM(s), s + v);
    }
}

std::string TCustomEdit::SelText() const
{
    if (!box_)
        return {};
    int s = 0, e = 0;
    box_->GetSelection(s, e);
    return rtl::Utf16ToUtf8(box_->Text().substr(std::size_t(s), std::size_t(e - s)));
}

void TCustomEdit::SetSelText(const std::string& s)
{
    if (box_)
        vcl::SendMessage(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void TCustomEdit::SendToWindow(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Without a window there is no text to act on.
    if (box_)
        vcl::SendMessage(Handle(), msg, wParam, lParam);
}

void TCustomEdit::SelectAll() { SendToWindow(EM_SETSEL, 0, -1); }

void TCustomEdit::ClearSelection() { SendToWindow(WM_CLEAR); }

void TCustomEdit::CopyToClipboard() { SendToWindow(WM_COPY); }

void TCustomEdit::CutToClipboard() { SendToWindow(WM_CUT); }

void TCustomEdit::PasteFromClipboard() { SendToWindow(WM_PASTE); }

bool TCustomEdit::CanUndo() const { return box_ && box_->CanUndo(); }

void TCustomEdit::Undo() { SendToWindow(WM_UNDO); }

void TCustomEdit::ClearUndo() { SendToWindow(EM_EMPTYUNDOBUFFER); }

void TCustomEdit::SetMaxLength(int v)
{
    maxLength_ = std::max(0, v);
    if (box_)
        vcl::SendMessage(Handle(), EM_LIMITTEXT, WPARAM(maxLength_));
}

void TCustomEdit::SetReadOnly(bool v)
{
    readOnly_ = v;
    if (box_)
        vcl::SendMessage(Handle(), EM_SETREADONLY, v ? 1 : 0);
}

bool TCustomEdit::Modified() const { return modified_; }

void TCustomEdit::SetModified(bool v)
{
    modified_ = v;
}

void TCustomEdit::SetCharCase(TEditCharCase v)
{
    if (charCase_ == v)
        return;
    charCase_ = v;
    if (box_ && v != ecNormal) {
        int s = 0, e = 0;
        box_->GetSelection(s, e);
        box_->SetText(Cased(box_->Text()));
        box_->SetSelection(s, e);
        TextEdited(false);
    }
}

void TCustomEdit::SetPasswordChar(char16_t c)
{
    passwordChar_ = c;
    if (box_)
        vcl::SendMessage(Handle(), EM_SETPASSWORDCHAR, c);
}

void TCustomEdit::SetBorderStyle(TBorderStyle v)
{
    borderStyle_ = v;
    if (box_)
        box_->SetFrame(v == bsSingle);
}

void TCustomEdit::Change() { vcl::FireEvent(OnChange, this); }

namespace {
// The edit window's menu in the program's language: what each item sends to the edit.
struct EditMenuEntry {
    const char* caption;
    UINT msg;
};
constexpr EditMenuEntry kEditMenu[] = {{"撤消(&U)", WM_UNDO}, {"-", 0},          {"剪切(&T)", WM_CUT},
                                       {"复制(&C)", WM_COPY}, {"粘贴(&P)", WM_PASTE}, {"删除(&D)", WM_CLEAR},
                                       {"-", 0},               {"全选(&A)", EM_SETSEL}};
} // namespace

TPopupMenu* TCustomEdit::EditMenu()
{
    if (editMenu_)
        return editMenu_;
    editMenu_ = new TPopupMenu(this);
    for (const EditMenuEntry& e : kEditMenu) {
        auto* item = new TMenuItem(editMenu_);
        item->Caption = e.caption;
        if (e.msg != 0) {
            const UINT msg = e.msg;
            item->OnClick = TNotifyEvent([this, msg](rtl::TObject*) {
                if (HandleAllocated())
                    vcl::SendMessage(Handle(), msg, 0, msg == EM_SETSEL ? -1 : 0);
            });
        }
        editMenu_->Items()->Add(item);
    }
    return editMenu_;
}

void TCustomEdit::ShowEditMenu(TMessage& m)
{
    int s = 0, e = 0;
    box_->GetSelection(s, e);
    const bool selected = s != e;
    const int length = box_->Length();
    // A password is never given away; a read-only text is never changed.
    const bool enabled[] = {!readOnly_ && box_->CanUndo(),
                            true,
                            selected && !readOnly_ && !passwordChar_,
                            selected && !passwordChar_,
                            !readOnly_ && Clipboard()->HasFormat(CF_TEXT),
                            selected && !readOnly_,
                            true,
                            length > 0 && !(s == 0 && e == length)};
    TPopupMenu* menu = EditMenu();
    for (int i = 0; i < menu->Items()->Count() && i < int(std::size(enabled)); ++i)
        menu->Items()->Items(i)->Enabled = enabled[i];
    // From the keyboard (-1, -1) the menu opens below the edit's left edge.
    TPoint p{XFromLParam(m.LParam), YFromLParam(m.LParam)};
    if (p.X == -1 && p.Y == -1)
        p = ClientToScreen({0, Height()});
    menu->PopupComponent = this;
    menu->Popup(p.X, p.Y);
    m.Result = 1;
}

// ---------------------------------------------------------------------------------------------
void TCustomEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HiWord(m.WParam) == EN_CHANGE && !creating_)
            Change();
        return;
    case CM_ENTER:
        if (AutoSelect && !ControlState.Contains(csLButtonDown) && !IsMultiLine())
            SelectAll();
        TWinControl::Dispatch(m);
        return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
        TWinControl::Dispatch(m);
        ApplyAppearance();
        return;
    case WM_SIZE:
        if (box_)
            box_->Widget()->setGeometry(0, 0, Width(), Height());
        TWinControl::Dispatch(m);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: {
        // The events first, then the edit window's own handling (caret, selection, focus).
        const auto alive = AliveToken();
        TWinControl::Dispatch(m);
        if (!alive.expired() && *alive.lock())
            HandleMouse(m);
        return;
    }
    default:
        TWinControl::Dispatch(m);
    }
}

void TCustomEdit::NotifyParent(std::uint16_t code)
{
    if (parent_ && parent_->HandleAllocated() && HandleAllocated())
        vcl::SendMessage(parent_->Handle(), WM_COMMAND, WPARAM(code) << 16, reinterpret_cast<LPARAM>(Handle()));
}

void TCustomEdit::TextEdited(bool byUser)
{
    if (!box_)
        return;
    std::u16string now = box_->Text();
    if (now == last_)
        return;
    last_ = std::move(now);
    StoreText(rtl::Utf16ToUtf8(last_));
    if (byUser)
        modified_ = true;
    NotifyParent(EN_CHANGE);
}

void TCustomEdit::ReplaceSelection(std::u16string text, bool limited, bool canUndo)
{
    if (!box_)
        return;
    if (IsMultiLine()) {
        // Every kind of line break becomes CR LF, so that the limit counts what is stored.
        text = vcl::ToWin(vcl::FromWin(text));
    }
    if (limited && maxLength_ > 0) {
        int s = 0, e = 0;
        box_->GetSelection(s, e);
        const int room = maxLength_ - (box_->Length() - (e - s));
        if (room < int(text.size())) {
            std::size_t keep = std::size_t(std::max(0, room));
            if (keep > 0 && rtl::IsHighSurrogate(text[keep - 1]))
                --keep;
            if (keep > 0 && keep < text.size() && text[keep - 1] == u'\r' && text[keep] == u'\n')
                --keep;
            text.resize(keep);
            NotifyParent(EN_MAXTEXT);
            if (text.empty())
                return;
        }
    }
    box_->ReplaceSelection(text);
    if (!canUndo)
        box_->ClearUndo();
}

void TCustomEdit::TypeText(std::u16string text)
{
    if (readOnly_ || !box_)
        return;
    ReplaceSelection(Cased(std::move(text)), true, true);
    TextEdited(true);
}

void TCustomEdit::HandleChar(TMessage& m)
{
    const auto ch = char16_t(m.WParam);
    if (rtl::IsHighSurrogate(ch)) {
        pendingHigh_ = std::u16string(1, ch);
        return;
    }
    std::u16string pair;
    if (rtl::IsLowSurrogate(ch)) {
        if (pendingHigh_.empty())
            return;
        pair = pendingHigh_ + ch;
    }
    pendingHigh_.clear();
    if (!pair.empty())
        return TypeText(pair);
    HWND self = Handle();
    switch (ch) {
    case 0x01: SelectAll(); return;
    case 0x03: vcl::SendMessage(self, WM_COPY); return;
    case 0x16: vcl::SendMessage(self, WM_PASTE); return;
    case 0x18: vcl::SendMessage(self, WM_CUT); return;
    case 0x1A: vcl::SendMessage(self, WM_UNDO); return;
    case u'\b': {
        if (readOnly_)
            return;
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        box_->ForwardKey(&e);
        TextEdited(true);
        return;
    }
    case u'\r':
    case u'\n':
        if (IsMultiLine())
            TypeText(u"\r\n");
        return;
    case u'\t':
        if (IsMultiLine())
            TypeText(u"\t");
        return;
    default:
        if (ch < 0x20 || ch == 0x7F)
            return;
        TypeText(std::u16string(1, ch));
    }
}

void TCustomEdit::HandleKeyDown(TMessage& m)
{
    auto vk = std::uint16_t(m.WParam);
    const TShiftState shift = KeyboardStateToShiftState();
    HWND self = Handle();
    switch (vk) {
    case VK_INSERT:
        if (shift.Contains(ssShift))
            vcl::SendMessage(self, WM_PASTE);
        else if (shift.Contains(ssCtrl))
            vcl::SendMessage(self, WM_COPY);
        return;
    case VK_DELETE:
        if (shift.Contains(ssShift)) {
            vcl::SendMessage(self, WM_CUT);
            return;
        }
        if (readOnly_)
            return;
        break;
    case VK_UP:
    case VK_DOWN:
        // A single line moves along its text with the vertical arrows.
        if (!IsMultiLine())
            vk = vk == VK_UP ? VK_LEFT : VK_RIGHT;
        break;
    case VK_PRIOR:
    case VK_NEXT:
        if (!IsMultiLine())
            return;
        break;
    case VK_LEFT: case VK_RIGHT: case VK_HOME: case VK_END: break;
    default: return;
    }
    QKeyEvent e(QEvent::KeyPress, vcl::keys::QtKeyOf(vk), vcl::QtModifiers(shift));
    box_->ForwardKey(&e);
    TextEdited(true);
}

void TCustomEdit::HandleMouse(TMessage& m)
{
    if (!box_)
        return;
    const TPoint local{XFromLParam(m.LParam), YFromLParam(m.LParam)};
    const TPoint global = ClientToScreen(local);
    const auto keys = unsigned(m.WParam);
    Qt::MouseButtons buttons;
    if (keys & MK_LBUTTON)
        buttons |= Qt::LeftButton;
    Qt::KeyboardModifiers mods;
    if (keys & MK_SHIFT)
        mods |= Qt::ShiftModifier;
    if (keys & MK_CONTROL)
        mods |= Qt::ControlModifier;
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Focused() && CanFocus()) {
            ::SetFocus(Handle());
            if (!box_)
                return;
        }
        type = m.Msg == WM_LBUTTONDOWN ? QEvent::MouseButtonPress : QEvent::MouseButtonDblClick;
        button = Qt::LeftButton;
        buttons |= Qt::LeftButton;
        break;
    case WM_LBUTTONUP:
        type = QEvent::MouseButtonRelease;
        button = Qt::LeftButton;
        break;
    default:
        if (!(keys & MK_LBUTTON))
            return;
        break;
    }
    QMouseEvent e(type, QPointF(local.X, local.Y), QPointF(global.X, global.Y), button, buttons, mods);
    box_->ForwardMouse(&e);
}

void TCustomEdit::DefaultHandler(TMessage& m)
{
    if (!box_) {
        TWinControl::DefaultHandler(m);
        return;
    }
    auto copyOut = [](const std::string& s, char* buf, std::size_t size) -> LRESULT {
        if (!buf || size == 0)
            return 0;
        std::size_t n = std::min(s.size(), size - 1);
        // Never cut a character in two.
        while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
            --n;
        std::memcpy(buf, s.data(), n);
        buf[n] = 0;
        return LRESULT(n);
    };
    // A position of -1 in the line messages is the selection's start.
    auto selStartOr = [this](int pos) {
        if (pos >= 0)
            return pos;
        int s = 0, e = 0;
        box_->GetSelection(s, e);
        return s;
    };
    switch (m.Msg) {
    case WM_SETTEXT: {
        const char* s = reinterpret_cast<const char*>(m.LParam);
        box_->SetText(Cased(rtl::Utf8ToUtf16(s ? s : "")));
        modified_ = false;
        TextEdited(false);
        m.Result = 1;
        return;
    }
    case WM_GETTEXT:
        m.Result = copyOut(rtl::Utf16ToUtf8(box_->Text()), reinterpret_cast<char*>(m.LParam), m.WParam);
        return;
    case WM_GETTEXTLENGTH: m.Result = LRESULT(rtl::Utf16ToUtf8(box_->Text()).size()); return;
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (IsMultiLine() ? DLGC_WANTALLKEYS : 0);
        return;
    case WM_CHAR: HandleChar(m); return;
    case WM_KEYDOWN: HandleKeyDown(m); return;
    case WM_CONTEXTMENU: ShowEditMenu(m); return;
    case WM_SETFOCUS:
        box_->ShowSelection(true);
        TWinControl::DefaultHandler(m);
        NotifyParent(EN_SETFOCUS);
        return;
    case WM_KILLFOCUS:
        pendingHigh_.clear();
        box_->ShowSelection(!HideSelection);
        TWinControl::DefaultHandler(m);
        NotifyParent(EN_KILLFOCUS);
        return;
    case WM_IME_COMPOSITION:
        if ((m.LParam & GCS_COMPSTR) && !readOnly_) {
            // The text being composed shows in place until the input method commits it.
            QInputMethodEvent e(QString::fromStdU16String(vcl::input::CompositionString(GCS_COMPSTR)), {});
            box_->ForwardPreedit(&e);
        }
        return;
    case WM_IME_ENDCOMPOSITION: {
        QInputMethodEvent e;
        box_->ForwardPreedit(&e);
        return;
    }
    case EM_GETSEL: {
        int s = 0, e = 0;
        box_->GetSelection(s, e);
        if (auto* ps = reinterpret_cast<std::uint32_t*>(m.WParam))
            *ps = std::uint32_t(s);
        if (auto* pe = reinterpret_cast<std::uint32_t*>(m.LParam))
            *pe = std::uint32_t(e);
        m.Result = MakeLParam(std::min(s, 0xFFFF), std::min(e, 0xFFFF)) & 0xFFFFFFFF;
        return;
    }
    case EM_SETSEL: box_->SetSelection(int(m.WParam), int(m.LParam)); return;
    case EM_REPLACESEL: {
        const char* s = reinterpret_cast<const char*>(m.LParam);
        ReplaceSelection(Cased(rtl::Utf8ToUtf16(s ? s : "")), true, m.WParam != 0);
        TextEdited(true);
        return;
    }
    case EM_LIMITTEXT: maxLength_ = int(std::min<WPARAM>(m.WParam, 0x7FFFFFFE)); return;
    case EM_GETLIMITTEXT: m.Result = maxLength_ ? maxLength_ : 0x7FFFFFFE; return;
    case EM_SETREADONLY:
        readOnly_ = m.WParam != 0;
        box_->SetReadOnly(readOnly_);
        m.Result = 1;
        return;
    case EM_GETMODIFY: m.Result = modified_ ? 1 : 0; return;
    case EM_SETMODIFY: modified_ = m.WParam != 0; return;
    case EM_CANUNDO: m.Result = box_->CanUndo() ? 1 : 0; return;
    case EM_UNDO:
    case WM_UNDO:
        if (readOnly_ || !box_->CanUndo())
            return;
        box_->Undo();
        TextEdited(true);
        m.Result = 1;
        return;
    case EM_EMPTYUNDOBUFFER: box_->ClearUndo(); return;
    case EM_GETLINECOUNT: m.Result = box_->LineCount(); return;
    case EM_LINEINDEX:
        m.Result = box_->LineIndex(int(m.WParam) < 0 ? box_->LineFromChar(selStartOr(-1)) : int(m.WParam));
        return;
    case EM_LINELENGTH: m.Result = box_->LineLength(selStartOr(int(m.WParam))); return;
    case EM_LINEFROMCHAR: m.Result = box_->LineFromChar(selStartOr(int(m.WParam))); return;
    case EM_GETLINE: {
        // The buffer's first two bytes hold its size; the line is copied without a terminator.
        auto* buf = reinterpret_cast<char*>(m.LParam);
        if (!buf)
            return;
        std::uint16_t size = 0;
        std::memcpy(&size, buf, sizeof size);
        const int start = box_->LineIndex(int(m.WParam));
        if (start < 0)
            return;
        const std::u16string all = box_->Text();
        const std::string line = rtl::Utf16ToUtf8(all.substr(std::size_t(start), std::size_t(box_->LineLength(start))));
        const std::size_t n = std::min<std::size_t>(line.size(), size);
        std::memcpy(buf, line.data(), n);
        m.Result = LRESULT(n);
        return;
    }
    case EM_GETFIRSTVISIBLELINE: m.Result = box_->FirstVisibleLine(); return;
    case EM_LINESCROLL: box_->ScrollLines(int(m.LParam)); m.Result = 1; return;
    case EM_SCROLLCARET: box_->ScrollCaret(); m.Result = 1; return;
    case EM_CHARFROMPOS: {
        const int pos = box_->CharFromPos({XFromLParam(m.LParam), YFromLParam(m.LParam)});
        m.Result = MakeLParam(pos, box_->LineFromChar(pos)) & 0xFFFFFFFF;
        return;
    }
    case EM_POSFROMCHAR: {
        if (int(m.WParam) < 0 || int(m.WParam) >= box_->Length()) {
            m.Result = -1;
            return;
        }
        const TPoint p = box_->PosFromChar(int(m.WParam));
        m.Result = MakeLParam(p.X, p.Y);
        return;
    }
    case EM_SETMARGINS:
        if (m.WParam & EC_LEFTMARGIN)
            leftMargin_ = LoWord(std::uintptr_t(m.LParam));
        if (m.WParam & EC_RIGHTMARGIN)
            rightMargin_ = HiWord(std::uintptr_t(m.LParam));
        box_->SetMargins(leftMargin_, rightMargin_);
        return;
    case EM_GETMARGINS: m.Result = MakeLParam(leftMargin_, rightMargin_); return;
    case EM_SETPASSWORDCHAR:
        passwordChar_ = char16_t(m.WParam);
        box_->SetPassword(passwordChar_);
        return;
    case EM_GETPASSWORDCHAR: m.Result = passwordChar_; return;
    case WM_COPY:
    case WM_CUT: {
        int s = 0, e = 0;
        box_->GetSelection(s, e);
        // A password is never given away.
        if (s == e || passwordChar_)
            return;
        Clipboard()->SetAsText(rtl::Utf16ToUtf8(box_->Text().substr(std::size_t(s), std::size_t(e - s))));
        if (m.Msg == WM_CUT && !readOnly_) {
            ReplaceSelection({}, false, true);
            TextEdited(true);
        }
        return;
    }
    case WM_PASTE: {
        if (readOnly_ || !Clipboard()->HasFormat(CF_TEXT))
            return;
        std::u16string text = rtl::Utf8ToUtf16(Clipboard()->AsText());
        if (!IsMultiLine()) {
            // One line takes the clipboard's first line.
            const auto cut = text.find_first_of(u"\r\n");
            if (cut != std::u16string::npos)
                text.resize(cut);
        }
        ReplaceSelection(Cased(std::move(text)), true, true);
        TextEdited(true);
        return;
    }
    case WM_CLEAR:
        if (readOnly_)
            return;
        ReplaceSelection({}, false, true);
        TextEdited(true);
        return;
    default: TWinControl::DefaultHandler(m);
    }
}

// ---------------------------------------------------------------------------------------------
TCustomMemo::TCustomMemo(rtl::TComponent* owner) : TCustomEdit(owner)
{
    SetBounds(0, 0, 185, 89);
    AutoSelect = false;
}

vcl::EditBox* TCustomMemo::CreateBox(QWidget* parent)
{
    auto* box = new vcl::MemoBox(parent);
    box->setLineWrapMode(wordWrap_ && (scrollBars_ == ssNone || scrollBars_ == ssVertical)
                             ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    const bool h = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    const bool v = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const bool own = !externalScrollBars_;
    box->setHorizontalScrollBarPolicy(h && own ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(v && own ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    if (!own)
        box->SetBarStrips(v ? vcl::System().GetSystemMetrics(SM_CXVSCROLL) : 0,
                          h ? vcl::System().GetSystemMetrics(SM_CYHSCROLL) : 0);
    // The system's memo tells its parent when it scrolls; ours tells every move of a bar's range
    // or position, whatever caused it (keys, wheel, typing, resizing).
    for (QScrollBar* bar : {box->horizontalScrollBar(), box->verticalScrollBar()}) {
        const std::uint16_t code = bar == box->horizontalScrollBar() ? EN_HSCROLL : EN_VSCROLL;
        QObject::connect(bar, &QScrollBar::valueChanged, box, [this, code] { NotifyParent(code); });
        QObject::connect(bar, &QScrollBar::rangeChanged, box, [this, code] { NotifyParent(code); });
    }
    return box;
}

void TCustomMemo::SetExternalScrollBars(bool v)
{
    if (externalScrollBars_ == v)
        return;
    externalScrollBars_ = v;
    RecreateWnd();
}

TScrollBarState TCustomMemo::ScrollBarState(TScrollBarKind kind) const
{
    TScrollBarState s;
    const bool horz = kind == sbHorizontal;
    const bool hShown = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    const bool vShown = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    auto* box = dynamic_cast<vcl::MemoBox*>(Box());
    s.Shown = box && (horz ? hShown : vShown);
    if (!s.Shown)
        return s;
    const QScrollBar* bar = horz ? box->horizontalScrollBar() : box->verticalScrollBar();
    s.Min = bar->minimum();
    s.Page = std::max(bar->pageStep(), 1);
    s.Max = bar->maximum() + s.Page - 1;
    s.Pos = bar->value();
    s.Enabled = bar->maximum() > bar->minimum();
    const int w = Width(), h = Height();
    if (externalScrollBars_) {
        const int barW = vcl::System().GetSystemMetrics(SM_CXVSCROLL);
        const int barH = vcl::System().GetSystemMetrics(SM_CYHSCROLL);
        s.Rect = horz ? TRect{0, h - barH, w - (vShown ? barW : 0), h} : TRect{w - barW, 0, w, h - (hShown ? barH : 0)};
    } else if (bar->isVisible()) {
        const QRect g = bar->geometry();
        s.Rect = {g.left(), g.top(), g.right() + 1, g.bottom() + 1};
    }
    return s;
}

void TCustomMemo::DefaultHandler(TMessage& m)
{
    auto* box = dynamic_cast<vcl::MemoBox*>(Box());
    if (!box || (m.Msg != WM_VSCROLL && m.Msg != WM_HSCROLL))
        return TCustomEdit::DefaultHandler(m);
    QScrollBar* bar = m.Msg == WM_HSCROLL ? box->horizontalScrollBar() : box->verticalScrollBar();
    switch (LoWord(m.WParam)) {
    case SB_LINEUP: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case SB_LINEDOWN: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case SB_PAGEUP: bar->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case SB_PAGEDOWN: bar->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: bar->setValue(HiWord(m.WParam)); break;
    case SB_TOP: bar->triggerAction(QAbstractSlider::SliderToMinimum); break;
    case SB_BOTTOM: bar->triggerAction(QAbstractSlider::SliderToMaximum); break;
    default: break;
    }
    m.Result = 0;
}

void TCustomMemo::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    params.Style &= ~std::uint32_t(ES_AUTOHSCROLL);
    params.Style |= ES_MULTILINE | (Alignment == taRightJustify ? ES_RIGHT : Alignment == taCenter ? ES_CENTER : ES_LEFT);
    if (!wordWrap_)
        params.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
        params.Style |= WS_HSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        params.Style |= WS_VSCROLL;
}

void TCustomMemo::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        TCustomEdit::Dispatch(m);
        if (WantTabs)
            m.Result |= DLGC_WANTTAB;
        else
            m.Result &= ~LRESULT(DLGC_WANTTAB);
        if (!WantReturns)
            m.Result &= ~LRESULT(DLGC_WANTALLKEYS);
        return;
    case WM_MOUSEWHEEL:
        if (Box()) {
            const int delta = std::int16_t(HiWord(m.WParam));
            Box()->ScrollLines(-delta * vcl::System().WheelScrollLines() / WHEEL_DELTA);
            m.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TCustomEdit::Dispatch(m);
}

void TCustomMemo::KeyPress(char16_t& key)
{
    TCustomEdit::KeyPress(key);
    if (key == u'\r' && !WantReturns)
        key = 0;
}

std::vector<std::string> TCustomMemo::Lines() const
{
    const QString all = vcl::FromWin(rtl::Utf8ToUtf16(Text()));
    std::vector<std::string> out;
    if (all.isEmpty())
        return out;
    for (const QString& l : all.split(QChar(u'\n')))
        out.push_back(l.toStdString());
    // A text that ends with a line break has no empty last line.
    if (all.endsWith(QChar(u'\n')))
        out.pop_back();
    return out;
}

void TCustomMemo::SetLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    if (!text.empty())
        text.resize(text.size() - 2);
    SetText(text);
}

int TCustomMemo::LineCount() const { return Box() ? Box()->LineCount() : int(Lines().size()); }

TPoint TCustomMemo::CaretPos() const
{
    if (!Box())
        return {0, 0};
    int s = 0, e = 0;
    Box()->GetSelection(s, e);
    const int line = Box()->LineFromChar(e);
    return {e - Box()->LineIndex(line), line};
}

void TCustomMemo::SetCaretPos(const TPoint& p)
{
    if (!Box())
        return;
    const int start = Box()->LineIndex(p.Y);
    if (start < 0)
        return;
    const int pos = start + std::clamp(p.X, 0, Box()->LineLength(start));
    vcl::SendMessage(Handle(), EM_SETSEL, WPARAM(pos), pos);
}

void TCustomMemo::SetScrollBars(TScrollStyle v)
{
    if (scrollBars_ == v)
        return;
    scrollBars_ = v;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v)
{
    if (wordWrap_ == v)
        return;
    wordWrap_ = v;
    RecreateWnd();
}

// ---------------------------------------------------------------------------------------------
namespace {

void DrawCaption(TCanvas* canvas, const std::string& text, TRect r, unsigned format, bool enabled)
{
    canvas->Font()->SetColor(enabled ? canvas->Font()->GetColor() : clGrayText);
    canvas->Brush()->SetStyle(bsClear);
    canvas->RequiredState();
    gdi::DrawText(*canvas->GetHandle(), text, r, format);
    canvas->Brush()->SetStyle(bsSolid);
}

} // namespace

char16_t AccelOf(const std::string& caption)
{
    const std::u16string s = rtl::Utf8ToUtf16(caption);
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != u'&')
            continue;
        if (s[i + 1] != u'&')
            return QChar(s[i + 1]).toLower().unicode();
        ++i;
    }
    return 0;
}

TButtonControl::TButtonControl(rtl::TComponent* owner) : TCustomControl(owner)
{
    ControlStyle.Include(csClickEvents);
    ControlStyle.Include(csCaptureMouse);
    ControlStyle.Include(csSetCaption);
    TabStop = true;
    SetColor(clBtnFace);
}

bool TButtonControl::IsAccel(char16_t ch) const
{
    const char16_t a = AccelOf(Caption());
    return a != 0 && a == QChar(ch).toLower().unicode();
}

void TButtonControl::PaintCaption(TCanvas* canvas, TRect r, unsigned format)
{
    DrawCaption(canvas, Caption(), r, format, Enabled());
}

void TButtonControl::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(GetClientRect());
    PaintButton(c, GetClientRect(), down_);
}

void TButtonControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A button takes the focus when pressed, as the system's buttons do.
        if (!Focused() && CanFocus())
            SetFocus();
        mouseDown_ = down_ = true;
        Invalidate();
        break;
    }
    case WM_MOUSEMOVE:
        if (mouseDown_) {
            const TRect r = GetClientRect();
            const int x = XFromLParam(m.LParam), y = YFromLParam(m.LParam);
            const bool inside = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
            if (inside != down_) {
                down_ = inside;
                Invalidate();
            }
        }
        break;
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
    case WM_KILLFOCUS:
        if (mouseDown_ || spaceDown_) {
            mouseDown_ = spaceDown_ = down_ = false;
            Invalidate();
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(char16_t(m.WParam)) && CanFocus()) {
            // A check box or radio button takes the focus first; a push button only clicks.
            const auto alive = AliveToken();
            if (AccelFocuses())
                SetFocus();
            if (!alive.expired() && *alive.lock())
                Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
    case WM_SETFOCUS:
        Invalidate();
        break;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

void TButtonControl::DefaultHandler(TMessage& m)
{
    // The button window's own keys: Space presses, its release clicks.
    if (m.Msg == WM_KEYDOWN && m.WParam == VK_SPACE) {
        if (!spaceDown_) {
            spaceDown_ = down_ = true;
            Invalidate();
        }
        return;
    }
    if (m.Msg == WM_KEYUP && m.WParam == VK_SPACE) {
        if (spaceDown_) {
            spaceDown_ = down_ = false;
            Invalidate();
            Click();
        }
        return;
    }
    TCustomControl::DefaultHandler(m);
}

// ---------------------------------------------------------------------------------------------
TButton::TButton(rtl::TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

bool TButton::Active() const
{
    if (Focused())
        return true;
    if (dynamic_cast<TButton*>(FindControl(GetFocus())))
        return false;
    return Default;
}

void TButton::Click()
{
    const auto alive = AliveToken();
    if (TCustomForm* form = GetParentForm())
        form->SetModalResult(ModalResult);
    if (!alive.expired() && *alive.lock())
        TButtonControl::Click();
}

void TButton::Dispatch(TMessage& m)
{
    if (m.Msg == CM_DIALOGKEY) {
        const auto key = std::uint16_t(m.WParam);
        const TShiftState shift = KeyDataToShiftState(m.LParam);
        if (((key == VK_RETURN && Active()) || (key == VK_ESCAPE && Cancel)) && shift.Empty() && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
    }
    TButtonControl::Dispatch(m);
}

void TButton::PaintButton(TCanvas* c, const TRect& client, bool down)
{
    TRect r = client;
    gdi::Dc& dc = *c->GetHandle();
    if (Active()) {
        // The default button carries a black frame.
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(r);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    TRect edge = r;
    gdi::DrawEdge(dc, edge, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    TRect text = r;
    if (down)
        text = {text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1};
    PaintCaption(c, text, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    if (Focused())
        c->DrawFocusRect({r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3});
}

// ---------------------------------------------------------------------------------------------
TCheckBox::TCheckBox(rtl::TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::SetState(TCheckBoxState s)
{
    if (state_ == s)
        return;
    state_ = s;
    Invalidate();
    TButtonControl::Click();
}

void TCheckBox::Click()
{
    switch (state_) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(AllowGrayed ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
    }
}

namespace {
// The 13-pixel box of a check box or radio button at the left, centred vertically.
TRect MarkBox(const TRect& client)
{
    const int top = client.Top + (client.Height() - 13) / 2;
    return {client.Left, top, client.Left + 13, top + 13};
}
} // namespace

void TCheckBox::PaintButton(TCanvas* c, const TRect& client, bool down)
{
    TRect box = MarkBox(client);
    c->Brush()->SetColor(down || state_ == cbGrayed || !Enabled() ? clBtnFace : clWindow);
    c->FillRect(box);
    TRect edge = box;
    gdi::DrawEdge(*c->GetHandle(), edge, EDGE_SUNKEN, BF_RECT);
    if (state_ != cbUnchecked) {
        c->Pen()->SetColor(state_ == cbGrayed || !Enabled() ? clBtnShadow : clWindowText);
        // A check mark three pixels thick.
        for (int i = 0; i < 3; ++i) {
            c->MoveTo(box.Left + 3, box.Top + 5 + i);
            c->LineTo(box.Left + 5, box.Top + 7 + i);
            c->LineTo(box.Left + 10, box.Top + 2 + i);
        }
    }
    PaintCaption(c, {box.Right + 4, client.Top, client.Right, client.Bottom}, gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
}

// ---------------------------------------------------------------------------------------------
TRadioButton::TRadioButton(rtl::TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::SetChecked(bool v)
{
    if (checked_ == v)
        return;
    checked_ = v;
    TabStop = v;
    Invalidate();
    if (!v)
        return;
    if (TWinControl* p = Parent()) {
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(p->Controls(i)); other && other != this)
                other->SetChecked(false);
    }
    TButtonControl::Click();
}

void TRadioButton::DoEnter()
{
    TButtonControl::DoEnter();
    // Reached by the keyboard (Tab, an arrow key, an accelerator), an unchecked button checks
    // itself; a press checks it on its release instead.
    if (!checked_ && vcl::System().GetKeyState(VK_LBUTTON) >= 0)
        SetChecked(true);
}

void TRadioButton::PaintButton(TCanvas* c, const TRect& client, bool down)
{
    const TRect box = MarkBox(client);
    c->Brush()->SetColor(down || !Enabled() ? clBtnFace : clWindow);
    c->Pen()->SetColor(clBtnShadow);
    c->Ellipse(box);
    if (checked_) {
        c->Brush()->SetColor(Enabled() ? clWindowText : clBtnShadow);
        c->Pen()->SetColor(Enabled() ? clWindowText : clBtnShadow);
        c->Ellipse({box.Left + 4, box.Top + 4, box.Right - 4, box.Bottom - 4});
    }
    PaintCaption(c, {box.Right + 4, client.Top, client.Right, client.Bottom}, gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
}

// ---------------------------------------------------------------------------------------------
TLabel::TLabel(rtl::TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 65, 17);
    SetColor(clBtnFace);
}

void TLabel::SetAutoSize(bool v)
{
    autoSize_ = v;
    AdjustBounds();
}

void TLabel::AdjustBounds()
{
    if (!autoSize_)
        return;
    TBitmap measure;
    measure.SetSize(1, 1);
    TCanvas* c = measure.Canvas();
    c->Font()->Assign(Font());
    c->RequiredState();
    TRect r{0, 0, WordWrap ? Width() : 0, 0};
    const std::string text = Caption().empty() ? std::string(" ") : Caption();
    gdi::DrawText(*c->GetHandle(), text, r, gdi::DT_CALCRECT | gdi::DT_EXPANDTABS | (WordWrap ? gdi::DT_WORDBREAK : 0u));
    int left = Left();
    if (!WordWrap && Alignment == taRightJustify)
        left += Width() - r.Width();
    SetBounds(left, Top(), r.Width(), r.Height());
}

void TLabel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGCHAR:
        // The label's accelerator focuses the control it names.
        if (FocusControl && AccelOf(Caption()) != 0 && AccelOf(Caption()) == QChar(char16_t(m.WParam)).toLower().unicode() &&
            FocusControl->CanFocus()) {
            FocusControl->SetFocus();
            m.Result = 1;
            return;
        }
        TGraphicControl::Dispatch(m);
        return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        Invalidate();
        return;
    default: TGraphicControl::Dispatch(m);
    }
}

void TLabel::Paint()
{
    TCanvas* c = Canvas();
    if (!Transparent) {
        c->Brush()->SetColor(Color());
        c->FillRect(GetClientRect());
    }
    const unsigned align = Alignment == taRightJustify ? gdi::DT_RIGHT : Alignment == taCenter ? gdi::DT_CENTER : gdi::DT_LEFT;
    c->Font()->Assign(Font());
    DrawCaption(c, Caption(), GetClientRect(), align | gdi::DT_EXPANDTABS | (WordWrap ? gdi::DT_WORDBREAK : 0u), Enabled());
}

// The text editor's keyboard: key-down and key-press handling, incremental search and completion
// from the lookup items, the choice of an item by key, wheel or ItemIndex, digit grouping while
// typing; and the lookup data those work on.
#include "toolkit/editors/cxTextEdit.h"

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"

namespace cx {

namespace {
std::u16string Head(const std::u16string& s, std::size_t n) { return s.substr(0, std::min(n, s.size())); }
} // namespace

// ---- lookup data -------------------------------------------------------------------------------

TcxCustomTextEditProperties* TcxCustomTextEditLookupData::ActiveProperties() { return owner_->ActiveProperties(); }

void TcxCustomTextEditLookupData::GetItem(int index, std::string& text)
{
    const auto& items = ActiveProperties()->LookupItems();
    text = index >= 0 && index < int(items.size()) ? items[std::size_t(index)] : std::string();
}

int TcxCustomTextEditLookupData::GetItemCount() { return int(ActiveProperties()->LookupItems().size()); }

bool TcxCustomTextEditLookupData::Find(const std::string& text)
{
    for (int i = 0; i < GetItemCount(); ++i) {
        std::string item;
        GetItem(i, item);
        if (AnsiSameText(item, text))
            return true;
    }
    return false;
}

bool TcxCustomTextEditLookupData::Locate(std::string& text, std::string& tail, bool next)
{
    return InternalLocate(text, tail, next, false);
}

bool TcxCustomTextEditLookupData::InternalLocate(std::string& text, std::string& tail, bool next, bool exact)
{
    const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
    const int count = GetItemCount();
    if (count > 0 && exact && ActiveProperties()->MRUMode()) {
        for (int i = 0; i < count; ++i) {
            std::string item;
            GetItem(i, item);
            if (AnsiSameText(item, text)) {
                tail.clear();
                InternalSetCurrentKey(i);
                return true;
            }
        }
        InternalSetCurrentKey(-1);
        return false;
    }
    const std::u16string wanted = Utf8ToUtf16(text);
    if (count > 0 && !wanted.empty()) {
        for (int i = next ? listItemIndex_ + 1 : 0; i < count; ++i) {
            std::string item;
            GetItem(i, item);
            const std::u16string w = Utf8ToUtf16(item);
            if (w.size() < wanted.size() || WideUpperCase(Head(w, wanted.size())) != WideUpperCase(wanted))
                continue;
            if (style == esFixedList)
                text = Utf16ToUtf8(Head(w, wanted.size()));
            tail = Utf16ToUtf8(w.substr(wanted.size()));
            InternalSetCurrentKey(i);
            return true;
        }
    }
    tail.clear();
    if (style == esEdit || style == esNoEdit || (style == esEditList && (exact || wanted.empty())) ||
        (style == esFixedList && exact))
        InternalSetCurrentKey(-1);
    return false;
}

void TcxCustomTextEditLookupData::InternalSetCurrentKey(int index)
{
    if (index < -1 || index >= GetItemCount())
        return;
    currentKey_ = index;
    InternalSetItemIndex(index);
}

void TcxCustomTextEditLookupData::DoSelectItem() { vcl::FireEvent(OnSelectItem, this); }

void TcxCustomTextEditLookupData::SetCurrentKey(const Variant& key)
{
    const int old = currentKey_;
    int index = -1;
    try {
        index = key.IsNull() || key.IsEmpty() ? -1 : key.ToInteger();
    } catch (const Exception&) {
        index = -1;
    }
    InternalSetCurrentKey(index);
    const bool lockWas = owner_->LookupDataTextChangedLocked();
    owner_->LockLookupDataTextChanged();
    if (currentKey_ == old) {
        std::string item;
        GetItem(currentKey_, item);
        if (currentKey_ >= 0 && owner_->Text() != item)
            DoSelectItem();
    } else {
        vcl::FireEvent(OnCurrentKeyChanged, this);
        DoSelectItem();
    }
    if (!lockWas)
        owner_->UnlockLookupDataTextChanged();
}

void TcxCustomTextEditLookupData::GetDisplayText(const Variant& key, std::string& text)
{
    int index = -1;
    try {
        index = key.IsNull() || key.IsEmpty() ? -1 : key.ToInteger();
    } catch (const Exception&) {
    }
    GetItem(index, text);
}

void TcxCustomTextEditLookupData::TextChanged()
{
    if (owner_->IsDestroying())
        return;
    const std::string text = owner_->Text();
    if (listItemIndex_ >= 0 && listItemIndex_ < GetItemCount()) {
        std::string item;
        GetItem(listItemIndex_, item);
        if (AnsiSameText(item, text))
            return;
    }
    std::string t = text, tail;
    InternalLocate(t, tail, false, true);
}

void TcxCustomTextEditLookupData::Go(TcxEditLookupDataGoDirection direction, bool circular)
{
    const int n = GetItemCount();
    if (n == 0)
        return;
    const int index = listItemIndex_ != -1 ? listItemIndex_ : currentKey_;
    const int page = ActiveProperties()->GetDropDownPageRowCount();
    int target = index;
    switch (direction) {
    case egdBegin: target = 0; break;
    case egdEnd: target = n - 1; break;
    case egdNext: target = index < n - 1 ? index + 1 : (circular ? 0 : index); break;
    case egdPrev: target = index - 1 >= 0 ? index - 1 : (circular ? n - 1 : index); break;
    case egdPageUp:
        if (index == -1)
            target = circular ? n - 1 : -1;
        else if (index - page + 1 >= 0)
            target = index - page + 1;
        else
            target = circular && index == 0 ? n - 1 : 0;
        break;
    case egdPageDown: {
        const int t = index == -1 ? page - 1 : index + page - 1;
        target = t < n ? t : (circular && index == n - 1 ? 0 : n - 1);
        break;
    }
    }
    if (ListVisible() && !(ActiveProperties()->ImmediateUpdateText() && owner_->DoEditing()))
        InternalSetItemIndex(target);
    else
        SetCurrentKey(Variant(target));
}

// ---- key down ----------------------------------------------------------------------------------

void TcxCustomTextEdit::ScrollLookup(TcxEditLookupDataGoDirection direction)
{
    const int old = lookupData_->CurrentKey();
    lookupScrolling_ = true;
    LockChangeEvents(true);
    LockClick(true);
    try {
        lookupData_->Go(direction, false);
    } catch (...) {
        LockClick(false);
        LockChangeEvents(false);
        lookupScrolling_ = false;
        throw;
    }
    LockClick(false);
    LockChangeEvents(false);
    lookupScrolling_ = false;
    if (lookupData_->CurrentKey() != old) {
        DoClick();
        if (CanPostEditValue() && ActiveProperties()->ImmediatePost() && ValidateEdit(true))
            InternalPostEditValue(false);
    }
}

void TcxCustomTextEdit::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
    if (style == esFixedList && (key == VK_LEFT || key == VK_RIGHT || key == VK_DELETE) && !IsSpecialKey(key, shift)) {
        SetFindSelection(false);
        DoAfterKeyDown(key, shift);
        key = 0;
        return;
    }
    IcxInnerTextEdit* inner = InnerTextEdit();
    if (inner)
        inner->SetInternalUpdating(true);
    const std::uint16_t received = key;
    const bool hadFindSelection = findSelection_;
    TcxCustomEdit::DoEditKeyDown(key, shift);
    if (received == VK_RETURN && hadFindSelection)
        SelectAll();
    if (key != 0) {
        const bool homeEnd = key == VK_HOME || key == VK_END;
        if (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN || (homeEnd && style == esFixedList)) {
            if (lookupData_ && GetScrollLookupDataList(escKeyboard) && !lookupData_->IsEmpty()) {
                TcxEditLookupDataGoDirection d = egdNext;
                const bool ctrl = shift.Contains(ssCtrl);
                switch (key) {
                case VK_PRIOR: d = ctrl ? egdBegin : egdPageUp; break;
                case VK_NEXT: d = ctrl ? egdEnd : egdPageDown; break;
                case VK_END: d = egdEnd; break;
                case VK_HOME: d = egdBegin; break;
                case VK_UP: d = egdPrev; break;
                default: d = egdNext; break;
                }
                ScrollLookup(d);
                key = 0;
            }
            if (key != 0 && !homeEnd && inner && !inner->GetMultiLine()) {
                DoAfterKeyDown(key, shift);
                key = 0;
            }
        } else if ((key == VK_LEFT || key == VK_RIGHT) && !shift.Contains(ssShift)) {
            if (inner && inner->GetSelLength() > 0) {
                const int start = inner->GetSelStart();
                const int end = start + inner->GetSelLength();
                inner->SetSelStart(key == VK_RIGHT ? end : start);
                inner->SetSelLength(0);
                key = 0;
            }
            SetFindSelection(false);
        } else if (key == VK_DELETE) {
            if (style == esEditList) {
                DoAfterKeyDown(key, shift);
                key = 0;
            } else {
                SetFindSelection(false);
            }
        }
    }
    if (received == VK_END && style != esFixedList && inner && inner->GetSelLength() == 0)
        SetFindSelection(false);
    if (key != 0 && inner)
        inner->SetInternalUpdating(false);
}

// ---- key press and incremental search ------------------------------------------------------------

bool TcxCustomTextEdit::IncrementalComplete(std::string& text, bool& found)
{
    const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
    std::string tail;
    found = !text.empty() && lookupData_->Locate(text, tail, false);
    findSelection_ = found;
    if (text.empty()) {
        if (style != esFixedList)
            DataBinding()->SetDisplayValue(Variant(std::string()));
    } else if (found) {
        const int caret = int(Utf8ToUtf16(text).size());
        DataBinding()->SetDisplayValue(Variant(text + tail));
        if (InnerTextEdit()) {
            InnerTextEdit()->SetSelStart(caret);
            InnerTextEdit()->SetSelLength(int(Utf8ToUtf16(tail).size()));
        }
    }
    UpdateDrawValue();
    return found;
}

void TcxCustomTextEdit::DoEditKeyPress(char16_t& key)
{
    IcxInnerTextEdit* inner = InnerTextEdit();
    if (inner)
        inner->SetInternalUpdating(true);
    TcxCustomEdit::DoEditKeyPress(key);
    if (key == 0)
        return;
    TcxCustomTextEditProperties* p = ActiveProperties();
    const TcxEditEditingStyle style = p->GetEditingStyle();
    lookupTextChangeLock_ = false;
    TcxUserChangeScope userChange(this, true);
    if (style == esFixedList && !p->FixedListSelection() && key == 8) {
        key = 0;
        SetFindSelection(false);
        return;
    }
    const int oldKey = lookupData_ ? lookupData_->CurrentKey() : -1;
    const bool hadFind = findSelection_;
    bool found = false;
    LockClick(true);
    const std::u16string text = Utf8ToUtf16(InternalGetText());
    const int selStart = inner ? inner->GetSelStart() : 0;
    const int selLength = inner ? inner->GetSelLength() : 0;
    if (lookupData_ && p->CanIncrementalSearch() && DoEditing()) {
        if (key == 8) {
            int start = selStart, length = selLength;
            bool shown = hadFind;
            if (style == esEditList && !text.empty() && !hadFind) {
                length = int(text.size()) - start;
                shown = true;
            }
            if (shown) {
                std::u16string s = text.substr(0, std::size_t(std::max(0, int(text.size()) - length)));
                if (!s.empty()) {
                    std::size_t cut = s.size() - 1;
                    if (cut > 0 && s[cut] >= 0xDC00 && s[cut] <= 0xDFFF)
                        --cut;
                    s.resize(cut);
                }
                (void)start;
                lookupTextChangeLock_ = true;
                std::string search = Utf16ToUtf8(s);
                IncrementalComplete(search, found);
                if (!found && style != esFixedList && !search.empty()) {
                    // Nothing completes the shorter text: it stays as typed.
                    DataBinding()->SetDisplayValue(Variant(search));
                    if (inner)
                        inner->SetSelStart(int(s.size()));
                }
                found = true;   // the key did its work
                SetModifiedAfterEnter(true);
            }
            if (style == esFixedList)
                key = 0;
        } else if (IsTextChar(key)) {
            const bool editList = style == esEditList || style == esFixedList;
            const bool atEnd = selLength == 0 && selStart == int(text.size());
            if (editList || atEnd || hadFind || selLength > 0) {
                lookupTextChangeLock_ = true;
                std::u16string s;
                bool done = false;
                if (selLength > 0)
                    s = text.substr(0, std::size_t(selStart)) + key;
                else if (style != esFixedList)
                    s = text.substr(0, std::size_t(selStart)) + key + text.substr(std::size_t(selStart));
                else if (hadFind) {
                    std::string search = Utf16ToUtf8(text + key);
                    done = IncrementalComplete(search, found);
                    if (!found)
                        s = std::u16string(1, key);
                } else
                    s = std::u16string(1, key);
                if (!done && !found) {
                    std::string search = Utf16ToUtf8(s);
                    IncrementalComplete(search, found);
                    if (!found && style == esFixedList && !p->FixedListSelection()) {
                        std::string single = Utf16ToUtf8(std::u16string(1, key));
                        IncrementalComplete(single, found);
                    }
                }
                if (found)
                    SetModifiedAfterEnter(true);
                if (!found && editList) {
                    key = 0;
                    if (style == esEditList && !text.empty())
                        findSelection_ = true;
                    else if (style == esFixedList && p->FixedListSelection() && hadFind)
                        findSelection_ = true;
                }
            }
        }
    }
    LockClick(false);
    if (lookupData_ && lookupData_->CurrentKey() != oldKey)
        DoClick();
    if (found)
        key = 0;
    if (key != 0 && inner)
        inner->SetInternalUpdating(false);
}

// ---- item choice ---------------------------------------------------------------------------------

void TcxCustomTextEdit::HandleSelectItem(TObject*)
{
    if (!lookupData_)
        return;
    std::string text;
    lookupData_->GetDisplayText(lookupData_->GetCurrentKey(), text);
    Variant v;
    PrepareEditValue(Variant(text), v, InternalFocused());
    const bool differs = VarToStr(v) != VarToStr(EditValue());
    if (!differs || DoEditing()) {
        SaveModified();
        const bool lockWas = lookupTextChangeLock_;
        lookupTextChangeLock_ = true;
        SetInternalEditValue(v);
        lookupTextChangeLock_ = lockWas;
        RestoreModified();
        if (differs)
            SetModifiedAfterEnter(true);
    }
    SelectAll();
    ShortRefreshContainer(false);
}

int TcxCustomTextEdit::ItemIndex() { return lookupData_ ? lookupData_->CurrentKey() : -1; }

void TcxCustomTextEdit::SetItemIndex(int value)
{
    if (!lookupData_)
        return;
    LockClick(true);
    const int old = ItemIndex();
    lookupData_->SetCurrentKey(Variant(value));
    LockClick(false);
    if (ItemIndex() != old) {
        SetModified(false);
        Click();
    }
}

bool TcxCustomTextEdit::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TcxCustomEdit::DoMouseWheel(shift, wheelDelta, mousePos))
        return true;
    if (!GetScrollLookupDataList(escMouseWheel) || !lookupData_ || lookupData_->IsEmpty() || !HandleMouseWheel(shift))
        return false;
    if (DoEditing())
        ScrollLookup(wheelDelta > 0 ? egdPrev : egdNext);
    return true;
}

// ---- digit grouping -------------------------------------------------------------------------------

void TcxCustomTextEdit::ChangeHandler(TObject* sender)
{
    // The change handlers run here (unlocking fires what was held back) and may free the editor.
    const auto alive = AliveToken();
    LockChangeEvents(true);
    try {
        TcxCustomEdit::ChangeHandler(sender);
    } catch (...) {
        if (!alive.expired())
            LockChangeEvents(false);
        throw;
    }
    if (alive.expired())
        return;
    LockChangeEvents(false);
    if (alive.expired())
        return;
    if (auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(EditViewInfo()); vi && !vi->IsEditClass)
        UpdateDrawValue();
    if (IsEditFocused() && ActiveProperties()->IsEditValueNumeric() &&
        ActiveProperties()->HasDigitGrouping(displayValueWriting_))
        SeparateDigitGroups();
}

void TcxCustomTextEdit::SeparateDigitGroups()
{
    const std::string text = InternalGetText();
    std::string grouped = text;
    InsertThousandSeparator(grouped);
    std::string plain = grouped;
    RemoveThousandSeparator(plain);
    double d = 0;
    if (grouped == text || !rtl::TryStrToFloat(plain, d))
        return;
    const char sep = rtl::FormatSettings().ThousandSeparator;
    const std::u16string old = Utf8ToUtf16(text);
    const int caret = GetCursorPos();
    int count = 0;
    for (int i = 0; i < caret && i < int(old.size()); ++i)
        if (old[std::size_t(i)] != char16_t(sep))
            ++count;
    SetInternalDisplayValue(Variant(grouped));
    if (count == 0)
        return;
    const std::u16string now = Utf8ToUtf16(grouped);
    int pos = 0, seen = 0;
    while (pos < int(now.size()) && seen < count) {
        if (now[std::size_t(pos)] != char16_t(sep))
            ++seen;
        ++pos;
    }
    SetSelection(pos, 0);
}

} // namespace cx

#pragma once
// A plain text buffer standing in for the masked editor: it answers the mode's questions, applies
// the keys the mode sends itself as the inner edit would, and drives keys through a mode the way
// the control does (the mode first; the edit's own processing only when the mode answers True).
#include <algorithm>
#include <string>

#include "platform/vcl/Messages.h"
#include "toolkit/editors/cxMaskEditModes.h"

class FakeMaskHost : public cx::IcxMaskEditHost {
public:
    bool CanEdit() override { return true; }
    bool HandleAllocated() override { return true; }
    cx::TcxMaskModeSettings Settings() override { return settings; }
    std::u16string GetText() override { return text; }
    void SetDisplayText(const std::u16string& value) override
    {
        text = value;
        Clamp();
    }
    int GetSelStart() override { return std::min(anchor, caret); }
    int GetSelLength() override { return std::abs(anchor - caret); }
    bool IsCaretAtSelStart() override { return caret <= anchor; }
    // The caret goes to the start of the selection, where the masks keep it.
    void SetSelection(int start, int length) override
    {
        caret = start;
        anchor = start + length;
        Clamp();
    }
    bool IsSelecting() override { return shift; }
    void SetSelecting(bool value) override { shift = value; }
    void SendOwnKeyDown(std::uint16_t key) override
    {
        ownKeys += key == VK_LEFT ? u'L' : key == VK_BACK ? u'B' : key == VK_DELETE ? u'D' : u'?';
        EditKey(key);
    }
    void SendOwnChar(char16_t ch) override { InsertChar(ch); }
    void Beep() override { ++beeps; }
    bool IsCharValidForPos(char16_t&, int) override { return true; }
    bool ModifiedAfterEnter() override { return true; }
    std::u16string PrepareDisplayText() override { return text; }
    void SetInternalDisplayValue(const std::u16string& value) override { text = value; }
    void SetEditValue(const std::u16string& value) override { editValue = value; }

    // ---- the inner edit's own processing ----
    void InsertChar(char16_t ch)
    {
        const int start = GetSelStart();
        text.replace(start, GetSelLength(), 1, ch);
        caret = anchor = start + 1;
    }
    void EditKey(std::uint16_t key)
    {
        const int start = GetSelStart(), length = GetSelLength();
        const int size = static_cast<int>(text.size());
        switch (key) {
        case VK_LEFT:
            if (shift)
                caret = std::max(caret - 1, 0);
            else
                caret = anchor = length > 0 ? start : std::max(caret - 1, 0);
            break;
        case VK_RIGHT:
            if (shift)
                caret = std::min(caret + 1, size);
            else
                caret = anchor = length > 0 ? start + length : std::min(caret + 1, size);
            break;
        case VK_HOME: caret = 0; if (!shift) anchor = 0; break;
        case VK_END: caret = size; if (!shift) anchor = size; break;
        case VK_DELETE:
            text.erase(start, length > 0 ? length : (start < size ? 1 : 0));
            caret = anchor = start;
            break;
        case VK_BACK:
            if (length > 0) {
                text.erase(start, length);
                caret = anchor = start;
            } else if (start > 0) {
                text.erase(start - 1, 1);
                caret = anchor = start - 1;
            }
            break;
        default: break;
        }
    }

    // ---- the control's routing ----
    void Type(cx::TcxMaskEditCustomMode& mode, const std::u16string& chars)
    {
        for (char16_t ch : chars) {
            if (ch == 8) {
                Key(mode, VK_BACK);
                continue;
            }
            if (mode.PressSymbol(ch))
                InsertChar(ch);
        }
    }
    void Key(cx::TcxMaskEditCustomMode& mode, std::uint16_t key, bool withShift = false)
    {
        shift = withShift;
        bool own = false;
        switch (key) {
        case VK_LEFT: own = mode.PressLeft(); break;
        case VK_RIGHT: own = mode.PressRight(); break;
        case VK_HOME: own = mode.PressHome(); break;
        case VK_END: own = mode.PressEnd(); break;
        case VK_DELETE: own = mode.PressDelete(); break;
        case VK_BACK: own = mode.PressBackSpace(); break;
        default: break;
        }
        if (own)
            EditKey(key);
        shift = false;
    }

    std::u16string text;
    std::u16string editValue;
    std::u16string ownKeys;
    int anchor = 0;
    int caret = 0;
    bool shift = false;
    int beeps = 0;
    cx::TcxMaskModeSettings settings{true, false, true, true};

private:
    void Clamp()
    {
        const int size = static_cast<int>(text.size());
        caret = std::clamp(caret, 0, size);
        anchor = std::clamp(anchor, 0, size);
    }
};

#include "platform/vcl/Keys.h"

#include "platform/vcl/Messages.h"

#include <QGuiApplication>

namespace vcl::keys {

namespace {

// The keypad's keys while Qt marks the event as coming from the keypad.
std::uint16_t KeypadKey(int k)
{
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return std::uint16_t(VK_NUMPAD0 + (k - Qt::Key_0));
    switch (k) {
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Period: case Qt::Key_Comma: return VK_DECIMAL;
    case Qt::Key_Slash: return VK_DIVIDE;
    case Qt::Key_Clear: return VK_CLEAR;
    default: return 0;
    }
}

// Keys of the US layout that type a symbol, shifted or not, by the symbol Qt reports.
std::uint16_t SymbolKey(int k)
{
    switch (k) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: case Qt::Key_Dead_Circumflex: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Equal: case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma: case Qt::Key_Less: case Qt::Key_Dead_Cedilla: return VK_OEM_COMMA;
    case Qt::Key_Minus: case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period: case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Slash: case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: case Qt::Key_Dead_Grave: case Qt::Key_Dead_Tilde:
        return VK_OEM_3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: case Qt::Key_Dead_Acute: case Qt::Key_Dead_Diaeresis:
        return VK_OEM_7;
    default: return 0;
    }
}

std::uint16_t NamedKey(int k)
{
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: case Qt::Key_AltGr: return VK_MENU;
    case Qt::Key_Meta: case Qt::Key_Super_L: return VK_LWIN;
    case Qt::Key_Super_R: return VK_RWIN;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Select: return VK_SELECT;
    case Qt::Key_Printer: return VK_PRINT;
    case Qt::Key_Print: case Qt::Key_SysReq: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Sleep: return VK_SLEEP;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Cancel: return VK_CANCEL;
    case Qt::Key_Back: return VK_BROWSER_BACK;
    case Qt::Key_Forward: return VK_BROWSER_FORWARD;
    case Qt::Key_Refresh: return VK_BROWSER_REFRESH;
    case Qt::Key_Stop: return VK_BROWSER_STOP;
    case Qt::Key_Search: return VK_BROWSER_SEARCH;
    case Qt::Key_Favorites: return VK_BROWSER_FAVORITES;
    case Qt::Key_HomePage: return VK_BROWSER_HOME;
    case Qt::Key_VolumeMute: return VK_VOLUME_MUTE;
    case Qt::Key_VolumeDown: return VK_VOLUME_DOWN;
    case Qt::Key_VolumeUp: return VK_VOLUME_UP;
    case Qt::Key_MediaNext: return VK_MEDIA_NEXT_TRACK;
    case Qt::Key_MediaPrevious: return VK_MEDIA_PREV_TRACK;
    case Qt::Key_MediaStop: return VK_MEDIA_STOP;
    case Qt::Key_MediaPlay: case Qt::Key_MediaTogglePlayPause: case Qt::Key_MediaPause:
        return VK_MEDIA_PLAY_PAUSE;
    case Qt::Key_LaunchMail: return VK_LAUNCH_MAIL;
    default: return 0;
    }
}

// The character keys of a PC keyboard by their Linux input code (X11 and Wayland keycodes are
// that code plus 8): the US layout's virtual key at each position.
std::uint16_t KeyAtScanCode(std::uint32_t keycode)
{
    static const char* const rows[] = {
        // codes 2..13, 16..27, 30..41, 43..53
        "1234567890-=", "QWERTYUIOP[]", "ASDFGHJKL;'`", "\\ZXCVBNM,./"};
    static const int starts[] = {2, 16, 30, 43};
    if (keycode < 8)
        return 0;
    const int code = int(keycode - 8);
    for (int r = 0; r < 4; ++r) {
        const std::string row = rows[r];
        const int i = code - starts[r];
        if (i < 0 || i >= int(row.size()))
            continue;
        const char c = row[std::size_t(i)];
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return std::uint16_t(c);
        switch (c) {
        case '-': return VK_OEM_MINUS;
        case '=': return VK_OEM_PLUS;
        case '[': return VK_OEM_4;
        case ']': return VK_OEM_6;
        case ';': return VK_OEM_1;
        case '\'': return VK_OEM_7;
        case '`': return VK_OEM_3;
        case '\\': return VK_OEM_5;
        case ',': return VK_OEM_COMMA;
        case '.': return VK_OEM_PERIOD;
        case '/': return VK_OEM_2;
        default: return 0;
        }
    }
    return code == 86 ? VK_OEM_102 : 0;
}

bool ScanCodesArePositions()
{
    const QString p = QGuiApplication::platformName();
    return p == QLatin1String("xcb") || p.startsWith(QLatin1String("wayland"));
}

} // namespace

std::uint16_t VirtualKeyOf(int k, Qt::KeyboardModifiers mods, std::uint32_t nativeScanCode, const QString& text)
{
    if (mods & Qt::KeypadModifier) {
        if (std::uint16_t vk = KeypadKey(k))
            return vk;
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return std::uint16_t('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return std::uint16_t('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return std::uint16_t(VK_F1 + (k - Qt::Key_F1));
    if (std::uint16_t vk = NamedKey(k))
        return vk;
    if (std::uint16_t vk = SymbolKey(k))
        return vk;
    // A key of another layout: where it sits on the keyboard.
    if (nativeScanCode != 0 && ScanCodesArePositions()) {
        if (std::uint16_t vk = KeyAtScanCode(nativeScanCode))
            return vk;
    }
    // A Latin letter with a mark (é, ü, ç): the key of its base letter, as a US layout with
    // its international extension types it.
    if (k >= 0xC0 && k <= 0xFF) {
        const QString d = QChar(char16_t(k)).decomposition();
        const QChar base = d.isEmpty() ? QChar(char16_t(k)) : d.at(0);
        const char16_t up = base.toUpper().unicode();
        if (up >= 'A' && up <= 'Z')
            return up;
    }
    if (!text.isEmpty() && text.at(0).unicode() >= 0x20)
        return VK_PACKET;
    return 0;
}

bool IsDeadKey(int k) { return k >= Qt::Key_Dead_Grave && k <= Qt::Key_Dead_Longsolidusoverlay; }

std::u16string CharsOf(std::uint16_t vk, Qt::KeyboardModifiers mods, const QString& text)
{
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    switch (vk) {
    case VK_BACK: return ctrl ? u"\x7F" : u"\b";
    case VK_TAB: return ctrl ? u"" : u"\t";
    case VK_RETURN: return ctrl ? u"\n" : u"\r";
    case VK_ESCAPE: return u"\x1B";
    case VK_SPACE: return u" ";
    case VK_CANCEL: return ctrl ? u"\x03" : u"";
    default: break;
    }
    // Keys that type nothing: navigation, function, modifier, media and lock keys.
    const bool typing = (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') ||
                        (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE && vk != VK_SEPARATOR) ||
                        (vk >= VK_OEM_1 && vk <= VK_OEM_3) || (vk >= VK_OEM_4 && vk <= VK_OEM_7) ||
                        vk == VK_OEM_102 || vk == VK_PACKET;
    if (!typing)
        return {};
    if (ctrl && !alt) {
        // The control characters of the keyboard translation.
        if (vk >= 'A' && vk <= 'Z')
            return std::u16string(1, char16_t(vk - 'A' + 1));
        switch (vk) {
        case VK_OEM_4: return u"\x1B";
        case VK_OEM_5: return u"\x1C";
        case VK_OEM_6: return u"\x1D";
        case '6': return (mods & Qt::ShiftModifier) ? u"\x1E" : u"";
        case VK_OEM_MINUS: return (mods & Qt::ShiftModifier) ? u"\x1F" : u"";
        default: return {};
        }
    }
    std::u16string out;
    for (QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            out.push_back(c.unicode());
    // A platform that reports no text for a plain key (or for Alt with it, whose character
    // the system still sends as WM_SYSCHAR): the US layout's character.
    if (out.empty() && !ctrl && vk != VK_PACKET) {
        if (char16_t c = UsCharOf(vk, mods & Qt::ShiftModifier))
            out.push_back(c);
    }
    return out;
}

char16_t UsCharOf(std::uint16_t vk, bool shift)
{
    if (vk >= 'A' && vk <= 'Z')
        return char16_t(shift ? vk : vk + ('a' - 'A'));
    if (vk >= '0' && vk <= '9')
        return shift ? char16_t(u")!@#$%^&*("[vk - '0']) : char16_t(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return char16_t('0' + (vk - VK_NUMPAD0));
    switch (vk) {
    case VK_MULTIPLY: return u'*';
    case VK_ADD: return u'+';
    case VK_SUBTRACT: return u'-';
    case VK_DECIMAL: return u'.';
    case VK_DIVIDE: return u'/';
    case VK_SPACE: return u' ';
    case VK_OEM_1: return shift ? u':' : u';';
    case VK_OEM_PLUS: return shift ? u'+' : u'=';
    case VK_OEM_COMMA: return shift ? u'<' : u',';
    case VK_OEM_MINUS: return shift ? u'_' : u'-';
    case VK_OEM_PERIOD: return shift ? u'>' : u'.';
    case VK_OEM_2: return shift ? u'?' : u'/';
    case VK_OEM_3: return shift ? u'~' : u'`';
    case VK_OEM_4: return shift ? u'{' : u'[';
    case VK_OEM_5: return shift ? u'|' : u'\\';
    case VK_OEM_6: return shift ? u'}' : u']';
    case VK_OEM_7: return shift ? u'"' : u'\'';
    default: return 0;
    }
}

int QtKeyOf(std::uint16_t vk)
{
    switch (vk) {
    case VK_LEFT: return Qt::Key_Left;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_UP: return Qt::Key_Up;
    case VK_DOWN: return Qt::Key_Down;
    case VK_HOME: return Qt::Key_Home;
    case VK_END: return Qt::Key_End;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_BACK: return Qt::Key_Backspace;
    case VK_RETURN: return Qt::Key_Return;
    case VK_TAB: return Qt::Key_Tab;
    case VK_ESCAPE: return Qt::Key_Escape;
    default:
        if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
            return vk;
        return 0;
    }
}

} // namespace vcl::keys

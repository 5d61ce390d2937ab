#pragma once
// Window messages with the numbers the toolkit was written against: WM_ as the system numbers
// them, CM_ (the component library's own, from 0xB000) and CN_ (a notification reflected back to
// the control: 0xBC00 + the WM_ number). A message is one record, TMessage; the typed views
// (TWMKey, TWMMouse, ...) are accessors over it, never copies.
#include <cstdint>

// A window handle is an id from the handle registry, never reused; it is pointer-sized like the
// handles the toolkit passes around, and 0 (nullptr) is no window.
using HWND = void*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HHOOK = void*;
using UINT = unsigned;

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// A queued message as GetMessage would return it (the get-message hook sees and may rewrite it).
struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::uint32_t time = 0;
    int ptX = 0;
    int ptY = 0;
};

constexpr std::uint16_t LoWord(std::uintptr_t v) { return std::uint16_t(v & 0xFFFF); }
constexpr std::uint16_t HiWord(std::uintptr_t v) { return std::uint16_t((v >> 16) & 0xFFFF); }
constexpr LPARAM MakeLParam(int lo, int hi)
{
    return LPARAM(std::int32_t(std::uint32_t(std::uint16_t(lo)) | (std::uint32_t(std::uint16_t(hi)) << 16)));
}
// The signed 16-bit halves of a mouse message's point.
constexpr int XFromLParam(LPARAM l) { return std::int16_t(l & 0xFFFF); }
constexpr int YFromLParam(LPARAM l) { return std::int16_t((l >> 16) & 0xFFFF); }

enum : UINT {
    WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A,
    WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014, WM_SYSCOLORCHANGE = 0x0015, WM_SHOWWINDOW = 0x0018,
    WM_SETTINGCHANGE = 0x001A, WM_WININICHANGE = 0x001A, WM_ACTIVATEAPP = 0x001C,
    WM_TIMECHANGE = 0x001E, WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020,
    WM_MOUSEACTIVATE = 0x0021, WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047,
    WM_CONTEXTMENU = 0x007B, WM_NCCREATE = 0x0081, WM_NCDESTROY = 0x0082,
    WM_NCCALCSIZE = 0x0083, WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086,
    WM_GETDLGCODE = 0x0087, WM_NCMOUSEMOVE = 0x00A0, WM_NCLBUTTONDOWN = 0x00A1,
    WM_NCLBUTTONUP = 0x00A2, WM_NCLBUTTONDBLCLK = 0x00A3, WM_NCRBUTTONDOWN = 0x00A4,
    WM_NCRBUTTONUP = 0x00A5, WM_NCRBUTTONDBLCLK = 0x00A6, WM_NCMBUTTONDOWN = 0x00A7,
    WM_NCMBUTTONUP = 0x00A8, WM_NCMBUTTONDBLCLK = 0x00A9,
    WM_KEYFIRST = 0x0100, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102,
    WM_DEADCHAR = 0x0103, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105, WM_SYSCHAR = 0x0106,
    WM_KEYLAST = 0x0108, WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115, WM_INITMENUPOPUP = 0x0117,
    WM_MOUSEFIRST = 0x0200, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A, WM_MOUSELAST = 0x020A,
    WM_CAPTURECHANGED = 0x0215, WM_MOUSEHOVER = 0x02A1, WM_MOUSELEAVE = 0x02A3,
    WM_USER = 0x0400, WM_APP = 0x8000,
    WM_GETTEXTLENGTH = 0x000E, WM_SETFONT = 0x0030, WM_GETFONT = 0x0031,
    WM_IME_STARTCOMPOSITION = 0x010D, WM_IME_ENDCOMPOSITION = 0x010E, WM_IME_COMPOSITION = 0x010F,
    WM_IME_SETCONTEXT = 0x0281, WM_IME_NOTIFY = 0x0282, WM_IME_CHAR = 0x0286,
    WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302, WM_CLEAR = 0x0303, WM_UNDO = 0x0304,
};

// Edit-control messages, notifications (WM_COMMAND's high word) and styles.
enum : UINT {
    EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETRECT = 0x00B2, EM_SCROLL = 0x00B5,
    EM_LINESCROLL = 0x00B6, EM_SCROLLCARET = 0x00B7, EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9,
    EM_GETLINECOUNT = 0x00BA, EM_LINEINDEX = 0x00BB, EM_LINELENGTH = 0x00C1,
    EM_REPLACESEL = 0x00C2, EM_GETLINE = 0x00C4, EM_LIMITTEXT = 0x00C5, EM_SETLIMITTEXT = 0x00C5,
    EM_CANUNDO = 0x00C6, EM_UNDO = 0x00C7, EM_LINEFROMCHAR = 0x00C9, EM_SETPASSWORDCHAR = 0x00CC,
    EM_EMPTYUNDOBUFFER = 0x00CD, EM_GETFIRSTVISIBLELINE = 0x00CE, EM_SETREADONLY = 0x00CF,
    EM_GETPASSWORDCHAR = 0x00D2, EM_SETMARGINS = 0x00D3, EM_GETMARGINS = 0x00D4,
    EM_GETLIMITTEXT = 0x00D5, EM_POSFROMCHAR = 0x00D6, EM_CHARFROMPOS = 0x00D7,
};
enum : std::uint16_t {
    EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400,
    EN_MAXTEXT = 0x0501, EN_HSCROLL = 0x0601, EN_VSCROLL = 0x0602, BN_CLICKED = 0,
};
// The scroll-bar codes of WM_HSCROLL and WM_VSCROLL (the low word; the high word is the thumb's
// position for SB_THUMBPOSITION and SB_THUMBTRACK).
enum : int {
    SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5,
    SB_TOP = 6, SB_BOTTOM = 7, SB_ENDSCROLL = 8
};
enum : std::uint32_t {
    ES_LEFT = 0, ES_CENTER = 1, ES_RIGHT = 2, ES_MULTILINE = 4, ES_UPPERCASE = 8,
    ES_LOWERCASE = 0x10, ES_PASSWORD = 0x20, ES_AUTOVSCROLL = 0x40, ES_AUTOHSCROLL = 0x80,
    ES_NOHIDESEL = 0x100, ES_OEMCONVERT = 0x400, ES_READONLY = 0x800, ES_WANTRETURN = 0x1000,
    ES_NUMBER = 0x2000,
};
enum : unsigned { EC_LEFTMARGIN = 1, EC_RIGHTMARGIN = 2, EC_USEFONTINFO = 0xFFFF };
// Which string a WM_IME_COMPOSITION carries (lParam).
enum : unsigned { GCS_COMPSTR = 0x0008, GCS_RESULTSTR = 0x0800 };

// The component library's own messages.
enum : UINT {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_GOTFOCUS = CM_BASE + 2,
    CM_LOSTFOCUS = CM_BASE + 3, CM_CANCELMODE = CM_BASE + 4, CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7, CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9, CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11,
    CM_ENABLEDCHANGED = CM_BASE + 12, CM_COLORCHANGED = CM_BASE + 13, CM_FONTCHANGED = CM_BASE + 14,
    CM_CURSORCHANGED = CM_BASE + 15, CM_CTL3DCHANGED = CM_BASE + 16, CM_PARENTCTL3DCHANGED = CM_BASE + 17,
    CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
    CM_MENUCHANGED = CM_BASE + 21, CM_APPKEYDOWN = CM_BASE + 22, CM_APPSYSCOMMAND = CM_BASE + 23,
    CM_BUTTONPRESSED = CM_BASE + 24, CM_SHOWINGCHANGED = CM_BASE + 25, CM_ENTER = CM_BASE + 26,
    CM_EXIT = CM_BASE + 27, CM_DESIGNHITTEST = CM_BASE + 28, CM_ICONCHANGED = CM_BASE + 29,
    CM_WANTSPECIALKEY = CM_BASE + 30, CM_INVOKEHELP = CM_BASE + 31, CM_WINDOWHOOK = CM_BASE + 32,
    CM_RELEASE = CM_BASE + 33, CM_SHOWHINTCHANGED = CM_BASE + 34, CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
    CM_SYSCOLORCHANGE = CM_BASE + 36, CM_WININICHANGE = CM_BASE + 37, CM_FONTCHANGE = CM_BASE + 38,
    CM_TIMECHANGE = CM_BASE + 39, CM_TABSTOPCHANGED = CM_BASE + 40, CM_UIACTIVATE = CM_BASE + 41,
    CM_UIDEACTIVATE = CM_BASE + 42, CM_DOCWINDOWACTIVATE = CM_BASE + 43, CM_CONTROLLISTCHANGE = CM_BASE + 44,
    CM_GETDATALINK = CM_BASE + 45, CM_CHILDKEY = CM_BASE + 46, CM_DRAG = CM_BASE + 47,
    CM_HINTSHOW = CM_BASE + 48, CM_DIALOGHANDLE = CM_BASE + 49, CM_ISTOOLCONTROL = CM_BASE + 50,
    CM_RECREATEWND = CM_BASE + 51, CM_INVALIDATE = CM_BASE + 52, CM_SYSFONTCHANGED = CM_BASE + 53,
    CM_CONTROLCHANGE = CM_BASE + 54, CM_CHANGED = CM_BASE + 55, CM_DOCKCLIENT = CM_BASE + 56,
    CM_UNDOCKCLIENT = CM_BASE + 57, CM_FLOAT = CM_BASE + 58, CM_BORDERCHANGED = CM_BASE + 59,
    CM_BIDIMODECHANGED = CM_BASE + 60, CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
    CM_ALLCHILDRENFLIPPED = CM_BASE + 62, CM_ACTIONUPDATE = CM_BASE + 63,
    CM_ACTIONEXECUTE = CM_BASE + 64, CM_HINTSHOWPAUSE = CM_BASE + 65, CM_DOCKNOTIFICATION = CM_BASE + 66,
    CM_MOUSEWHEEL = CM_BASE + 67, CM_ISSHORTCUT = CM_BASE + 68,
};

// Notifications reflected to the control itself.
enum : UINT {
    CN_BASE = 0xBC00,
    CN_COMMAND = CN_BASE + WM_COMMAND, CN_KEYDOWN = CN_BASE + WM_KEYDOWN, CN_KEYUP = CN_BASE + WM_KEYUP,
    CN_CHAR = CN_BASE + WM_CHAR, CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
    CN_SYSKEYUP = CN_BASE + WM_SYSKEYUP, CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
    CN_HSCROLL = CN_BASE + WM_HSCROLL, CN_VSCROLL = CN_BASE + WM_VSCROLL,
};

// WM_ACTIVATE states, WM_SIZE kinds, mouse-key flags, dialog codes.
enum : int { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };
enum : int { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
enum : unsigned { MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8, MK_MBUTTON = 0x10 };
enum : int {
    DLGC_WANTARROWS = 1, DLGC_WANTTAB = 2, DLGC_WANTALLKEYS = 4, DLGC_WANTMESSAGE = 4,
    DLGC_HASSETSEL = 8, DLGC_WANTCHARS = 0x80
};
constexpr int WHEEL_DELTA = 120;
constexpr unsigned PM_NOREMOVE = 0, PM_REMOVE = 1;

// Virtual keys.
enum : std::uint16_t {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08,
    VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
    VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
    VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SELECT = 0x29, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D,
    VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7,
    VK_F8, VK_F9, VK_F10, VK_F11, VK_F12, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5,
    VK_NUMPAD1 = 0x61, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5, VK_NUMPAD6, VK_NUMPAD7,
    VK_NUMPAD8, VK_NUMPAD9, VK_F13 = 0x7C, VK_F24 = 0x87, VK_SLEEP = 0x5F, VK_PRINT = 0x2A,
    VK_BROWSER_BACK = 0xA6, VK_BROWSER_FORWARD = 0xA7, VK_BROWSER_REFRESH = 0xA8,
    VK_BROWSER_STOP = 0xA9, VK_BROWSER_SEARCH = 0xAA, VK_BROWSER_FAVORITES = 0xAB,
    VK_BROWSER_HOME = 0xAC, VK_VOLUME_MUTE = 0xAD, VK_VOLUME_DOWN = 0xAE, VK_VOLUME_UP = 0xAF,
    VK_MEDIA_NEXT_TRACK = 0xB0, VK_MEDIA_PREV_TRACK = 0xB1, VK_MEDIA_STOP = 0xB2,
    VK_MEDIA_PLAY_PAUSE = 0xB3, VK_LAUNCH_MAIL = 0xB4,
    // The US layout's punctuation keys.
    VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC,
    VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE, VK_OEM_102 = 0xE2,
    // A key the input method took; a character typed without a key of its own.
    VK_PROCESSKEY = 0xE5, VK_PACKET = 0xE7,
};

// Hooks: kinds, action code and the records the hooks receive.
enum : int { WH_GETMESSAGE = 3, WH_CALLWNDPROC = 4, WH_MOUSE = 7 };
enum : int { HC_ACTION = 0 };

struct CWPSTRUCT {
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND hwnd;
};

struct MOUSEHOOKSTRUCT {
    int ptX;
    int ptY;
    HWND hwnd;
    UINT wHitTestCode;
    std::uintptr_t dwExtraInfo;
};

enum : UINT { HTNOWHERE = 0, HTCLIENT = 1 };

// Typed views of a message record.
struct TWMKey {
    TMessage& M;
    void SetCharCode(std::uint16_t key) { M.WParam = key; }
    std::uint16_t Key() const { return std::uint16_t(M.WParam); }
    LPARAM KeyData() const { return M.LParam; }
};
struct TWMMouse {
    TMessage& M;
    unsigned Keys() const { return unsigned(M.WParam); }
    int XPos() const { return XFromLParam(M.LParam); }
    int YPos() const { return YFromLParam(M.LParam); }
};

// The keyboard hook kind (every key press and release in the program) and the answers to
// WM_MOUSEACTIVATE.
enum : int { WH_KEYBOARD = 2 };
enum : int { MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4 };
// WM_SETTINGCHANGE's wParam when the non-client metrics (scroll-bar sizes among them) changed.
enum : unsigned { SPI_SETNONCLIENTMETRICS = 42 };
// Messages numbered by name at run time (RegisterWindowMessage) come from this range.
enum : UINT { WM_REGISTERED_FIRST = 0xC000, WM_REGISTERED_LAST = 0xFFFF };

// The drag-and-drop notices of the component library: CM_DRAG's wParam.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

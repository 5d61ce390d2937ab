#pragma once
// Qt keys as the toolkit expects them: the virtual-key code of the key on a US layout, and the
// characters WM_CHAR carries for it, made the way the system's keyboard translation makes them
// (Ctrl with a letter gives the control character, navigation and function keys give none,
// Alt gives system characters).
#include <QString>
#include <Qt>

#include <cstdint>
#include <string>

namespace vcl::keys {

// The virtual key of a Qt key event; 0 when the event is no key of ours. A key that types a
// character without a known key (a letter of another script) gives VK_PACKET; the physical
// key's scan code (X11 and Wayland keycodes) is used where Qt's key code names none.
std::uint16_t VirtualKeyOf(int qtKey, Qt::KeyboardModifiers mods, std::uint32_t nativeScanCode = 0,
                           const QString& text = {});
// The UTF-16 units that follow a key-down of `vk` as WM_CHAR (WM_SYSCHAR with Alt).
std::u16string CharsOf(std::uint16_t vk, Qt::KeyboardModifiers mods, const QString& text);
// The character a key gives on a US layout, with or without Shift; 0 for keys that type none.
char16_t UsCharOf(std::uint16_t vk, bool shift);
// The Qt key of a virtual key (the reverse of VirtualKeyOf for keys that move and edit).
int QtKeyOf(std::uint16_t vk);

} // namespace vcl::keys

// The window-message record and the message and virtual-key numbers that the window layer produces
// and the engine, the input handler and the game consume. The numbers are the classic desktop ones,
// so key codes in game code and data keep their meaning. Plain constants; no dependencies.
#pragma once

#include <cstdint>
#include <functional>

namespace Qel
{
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// An opaque handle to the game window, as the window layer hands it out; null when there is none.
using WindowHandle = void*;

// The game's hook into the window procedure: offered every message first. A non-zero result means the
// hook has dealt with the message and the window procedure does nothing more with it.
using WindowProcedure = std::function<LResult(WindowHandle, std::uint32_t, WParam, LParam)>;

struct WindowMessage
{
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

constexpr std::uint32_t LowWord(WParam aValue)
{
    return static_cast<std::uint32_t>(aValue & 0xFFFF);
}
} // namespace Qel

// Messages.
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr std::uint32_t WM_SETICON = 0x0080;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;

// The low word of WM_ACTIVATE's wParam.
inline constexpr std::uint32_t WA_INACTIVE = 0;
inline constexpr std::uint32_t WA_ACTIVE = 1;
inline constexpr std::uint32_t WA_CLICKACTIVE = 2;

// WM_SIZE's wParam.
inline constexpr std::uint32_t SIZE_RESTORED = 0;
inline constexpr std::uint32_t SIZE_MINIMIZED = 1;
inline constexpr std::uint32_t SIZE_MAXIMIZED = 2;

// WM_SETICON's wParam.
inline constexpr std::uint32_t ICON_SMALL = 0;
inline constexpr std::uint32_t ICON_BIG = 1;

// Virtual-key codes. Letters are their upper-case ASCII codes, digits their ASCII codes; both Shift
// keys report VK_SHIFT and both Control keys VK_CONTROL, as the game expects.
inline constexpr std::uint32_t VK_LBUTTON = 0x01;
inline constexpr std::uint32_t VK_RBUTTON = 0x02;
inline constexpr std::uint32_t VK_MBUTTON = 0x04;
inline constexpr std::uint32_t VK_BACK = 0x08;
inline constexpr std::uint32_t VK_TAB = 0x09;
inline constexpr std::uint32_t VK_RETURN = 0x0D;
inline constexpr std::uint32_t VK_SHIFT = 0x10;
inline constexpr std::uint32_t VK_CONTROL = 0x11;
inline constexpr std::uint32_t VK_MENU = 0x12; // Alt
inline constexpr std::uint32_t VK_PAUSE = 0x13;
inline constexpr std::uint32_t VK_CAPITAL = 0x14;
inline constexpr std::uint32_t VK_ESCAPE = 0x1B;
inline constexpr std::uint32_t VK_SPACE = 0x20;
inline constexpr std::uint32_t VK_PRIOR = 0x21; // Page Up
inline constexpr std::uint32_t VK_NEXT = 0x22;  // Page Down
inline constexpr std::uint32_t VK_END = 0x23;
inline constexpr std::uint32_t VK_HOME = 0x24;
inline constexpr std::uint32_t VK_LEFT = 0x25;
inline constexpr std::uint32_t VK_UP = 0x26;
inline constexpr std::uint32_t VK_RIGHT = 0x27;
inline constexpr std::uint32_t VK_DOWN = 0x28;
inline constexpr std::uint32_t VK_SNAPSHOT = 0x2C;
inline constexpr std::uint32_t VK_INSERT = 0x2D;
inline constexpr std::uint32_t VK_DELETE = 0x2E;
inline constexpr std::uint32_t VK_0 = 0x30;
inline constexpr std::uint32_t VK_1 = 0x31;
inline constexpr std::uint32_t VK_2 = 0x32;
inline constexpr std::uint32_t VK_3 = 0x33;
inline constexpr std::uint32_t VK_4 = 0x34;
inline constexpr std::uint32_t VK_5 = 0x35;
inline constexpr std::uint32_t VK_6 = 0x36;
inline constexpr std::uint32_t VK_7 = 0x37;
inline constexpr std::uint32_t VK_8 = 0x38;
inline constexpr std::uint32_t VK_9 = 0x39;
inline constexpr std::uint32_t VK_A = 0x41;
inline constexpr std::uint32_t VK_B = 0x42;
inline constexpr std::uint32_t VK_C = 0x43;
inline constexpr std::uint32_t VK_D = 0x44;
inline constexpr std::uint32_t VK_E = 0x45;
inline constexpr std::uint32_t VK_F = 0x46;
inline constexpr std::uint32_t VK_G = 0x47;
inline constexpr std::uint32_t VK_H = 0x48;
inline constexpr std::uint32_t VK_I = 0x49;
inline constexpr std::uint32_t VK_J = 0x4A;
inline constexpr std::uint32_t VK_K = 0x4B;
inline constexpr std::uint32_t VK_L = 0x4C;
inline constexpr std::uint32_t VK_M = 0x4D;
inline constexpr std::uint32_t VK_N = 0x4E;
inline constexpr std::uint32_t VK_O = 0x4F;
inline constexpr std::uint32_t VK_P = 0x50;
inline constexpr std::uint32_t VK_Q = 0x51;
inline constexpr std::uint32_t VK_R = 0x52;
inline constexpr std::uint32_t VK_S = 0x53;
inline constexpr std::uint32_t VK_T = 0x54;
inline constexpr std::uint32_t VK_U = 0x55;
inline constexpr std::uint32_t VK_V = 0x56;
inline constexpr std::uint32_t VK_W = 0x57;
inline constexpr std::uint32_t VK_X = 0x58;
inline constexpr std::uint32_t VK_Y = 0x59;
inline constexpr std::uint32_t VK_Z = 0x5A;
inline constexpr std::uint32_t VK_NUMPAD0 = 0x60;
inline constexpr std::uint32_t VK_NUMPAD1 = 0x61;
inline constexpr std::uint32_t VK_NUMPAD2 = 0x62;
inline constexpr std::uint32_t VK_NUMPAD3 = 0x63;
inline constexpr std::uint32_t VK_NUMPAD4 = 0x64;
inline constexpr std::uint32_t VK_NUMPAD5 = 0x65;
inline constexpr std::uint32_t VK_NUMPAD6 = 0x66;
inline constexpr std::uint32_t VK_NUMPAD7 = 0x67;
inline constexpr std::uint32_t VK_NUMPAD8 = 0x68;
inline constexpr std::uint32_t VK_NUMPAD9 = 0x69;
inline constexpr std::uint32_t VK_MULTIPLY = 0x6A;
inline constexpr std::uint32_t VK_ADD = 0x6B;
inline constexpr std::uint32_t VK_SUBTRACT = 0x6D;
inline constexpr std::uint32_t VK_DECIMAL = 0x6E;
inline constexpr std::uint32_t VK_DIVIDE = 0x6F;
inline constexpr std::uint32_t VK_F1 = 0x70;
inline constexpr std::uint32_t VK_F2 = 0x71;
inline constexpr std::uint32_t VK_F3 = 0x72;
inline constexpr std::uint32_t VK_F4 = 0x73;
inline constexpr std::uint32_t VK_F5 = 0x74;
inline constexpr std::uint32_t VK_F6 = 0x75;
inline constexpr std::uint32_t VK_F7 = 0x76;
inline constexpr std::uint32_t VK_F8 = 0x77;
inline constexpr std::uint32_t VK_F9 = 0x78;
inline constexpr std::uint32_t VK_F10 = 0x79;
inline constexpr std::uint32_t VK_F11 = 0x7A;
inline constexpr std::uint32_t VK_F12 = 0x7B;
inline constexpr std::uint32_t VK_LSHIFT = 0xA0;
inline constexpr std::uint32_t VK_RSHIFT = 0xA1;
inline constexpr std::uint32_t VK_LCONTROL = 0xA2;
inline constexpr std::uint32_t VK_RCONTROL = 0xA3;
inline constexpr std::uint32_t VK_OEM_1 = 0xBA;      // ;:
inline constexpr std::uint32_t VK_OEM_PLUS = 0xBB;   // =+
inline constexpr std::uint32_t VK_OEM_COMMA = 0xBC;  // ,<
inline constexpr std::uint32_t VK_OEM_MINUS = 0xBD;  // -_
inline constexpr std::uint32_t VK_OEM_PERIOD = 0xBE; // .>
inline constexpr std::uint32_t VK_OEM_2 = 0xBF;      // /?
inline constexpr std::uint32_t VK_OEM_3 = 0xC0;      // `~
inline constexpr std::uint32_t VK_OEM_4 = 0xDB;      // [{
inline constexpr std::uint32_t VK_OEM_5 = 0xDC;      // \|
inline constexpr std::uint32_t VK_OEM_6 = 0xDD;      // ]}
inline constexpr std::uint32_t VK_OEM_7 = 0xDE;      // '"

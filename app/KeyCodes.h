#pragma once

#include <cstdint>
#include <optional>

#include <SFML/Window/Keyboard.hpp>

// The game's key codes: the values that control files and input recordings store (the key codes
// of SFML 1.x). Letters are their lower-case ASCII values and digits their ASCII digits; the other
// keys are numbered from 256 on.
namespace Key {

enum Code : uint32_t {
    A = 'a', B = 'b', C = 'c', D = 'd', E = 'e', F = 'f', G = 'g', H = 'h', I = 'i', J = 'j', K = 'k',
    L = 'l', M = 'm', N = 'n', O = 'o', P = 'p', Q = 'q', R = 'r', S = 's', T = 't', U = 'u', V = 'v',
    W = 'w', X = 'x', Y = 'y', Z = 'z',
    Num0 = '0', Num1 = '1', Num2 = '2', Num3 = '3', Num4 = '4', Num5 = '5', Num6 = '6', Num7 = '7',
    Num8 = '8', Num9 = '9',
    Escape = 256,
    LControl, LShift, LAlt, LSystem, RControl, RShift, RAlt, RSystem, Menu,
    LBracket, RBracket, SemiColon, Comma, Period, Quote, Slash, BackSlash, Tilde, Equal, Dash,
    Space, Return, Back, Tab, PageUp, PageDown, End, Home, Insert, Delete,
    Add, Subtract, Multiply, Divide,
    Left, Right, Up, Down,
    Numpad0, Numpad1, Numpad2, Numpad3, Numpad4, Numpad5, Numpad6, Numpad7, Numpad8, Numpad9,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, F13, F14, F15,
    Pause,
    // The code of no key: what a control file that leaves a key out gets. Never produced by a key.
    None = 0xFFFFFFFFu
};

// The game's code of a window-library key; nothing for a key the game has no code for.
std::optional<Code> FromSfml(sf::Keyboard::Key key);

// The window-library key of a stored code; Unknown for a code that names no key.
sf::Keyboard::Key ToSfml(uint32_t code);

}  // namespace Key

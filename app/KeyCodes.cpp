#include "app/KeyCodes.h"

#include <array>
#include <utility>

namespace Key {

namespace {

using Pair = std::pair<sf::Keyboard::Key, Code>;

// Every key of the window library with the game's code for it; both directions use this table.
constexpr std::array kTable = {
    Pair{sf::Keyboard::A, A},
    Pair{sf::Keyboard::B, B},
    Pair{sf::Keyboard::C, C},
    Pair{sf::Keyboard::D, D},
    Pair{sf::Keyboard::E, E},
    Pair{sf::Keyboard::F, F},
    Pair{sf::Keyboard::G, G},
    Pair{sf::Keyboard::H, H},
    Pair{sf::Keyboard::I, I},
    Pair{sf::Keyboard::J, J},
    Pair{sf::Keyboard::K, K},
    Pair{sf::Keyboard::L, L},
    Pair{sf::Keyboard::M, M},
    Pair{sf::Keyboard::N, N},
    Pair{sf::Keyboard::O, O},
    Pair{sf::Keyboard::P, P},
    Pair{sf::Keyboard::Q, Q},
    Pair{sf::Keyboard::R, R},
    Pair{sf::Keyboard::S, S},
    Pair{sf::Keyboard::T, T},
    Pair{sf::Keyboard::U, U},
    Pair{sf::Keyboard::V, V},
    Pair{sf::Keyboard::W, W},
    Pair{sf::Keyboard::X, X},
    Pair{sf::Keyboard::Y, Y},
    Pair{sf::Keyboard::Z, Z},
    Pair{sf::Keyboard::Num0, Num0},
    Pair{sf::Keyboard::Num1, Num1},
    Pair{sf::Keyboard::Num2, Num2},
    Pair{sf::Keyboard::Num3, Num3},
    Pair{sf::Keyboard::Num4, Num4},
    Pair{sf::Keyboard::Num5, Num5},
    Pair{sf::Keyboard::Num6, Num6},
    Pair{sf::Keyboard::Num7, Num7},
    Pair{sf::Keyboard::Num8, Num8},
    Pair{sf::Keyboard::Num9, Num9},
    Pair{sf::Keyboard::Escape, Escape},
    Pair{sf::Keyboard::LControl, LControl},
    Pair{sf::Keyboard::LShift, LShift},
    Pair{sf::Keyboard::LAlt, LAlt},
    Pair{sf::Keyboard::LSystem, LSystem},
    Pair{sf::Keyboard::RControl, RControl},
    Pair{sf::Keyboard::RShift, RShift},
    Pair{sf::Keyboard::RAlt, RAlt},
    Pair{sf::Keyboard::RSystem, RSystem},
    Pair{sf::Keyboard::Menu, Menu},
    Pair{sf::Keyboard::LBracket, LBracket},
    Pair{sf::Keyboard::RBracket, RBracket},
    Pair{sf::Keyboard::Semicolon, SemiColon},
    Pair{sf::Keyboard::Comma, Comma},
    Pair{sf::Keyboard::Period, Period},
    Pair{sf::Keyboard::Quote, Quote},
    Pair{sf::Keyboard::Slash, Slash},
    Pair{sf::Keyboard::Backslash, BackSlash},
    Pair{sf::Keyboard::Tilde, Tilde},
    Pair{sf::Keyboard::Equal, Equal},
    Pair{sf::Keyboard::Hyphen, Dash},
    Pair{sf::Keyboard::Space, Space},
    Pair{sf::Keyboard::Enter, Return},
    Pair{sf::Keyboard::Backspace, Back},
    Pair{sf::Keyboard::Tab, Tab},
    Pair{sf::Keyboard::PageUp, PageUp},
    Pair{sf::Keyboard::PageDown, PageDown},
    Pair{sf::Keyboard::End, End},
    Pair{sf::Keyboard::Home, Home},
    Pair{sf::Keyboard::Insert, Insert},
    Pair{sf::Keyboard::Delete, Delete},
    Pair{sf::Keyboard::Add, Add},
    Pair{sf::Keyboard::Subtract, Subtract},
    Pair{sf::Keyboard::Multiply, Multiply},
    Pair{sf::Keyboard::Divide, Divide},
    Pair{sf::Keyboard::Left, Left},
    Pair{sf::Keyboard::Right, Right},
    Pair{sf::Keyboard::Up, Up},
    Pair{sf::Keyboard::Down, Down},
    Pair{sf::Keyboard::Numpad0, Numpad0},
    Pair{sf::Keyboard::Numpad1, Numpad1},
    Pair{sf::Keyboard::Numpad2, Numpad2},
    Pair{sf::Keyboard::Numpad3, Numpad3},
    Pair{sf::Keyboard::Numpad4, Numpad4},
    Pair{sf::Keyboard::Numpad5, Numpad5},
    Pair{sf::Keyboard::Numpad6, Numpad6},
    Pair{sf::Keyboard::Numpad7, Numpad7},
    Pair{sf::Keyboard::Numpad8, Numpad8},
    Pair{sf::Keyboard::Numpad9, Numpad9},
    Pair{sf::Keyboard::F1, F1},
    Pair{sf::Keyboard::F2, F2},
    Pair{sf::Keyboard::F3, F3},
    Pair{sf::Keyboard::F4, F4},
    Pair{sf::Keyboard::F5, F5},
    Pair{sf::Keyboard::F6, F6},
    Pair{sf::Keyboard::F7, F7},
    Pair{sf::Keyboard::F8, F8},
    Pair{sf::Keyboard::F9, F9},
    Pair{sf::Keyboard::F10, F10},
    Pair{sf::Keyboard::F11, F11},
    Pair{sf::Keyboard::F12, F12},
    Pair{sf::Keyboard::F13, F13},
    Pair{sf::Keyboard::F14, F14},
    Pair{sf::Keyboard::F15, F15},
    Pair{sf::Keyboard::Pause, Pause},
};

}  // namespace

std::optional<Code> FromSfml(sf::Keyboard::Key key) {
    for (const Pair& pair : kTable) {
        if (pair.first == key) {
            return pair.second;
        }
    }
    return std::nullopt;
}

sf::Keyboard::Key ToSfml(uint32_t code) {
    for (const Pair& pair : kTable) {
        if (pair.second == code) {
            return pair.first;
        }
    }
    return sf::Keyboard::Unknown;
}

}  // namespace Key

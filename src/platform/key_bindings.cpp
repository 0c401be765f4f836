#include "platform/key_bindings.h"

#include "platform/plain_text.h"

namespace tumbleroo {

namespace {

constexpr char kPositionSeparator = ',';

}  // namespace

std::string_view KeyActionName(Key key) {
    switch (key) {
        case Key::Left: return "Left";
        case Key::Up: return "Up";
        case Key::Right: return "Right";
        case Key::Down: return "Down";
        case Key::Z: return "Jump";
        case Key::Enter: return "Enter";
        case Key::Escape: return "Escape";
        case Key::Pause: return "Pause";
    }
    return "";
}

KeyBindings DefaultKeyBindings() {
    return {
        {Key::Left, {"Left"}},
        {Key::Up, {"Up"}},
        {Key::Right, {"Right"}},
        {Key::Down, {"Down"}},
        {Key::Z, {"Z", "Space", "X"}},
        {Key::Enter, {"Return", "Keypad Enter"}},
        {Key::Escape, {"Escape"}},
        {Key::Pause, {"P", "Pause"}},
    };
}

std::vector<std::string> SplitKeyPositions(std::string_view text) {
    std::vector<std::string> positions;
    while (true) {
        const size_t end = text.find(kPositionSeparator);
        const std::string_view part = TrimBlanks(text.substr(0, end));
        if (!part.empty()) positions.emplace_back(part);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return positions;
}

}  // namespace tumbleroo

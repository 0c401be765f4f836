#include "platform/key_bindings.h"

namespace tumbleroo {

namespace {

constexpr char kPositionSeparator = ',';

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

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
        const std::string_view part = Trimmed(text.substr(0, end));
        if (!part.empty()) positions.emplace_back(part);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return positions;
}

}  // namespace tumbleroo

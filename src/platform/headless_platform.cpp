// The headless platform used by the driver and the tests.
#include "platform/headless_platform.h"

#include <algorithm>
#include <iterator>
#include <cctype>
#include <cstdio>
#include <sstream>

#include "platform/plain_text.h"
#include "platform/sdl_support.h"
#include "platform/table_index.h"

namespace tumbleroo {


namespace {

constexpr uint64_t kThirdsPerFlip = 50;  // 1000 / 60 ms, in thirds of a millisecond

bool ParseKeyName(std::string name, Key& key) {
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const std::pair<const char*, Key> kNames[] = {
        {"LEFT", Key::Left}, {"RIGHT", Key::Right}, {"UP", Key::Up},       {"DOWN", Key::Down},
        {"Z", Key::Z},       {"ENTER", Key::Enter}, {"ESC", Key::Escape},
        {"PAUSE", Key::Pause},
    };
    for (const auto& [text, k] : kNames) {
        if (name == text) {
            key = k;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParseKeyScript(const std::string& text, std::vector<KeyRange>& out, std::string& error) {
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string range, keys, extra;
        if (!(words >> range) || range[0] == '#') continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!(words >> keys) || (words >> extra)) {
            error = where + "expected FROM[-TO] KEY[+KEY...]";
            return false;
        }
        KeyRange r;
        const size_t dash = range.find('-');
        const std::string from = range.substr(0, dash);
        const std::string to = dash == std::string::npos ? from : range.substr(dash + 1);
        if (!ParseWholeNumber(from, r.from) || !ParseWholeNumber(to, r.to)) {
            error = where + "bad flip range '" + range + "'";
            return false;
        }
        if (r.from > r.to) {
            error = where + "FROM is greater than TO in '" + range + "'";
            return false;
        }
        std::istringstream names(keys);
        std::string name;
        while (std::getline(names, name, '+')) {
            Key k;
            if (!ParseKeyName(name, k)) {
                error = where + "unknown key '" + name + "'";
                return false;
            }
            r.keys.push_back(k);
        }
        out.push_back(r);
    }
    return true;
}

HeadlessPlatform::HeadlessPlatform() = default;
HeadlessPlatform::~HeadlessPlatform() = default;

bool HeadlessPlatform::OpenDisplay() { return displayAvailable; }
void HeadlessPlatform::CloseDisplay() {}

void HeadlessPlatform::Present(const uint16_t* pixels, const uint16_t*, int width, int height) {
    const uint64_t before = flips;
    ++flips;
    clockFrac_ += kThirdsPerFlip;
    auto shot = shots.find(flips);
    if (shot != shots.end()) {
        if (!SaveFramePng(shot->second, pixels, width, height)) {
            std::fprintf(stderr, "cannot write %s\n", shot->second.c_str());
        }
    }
    if (keepLastFrame) lastFrame.assign(pixels, pixels + CellCount(width, height));
    if (keepEveryFrame) frames.emplace_back(pixels, pixels + CellCount(width, height));
    CheckEndRequest();
    // A key whose ranges the flip count has just left is released.
    const HeldKeys wasHeld = HeldKeysAt(before);
    const HeldKeys isHeld = HeldKeysAt(flips);
    for (size_t i = 0; i < std::size(kAllKeys); ++i) {
        if (wasHeld[i] && !isHeld[i]) pending_.push_back({WindowEvent::Kind::KeyUp, kAllKeys[i]});
    }
}

void HeadlessPlatform::ShowMessage(const std::string& text) {
    messages.push_back(text);
    std::fprintf(stderr, "%s\n", text.c_str());
}

// One pass over the script for all keys: a long script has thousands of
// ranges, and this is asked every flip.
HeadlessPlatform::HeldKeys HeadlessPlatform::HeldKeysAt(uint64_t flip) const {
    HeldKeys held;
    for (const KeyRange& r : keyScript) {
        if (flip < r.from || flip > r.to) continue;
        for (Key k : r.keys) {
            const auto* at = std::find(std::begin(kAllKeys), std::end(kAllKeys), k);
            if (at != std::end(kAllKeys)) held.set(static_cast<size_t>(at - std::begin(kAllKeys)));
        }
    }
    return held;
}

bool HeadlessPlatform::KeyDownAt(Key key, uint64_t flip) const {
    for (const KeyRange& r : keyScript) {
        if (flip < r.from || flip > r.to) continue;
        if (std::find(r.keys.begin(), r.keys.end(), key) != r.keys.end()) return true;
    }
    return false;
}

bool HeadlessPlatform::IsKeyDown(Key key) { return KeyDownAt(key, flips); }

std::vector<WindowEvent> HeadlessPlatform::TakePendingEvents() {
    std::vector<WindowEvent> events;
    events.swap(pending_);
    if (closeRequested_) {
        events.push_back({WindowEvent::Kind::Close, Key::Escape});
        closeRequested_ = false;
    }
    return events;
}

bool HeadlessPlatform::EndRequested() {
    return flipsAtEndRequest.has_value() || (!frameLimitHeld_ && FramesUsedUp());
}

void HeadlessPlatform::CheckEndRequest() {
    if (flipsAtEndRequest) return;
    const bool due = (endAfterFlip && flips >= *endAfterFlip) || (endAtMs && NowMs() >= *endAtMs);
    if (due) flipsAtEndRequest = flips;
}

void HeadlessPlatform::SleepMs(int milliseconds) {
    if (milliseconds <= 0 || flipsAtEndRequest) return;
    uint64_t wake = NowMs() + static_cast<uint64_t>(milliseconds);
    // Like the real platform, a sleep ends when the end request arrives.
    if (endAtMs && *endAtMs > NowMs()) wake = std::min(wake, *endAtMs);
    clockFrac_ += (wake - NowMs()) * 3;
    CheckEndRequest();
}

uint64_t HeadlessPlatform::NowMs() { return clockMs_ + clockFrac_ / 3; }

bool HeadlessPlatform::DecodeImage(const uint8_t* data, size_t size, RgbImage& out) {
    return DecodePng(data, size, out);
}

GlyphBitmap HeadlessPlatform::RenderText(const std::string& utf8, const FontSpec& font) {
    if (!text_) text_ = std::make_unique<TextRasterizer>();
    return text_->Render(utf8, font);
}

bool HeadlessPlatform::OpenAudio() { return audioAvailable; }
void HeadlessPlatform::CloseAudio() { channelBusyUntil_.clear(); }

int HeadlessPlatform::LoadSound(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    std::fclose(f);
    loadedSounds.push_back(path);
    return nextSound_++;
}

void HeadlessPlatform::FreeSound(int) {}

bool HeadlessPlatform::IsChannelPlaying(int channel) {
    auto it = channelBusyUntil_.find(channel);
    return it != channelBusyUntil_.end() && NowMs() < it->second;
}

void HeadlessPlatform::StopChannel(int channel) { channelBusyUntil_.erase(channel); }

void HeadlessPlatform::PlayOnChannel(int channel, int sound) {
    played.push_back({channel, sound, IsChannelPlaying(channel)});
    channelBusyUntil_[channel] = NowMs() + soundLengthMs;
}

void HeadlessPlatform::EnsureChannels(int) {}

bool SaveFramePng(const std::string& path, const uint16_t* pixels, int width, int height) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.rgb.resize(CellCount(width, height) * 3);
    for (size_t i = 0; i < CellCount(width, height); ++i) {
        const uint16_t p = pixels[i];
        const uint32_t r5 = (p >> 11) & 0x1F, g6 = (p >> 5) & 0x3F, b5 = p & 0x1F;
        image.rgb[3 * i] = static_cast<uint8_t>((r5 << 3) | (r5 >> 2));
        image.rgb[3 * i + 1] = static_cast<uint8_t>((g6 << 2) | (g6 >> 4));
        image.rgb[3 * i + 2] = static_cast<uint8_t>((b5 << 3) | (b5 >> 2));
    }
    return WriteRgbPng(path, image);
}

}  // namespace tumbleroo

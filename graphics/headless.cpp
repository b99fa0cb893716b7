// Headless runs: the settings read from the environment, the input script
// player, the recorder, the snapshots and the virtual clock. One program-
// wide session, created at the first call; each environment variable is
// read by exactly one function below.
#include "headless.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "input_script.h"
#include "png_writer.h"

#ifndef _WIN32
#include "platform_display.h"
#endif

namespace graphics_headless {

namespace {

using graphics_script::Anchor;
using graphics_script::Event;

[[noreturn]] void BadSetting(const std::string& variable, const std::string& why) {
    std::fflush(stdout);
    std::fprintf(stderr, "graphics: %s: %s\n", variable.c_str(), why.c_str());
    std::fflush(stderr);
    std::exit(kExitBadSetting);
}

// ---------------------------------------------------------------- settings

// GRAPHICS_INPUT: the script's events; `given` false without the variable.
std::vector<Event> ReadInputScript(bool& given) {
    std::vector<Event> events;
    const char* path = std::getenv("GRAPHICS_INPUT");
    given = path != nullptr && *path != '\0';
    if (!given) return events;
    std::ifstream file(path, std::ios::binary);
    if (!file) BadSetting("GRAPHICS_INPUT", std::string("cannot read the input script ") + path);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string error;
    if (!graphics_script::Parse(text, events, error))
        BadSetting("GRAPHICS_INPUT", std::string(path) + ": " + error);
    return events;
}

// GRAPHICS_RECORD: the file the session's input is written to, or none.
std::FILE* OpenRecording() {
    const char* path = std::getenv("GRAPHICS_RECORD");
    if (path == nullptr || *path == '\0') return nullptr;
    std::FILE* file = std::fopen(path, "w");
    if (file == nullptr) BadSetting("GRAPHICS_RECORD", std::string("cannot write ") + path);
    std::fputs("# Input recorded by the graphics library; play it back with GRAPHICS_INPUT.\n", file);
    std::fflush(file);
    return file;
}

// A snapshot file name pattern: text with one %d conversion (flag 0 and a
// width allowed, as in %05d); %% is a percent sign.
struct NamePattern {
    std::string before, after;
    bool zeroPad = false;
    int width = 0;

    std::string Name(uint64_t frame, const char* suffix) const {
        std::string number = std::to_string(frame);
        while (static_cast<int>(number.size()) < width) number.insert(number.begin(), zeroPad ? '0' : ' ');
        std::string tail = after;
        if (*suffix) {
            // The suffix goes before the extension of the file name.
            size_t slash = tail.find_last_of("/\\");
            size_t dot = tail.rfind('.');
            if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
                tail.insert(dot, suffix);
            } else {
                tail += suffix;
            }
        }
        return before + number + tail;
    }
};

// GRAPHICS_SNAPSHOT: the pattern; `given` false without the variable.
NamePattern ReadSnapshotPattern(bool& given) {
    NamePattern pattern;
    const char* text = std::getenv("GRAPHICS_SNAPSHOT");
    given = text != nullptr && *text != '\0';
    if (!given) return pattern;
    std::string* part = &pattern.before;
    int conversions = 0;
    for (const char* p = text; *p; ++p) {
        if (*p != '%') {
            *part += *p;
            continue;
        }
        ++p;
        if (*p == '%') {
            *part += '%';
            continue;
        }
        if (*p == '0') {
            pattern.zeroPad = true;
            ++p;
        }
        while (*p >= '0' && *p <= '9') pattern.width = pattern.width * 10 + (*p++ - '0');
        if (*p != 'd' || pattern.width > 20)
            BadSetting("GRAPHICS_SNAPSHOT", std::string("the pattern ") + text +
                                                " may hold only %d, %Nd or %0Nd (the frame number) and %%");
        ++conversions;
        part = &pattern.after;
    }
    if (conversions != 1)
        BadSetting("GRAPHICS_SNAPSHOT", std::string("the pattern ") + text +
                                            " needs exactly one %d for the frame number, as in shots/frame-%05d.png");
    return pattern;
}

// Which frames are snapshot.
struct FrameChoice {
    bool all = false;
    bool close = false;
    uint64_t every = 0;  // every N-th frame, 0 for none
    std::vector<std::pair<uint64_t, uint64_t>> ranges;

    bool Chosen(uint64_t frame) const {
        if (all || (every > 0 && frame % every == 0)) return true;
        for (const auto& range : ranges)
            if (frame >= range.first && frame <= range.second) return true;
        return false;
    }
};

// GRAPHICS_SNAPSHOT_FRAMES: comma-separated items `all`, `close`,
// `every:N`, `N` and `A-B`; unset means `all,close`.
FrameChoice ReadSnapshotFrames() {
    FrameChoice choice;
    const char* text = std::getenv("GRAPHICS_SNAPSHOT_FRAMES");
    if (text == nullptr || *text == '\0') {
        choice.all = true;
        choice.close = true;
        return choice;
    }
    std::stringstream items(text);
    std::string item;
    auto number = [&](const std::string& digits, uint64_t& value) {
        if (digits.empty() || digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos)
            BadSetting("GRAPHICS_SNAPSHOT_FRAMES", "'" + item + "' is not all, close, every:N, N or A-B");
        value = std::strtoull(digits.c_str(), nullptr, 10);
    };
    while (std::getline(items, item, ',')) {
        if (item == "all") {
            choice.all = true;
        } else if (item == "close") {
            choice.close = true;
        } else if (item.rfind("every:", 0) == 0) {
            number(item.substr(6), choice.every);
            if (choice.every == 0) BadSetting("GRAPHICS_SNAPSHOT_FRAMES", "every:0 chooses no frame");
        } else {
            size_t dash = item.find('-');
            uint64_t first = 0, last = 0;
            number(item.substr(0, dash), first);
            if (dash == std::string::npos) {
                last = first;
            } else {
                number(item.substr(dash + 1), last);
            }
            if (last < first) BadSetting("GRAPHICS_SNAPSHOT_FRAMES", "the range '" + item + "' runs backwards");
            choice.ranges.emplace_back(first, last);
        }
    }
    return choice;
}

// GRAPHICS_TIME: true for `virtual`; unset or `real` keeps the real clock.
bool ReadVirtualTime() {
    const char* text = std::getenv("GRAPHICS_TIME");
    if (text == nullptr || *text == '\0' || std::strcmp(text, "real") == 0) return false;
    if (std::strcmp(text, "virtual") == 0) return true;
    BadSetting("GRAPHICS_TIME", std::string("'") + text + "' is neither virtual nor real");
}

// ---------------------------------------------------------------- the session

struct Session {
    bool scriptGiven = false;
    std::vector<Event> script;
    size_t nextEvent = 0;

    std::FILE* recording = nullptr;
    int escapeCharactersDue = 0;  // characters that recorded Esc key-downs translate into

    bool snapshotsOn = false;
    NamePattern pattern;
    FrameChoice frames;
    bool snapshotFailed = false;

    bool virtualTime = false;
    uint64_t virtualNs = 0;

    uint64_t framesShown = 0;
    uint64_t stepsSinceFrame = 0;
    uint64_t pausesEnded = 0;
    uint64_t stepsSincePause = 0;

    Session() {
        script = ReadInputScript(scriptGiven);
        recording = OpenRecording();
        pattern = ReadSnapshotPattern(snapshotsOn);
        frames = ReadSnapshotFrames();
        virtualTime = ReadVirtualTime();
    }

    bool Due(const Event& event) const {
        if (event.anchor == Anchor::Frame)
            return framesShown > event.count || (framesShown == event.count && stepsSinceFrame >= event.steps);
        return pausesEnded > event.count || (pausesEnded == event.count && stepsSincePause >= event.steps);
    }

    // Due now or later without another frame or pause.
    bool ReachableByStepsAlone(const Event& event) const {
        return event.anchor == Anchor::Frame ? framesShown >= event.count : pausesEnded >= event.count;
    }

    void Snapshot(HDC dc, int width, int height, uint64_t frame, const char* suffix);
};

// The session, read from the settings on first use and kept for the run.
// Every message step asks for it: after the first, that is one test.
Session* theSession = nullptr;

__attribute__((noinline, cold)) Session& MakeSession() {
    theSession = new Session();
    return *theSession;
}

inline Session& TheSession() { return theSession != nullptr ? *theSession : MakeSession(); }

// Copies what `dc` shows into top-down 32-bit rows without running a
// message step, so that snapshots change nothing in the run's placement.
bool Capture(HDC dc, int width, int height, std::vector<unsigned char>& pixels) {
    if (dc == nullptr || width <= 0 || height <= 0) return false;
    HDC copyDc = CreateCompatibleDC(dc);
    HBITMAP copy = CreateCompatibleBitmap(dc, width, height);
    bool ok = copyDc != nullptr && copy != nullptr;
    if (ok) {
        HGDIOBJ displaced = SelectObject(copyDc, copy);
        ok = BitBlt(copyDc, 0, 0, width, height, dc, 0, 0, SRCCOPY) != 0;
        SelectObject(copyDc, displaced);
    }
    if (ok) {
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof(header);
        header.biWidth = width;
        header.biHeight = -height;
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        pixels.assign(static_cast<size_t>(width) * 4 * static_cast<size_t>(height), 0);
        ok = GetDIBits(copyDc, copy, 0, static_cast<UINT>(height), pixels.data(),
                       reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
    }
    if (copy != nullptr) DeleteObject(copy);
    if (copyDc != nullptr) DeleteDC(copyDc);
    return ok;
}

void Session::Snapshot(HDC dc, int width, int height, uint64_t frame, const char* suffix) {
    std::vector<unsigned char> pixels;
    std::string name = pattern.Name(frame, suffix);
    bool ok = Capture(dc, width, height, pixels) &&
              graphics_png::Write(name.c_str(), width, height, pixels.data(), static_cast<size_t>(width) * 4);
    if (!ok && !snapshotFailed) {
        snapshotFailed = true;  // told once; later snapshots are still tried
        std::fprintf(stderr, "graphics: GRAPHICS_SNAPSHOT: cannot write %s\n", name.c_str());
        std::fflush(stderr);
    }
}

bool DisplayOffscreen() {
#ifdef _WIN32
    return false;
#else
    return PlatformDisplayIsAbsent();
#endif
}

}  // namespace

void Start() { TheSession(); }

void BeforeMessageStep(HWND hwnd) {
    Session& s = TheSession();
    while (s.nextEvent < s.script.size() && s.Due(s.script[s.nextEvent])) {
        const Event& event = s.script[s.nextEvent++];
        PostMessageA(hwnd, event.message, event.wParam, event.lParam);
    }
}

void Retrieved(const MSG& message) {
    Session& s = TheSession();
    if (s.recording == nullptr) return;
    // The character an Esc key-down translates into comes again from the
    // key-down when played back: it is not recorded.
    if (message.message == WM_CHAR && message.wParam == 27 && s.escapeCharactersDue > 0) {
        --s.escapeCharactersDue;
        return;
    }
    std::string line = graphics_script::Format(Anchor::Frame, s.framesShown, s.stepsSinceFrame, message.message,
                                               message.wParam, message.lParam);
    if (line.empty()) return;
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) ++s.escapeCharactersDue;
    std::fprintf(s.recording, "%s\n", line.c_str());
    std::fflush(s.recording);
}

void AfterMessageStep() {
    Session& s = TheSession();
    ++s.stepsSinceFrame;
    ++s.stepsSincePause;
}

void FrameShown(HDC dc, int width, int height, int framesPerSecond) {
    Session& s = TheSession();
    ++s.framesShown;
    s.stepsSinceFrame = 0;
    if (s.virtualTime && framesPerSecond > 0) s.virtualNs += 1'000'000'000u / static_cast<uint64_t>(framesPerSecond);
    if (s.snapshotsOn && s.frames.Chosen(s.framesShown)) s.Snapshot(dc, width, height, s.framesShown, "");
}

void PauseEnded(uint32_t milliseconds) {
    Session& s = TheSession();
    ++s.pausesEnded;
    s.stepsSincePause = 0;
    if (s.virtualTime) s.virtualNs += static_cast<uint64_t>(milliseconds) * 1'000'000u;
}

void WindowClosing(HDC dc, int width, int height) {
    Session& s = TheSession();
    if (s.snapshotsOn && s.frames.close) s.Snapshot(dc, width, height, s.framesShown, "-close");
}

bool InputCanArrive() {
    Session& s = TheSession();
    if (s.scriptGiven)
        return s.nextEvent < s.script.size() && s.ReachableByStepsAlone(s.script[s.nextEvent]);
    return !DisplayOffscreen();
}

bool ScriptPlaying() { return TheSession().scriptGiven; }

void EndWaitWithoutInput(const char* call) {
    Session& s = TheSession();
    std::fflush(stdout);
    std::fprintf(stderr,
                 "graphics: %s waits for input that cannot arrive (%s); the program ends with status %d\n", call,
                 s.scriptGiven ? "the input script has nothing more for this wait" : "no display and no input script",
                 kExitNoInput);
    std::fflush(stderr);
    std::exit(kExitNoInput);
}

bool VirtualTime() { return TheSession().virtualTime; }

uint32_t VirtualClockMs() {
    Session& s = TheSession();
    uint32_t now = static_cast<uint32_t>(s.virtualNs / 1'000'000u);
    s.virtualNs += 1000;  // a microsecond a reading
    return now;
}

int64_t VirtualCalendarSeconds() {
    return kVirtualStartSeconds + static_cast<int64_t>(TheSession().virtualNs / 1'000'000'000u);
}

}  // namespace graphics_headless

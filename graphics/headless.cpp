// Headless runs: the settings read from the environment, the input script
// player, the recorder, the snapshots and the virtual clock. One program-
// wide session, created at the first call and ended at exit (the recording
// put in place, the exit status set when something was not written); each
// environment variable is read by exactly one function below. Files are
// written and read through safe_files (written aside, regular files only).
#include "headless.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "input_script.h"
#include "png_file.h"
#include "safe_files.h"

#ifndef _WIN32
#include "platform_display.h"
#endif

namespace graphics_headless {

StepCount steps;

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

// The input script's bytes, read from a regular file.
class ScriptFile : public graphics_script::Reader {
public:
    explicit ScriptFile(std::FILE* opened) : file(opened) {}
    ~ScriptFile() override { std::fclose(file); }
    size_t Read(char* buffer, size_t capacity) override {
        size_t got = std::fread(buffer, 1, capacity, file);
        if (got == 0 && std::ferror(file)) error = errno;
        return got;
    }
    int error = 0;  // why reading stopped early, 0 at the end of the file

private:
    std::FILE* file;
};

// GRAPHICS_INPUT: the script's events; `given` false without the variable.
std::vector<Event> ReadInputScript(bool& given) {
    std::vector<Event> events;
    const char* path = std::getenv("GRAPHICS_INPUT");
    given = path != nullptr && *path != '\0';
    if (!given) return events;
    const graphics_script::Limits limits;
    uint64_t size = 0;
    std::string reason;
    std::FILE* opened = kiva_files::OpenRegularFile(path, size, reason);
    if (opened == nullptr)
        BadSetting("GRAPHICS_INPUT", std::string("cannot read the input script ") + path + ": " + reason);
    ScriptFile file(opened);
    if (size > limits.fileBytes)
        BadSetting("GRAPHICS_INPUT", std::string(path) + ": the script holds " + std::to_string(size) +
                                         " bytes, more than the " + std::to_string(limits.fileBytes) +
                                         " an input script may hold");
    std::string error;
    if (!graphics_script::Parse(file, events, error, limits))
        BadSetting("GRAPHICS_INPUT", std::string(path) + ": " + error);
    if (file.error != 0)
        BadSetting("GRAPHICS_INPUT",
                   std::string("cannot read the input script ") + path + ": " + std::strerror(file.error));
    return events;
}

// GRAPHICS_RECORD: the file the session's input is written to, or empty.
std::string ReadRecordingName() {
    const char* path = std::getenv("GRAPHICS_RECORD");
    return path == nullptr ? std::string() : std::string(path);
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
    constexpr int kMaxWidth = 20;  // the digits of the largest frame number
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
        while (*p >= '0' && *p <= '9' && pattern.width <= kMaxWidth) pattern.width = pattern.width * 10 + (*p++ - '0');
        if (pattern.width > kMaxWidth)
            BadSetting("GRAPHICS_SNAPSHOT", std::string("the pattern ") + text +
                                                " asks for a frame number wider than " + std::to_string(kMaxWidth) +
                                                " digits");
        if (*p != 'd')
            BadSetting("GRAPHICS_SNAPSHOT", std::string("the pattern ") + text +
                                                " may hold only %d, %Nd or %0Nd (the frame number) and %%");
        ++conversions;
        part = &pattern.after;
    }
    if (conversions != 1)
        BadSetting("GRAPHICS_SNAPSHOT", std::string("the pattern ") + text +
                                            " needs exactly one %d for the frame number, as in shots/frame-%05d.png");
    if (pattern.after.find_first_of("/\\") != std::string::npos)
        BadSetting("GRAPHICS_SNAPSHOT", std::string("the pattern ") + text +
                                            " puts the frame number in a folder's name; it belongs in the file name");
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
// `every:N`, `N` and `A-B` (frames count from 1); unset means `all,close`.
FrameChoice ReadSnapshotFrames() {
    const char* const kVariable = "GRAPHICS_SNAPSHOT_FRAMES";
    FrameChoice choice;
    const char* text = std::getenv(kVariable);
    if (text == nullptr || *text == '\0') {
        choice.all = true;
        choice.close = true;
        return choice;
    }
    const std::string list = text;
    std::string item;
    auto number = [&](const std::string& digits, uint64_t& value) {
        if (digits.empty() || digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos)
            BadSetting(kVariable, "'" + item + "' is not all, close, every:N, N or A-B");
        value = std::strtoull(digits.c_str(), nullptr, 10);
        if (value == 0)
            BadSetting(kVariable, item.rfind("every:", 0) == 0
                                      ? std::string("every:0 chooses no frame")
                                      : "'" + item + "' names frame 0; frames are counted from 1");
    };
    size_t start = 0;
    for (;;) {
        size_t comma = list.find(',', start);
        item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (item.empty())
            BadSetting(kVariable,
                       "the list " + list + " has an empty item (a comma at the start or the end, or two together)");
        if (item == "all") {
            choice.all = true;
        } else if (item == "close") {
            choice.close = true;
        } else if (item.rfind("every:", 0) == 0) {
            number(item.substr(6), choice.every);
        } else {
            size_t dash = item.find('-');
            uint64_t first = 0, last = 0;
            number(item.substr(0, dash), first);
            if (dash == std::string::npos) {
                last = first;
            } else {
                number(item.substr(dash + 1), last);
            }
            if (last < first) BadSetting(kVariable, "the range '" + item + "' runs backwards");
            choice.ranges.emplace_back(first, last);
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
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

    // The recording is written aside and put in place when the run ends.
    std::string recordingName;
    kiva_files::FileReplacement recording;
    int escapeCharactersDue = 0;  // characters that recorded Esc key-downs translate into

    bool snapshotsOn = false;
    NamePattern pattern;
    FrameChoice frames;

    bool somethingNotWritten = false;  // a snapshot or the recording failed
    bool libraryEndsRun = false;       // with a status of its own (kExitNoInput)

    bool virtualTime = false;
    uint64_t virtualNs = 0;

    uint64_t framesShown = 0;  // the steps since it: steps.sinceFrame
    uint64_t pausesEnded = 0;  // the steps since it: steps.sincePause
    uint64_t pausedMs = 0;  // of all pauses ended

    // Polls that found nothing once the script had ended: counted from the
    // first, with the frames shown and the pause time at that moment.
    bool pollsCounted = false;
    uint64_t emptyPolls = 0;
    uint64_t framesAtFirstPoll = 0;
    uint64_t pausedMsAtFirstPoll = 0;
    // Closing snapshots taken after the same frame: the second and later
    // ones get a number of their own, so none replaces another.
    uint64_t closingFrame = 0;
    int closingsAtFrame = 0;

    // Every setting is read and checked before any file is made.
    Session() {
        script = ReadInputScript(scriptGiven);
        steps.scriptLeft = !script.empty();
        recordingName = ReadRecordingName();
        pattern = ReadSnapshotPattern(snapshotsOn);
        frames = ReadSnapshotFrames();
        virtualTime = ReadVirtualTime();
        std::string reason;
        if (snapshotsOn) {
            const std::string first = pattern.Name(1, "");
            if (!kiva_files::Replaceable(first, reason))
                BadSetting("GRAPHICS_SNAPSHOT", "cannot write snapshots such as " + first + ": " + reason);
        }
        if (!recordingName.empty()) {
            static const char kHeader[] =
                "# Input recorded by the graphics library; play it back with GRAPHICS_INPUT.\n";
            if (!recording.Begin(recordingName, reason) || !recording.Write(kHeader, sizeof(kHeader) - 1, reason)) {
                recording.Abandon();
                BadSetting("GRAPHICS_RECORD", "cannot write " + recordingName + ": " + reason);
            }
        }
    }

    bool Due(const Event& event) const {
        if (event.anchor == Anchor::Frame)
            return framesShown > event.count || (framesShown == event.count && steps.sinceFrame >= event.steps);
        return pausesEnded > event.count || (pausesEnded == event.count && steps.sincePause >= event.steps);
    }

    // Due now or later without another frame or pause.
    bool ReachableByStepsAlone(const Event& event) const {
        return event.anchor == Anchor::Frame ? framesShown >= event.count : pausesEnded >= event.count;
    }

    void Record(const std::string& line);
    void Snapshot(HDC dc, int width, int height, uint64_t frame, const char* suffix);
    void End();
};

void EndOfRun();

// The session, read from the settings on first use and kept for the run:
// made in place and never destroyed (a window the program destroys during
// exit still finds it); EndOfRun runs at exit. Every message step asks for
// it: after the first, that is one test.
Session* theSession = nullptr;

__attribute__((noinline, cold)) Session& MakeSession() {
    alignas(Session) static unsigned char room[sizeof(Session)];
    theSession = new (room) Session();
    std::atexit(EndOfRun);
    return *theSession;
}

inline Session& TheSession() { return theSession != nullptr ? *theSession : MakeSession(); }

void Complain(const char* variable, const std::string& what) {
    std::fflush(stdout);
    std::fprintf(stderr, "graphics: %s: %s\n", variable, what.c_str());
    std::fflush(stderr);
}

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

// One line of the recording; the first failure stops it for good.
void Session::Record(const std::string& line) {
    std::string reason;
    if (!recording.Active() || recording.Write(line.data(), line.size(), reason)) return;
    recording.Abandon();
    somethingNotWritten = true;
    Complain("GRAPHICS_RECORD", "cannot write " + recordingName + ": " + reason + "; the recording stops at frame " +
                                    std::to_string(framesShown) + " and " + recordingName + " is left as it was");
}

// A snapshot; the first that cannot be written is told, and no more are
// made (the ones after it would fail the same way).
void Session::Snapshot(HDC dc, int width, int height, uint64_t frame, const char* suffix) {
    std::vector<unsigned char> pixels;
    std::string name = pattern.Name(frame, suffix);
    std::string reason = "the window's picture cannot be read";
    if (Capture(dc, width, height, pixels) &&
        graphics_png::Write(name.c_str(), width, height, pixels.data(), static_cast<size_t>(width) * 4, reason))
        return;
    snapshotsOn = false;
    somethingNotWritten = true;
    Complain("GRAPHICS_SNAPSHOT", "cannot write " + name + ": " + reason + "; no more snapshots are written");
}

// The end of the run: the recording is put in place. When something asked
// for was not written, the program ends with kExitNotWritten instead of its
// own status (the library's own kExitNoInput stays).
void Session::End() {
    std::string reason;
    if (recording.Active() && !recording.Commit(reason)) {
        somethingNotWritten = true;
        Complain("GRAPHICS_RECORD",
                 "cannot write " + recordingName + ": " + reason + "; " + recordingName + " is left as it was");
    }
    if (!somethingNotWritten || libraryEndsRun) return;
    std::fflush(stdout);
    std::fprintf(stderr, "graphics: a snapshot or the recording was not written; the program ends with status %d\n",
                 kExitNotWritten);
    std::cout.flush();
    std::cerr.flush();
    std::clog.flush();
    std::fflush(nullptr);
    std::_Exit(kExitNotWritten);
}

void EndOfRun() { TheSession().End(); }

bool DisplayOffscreen() {
#ifdef _WIN32
    return false;
#else
    return PlatformDisplayIsAbsent();
#endif
}

}  // namespace

void Start() { TheSession(); }

void PostDueInput(HWND hwnd) {
    Session& s = TheSession();
    while (s.nextEvent < s.script.size() && s.Due(s.script[s.nextEvent])) {
        const Event& event = s.script[s.nextEvent++];
        PostMessageA(hwnd, event.message, event.wParam, event.lParam);
    }
    steps.scriptLeft = s.nextEvent < s.script.size();
}

void Retrieved(const MSG& message) {
    Session& s = TheSession();
    if (!s.recording.Active()) return;
    // A close is recorded where it reaches the window procedure
    // (CloseAsked): the close box sends it there on Windows, unposted.
    if (message.message == WM_CLOSE) return;
    // The character an Esc key-down translates into comes again from the
    // key-down when played back: it is not recorded.
    if (message.message == WM_CHAR && message.wParam == 27 && s.escapeCharactersDue > 0) {
        --s.escapeCharactersDue;
        return;
    }
    std::string line = graphics_script::Format(Anchor::Frame, s.framesShown, steps.sinceFrame, message.message,
                                               message.wParam, message.lParam);
    if (line.empty()) return;
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) ++s.escapeCharactersDue;
    s.Record(line + "\n");
}

void FrameShown(HDC dc, int width, int height, int framesPerSecond) {
    Session& s = TheSession();
    ++s.framesShown;
    steps.sinceFrame = 0;
    if (s.virtualTime && framesPerSecond > 0) s.virtualNs += 1'000'000'000u / static_cast<uint64_t>(framesPerSecond);
    if (s.snapshotsOn && s.frames.Chosen(s.framesShown)) s.Snapshot(dc, width, height, s.framesShown, "");
}

void PauseEnded(uint32_t milliseconds) {
    Session& s = TheSession();
    ++s.pausesEnded;
    steps.sincePause = 0;
    s.pausedMs += milliseconds;
    if (s.virtualTime) s.virtualNs += static_cast<uint64_t>(milliseconds) * 1'000'000u;
}

void WindowClosing(HDC dc, int width, int height) {
    Session& s = TheSession();
    if (!s.snapshotsOn || !s.frames.close) return;
    if (s.closingFrame != s.framesShown) s.closingsAtFrame = 0;
    s.closingFrame = s.framesShown;
    std::string suffix = "-close";
    if (++s.closingsAtFrame > 1) suffix += "-" + std::to_string(s.closingsAtFrame);
    s.Snapshot(dc, width, height, s.framesShown, suffix.c_str());
}

void CloseAsked() {
    Session& s = TheSession();
    if (s.recording.Active())
        s.Record(graphics_script::Format(Anchor::Frame, s.framesShown, steps.sinceFrame, WM_CLOSE, 0, 0) + "\n");
}

void PolledNothing(const char* call) {
    Session& s = TheSession();
    if (!s.scriptGiven || s.nextEvent < s.script.size()) return;
    if (!s.pollsCounted) {
        s.pollsCounted = true;
        s.framesAtFirstPoll = s.framesShown;
        s.pausedMsAtFirstPoll = s.pausedMs;
    }
    ++s.emptyPolls;
    std::string passed;
    if (s.framesShown - s.framesAtFirstPoll >= kPollLimitFrames) {
        passed = std::to_string(kPollLimitFrames) + " frames";
    } else if (s.pausedMs - s.pausedMsAtFirstPoll >= kPollLimitPauseMs) {
        passed = std::to_string(kPollLimitPauseMs) + " ms of pauses";
    } else if (s.emptyPolls >= kPollLimitPolls) {
        passed = std::to_string(kPollLimitPolls) + " polls";
    } else {
        return;
    }
    std::fflush(stdout);
    std::fprintf(stderr,
                 "graphics: %s keeps polling for input that cannot arrive (the input script has ended, and %s "
                 "went by without input); the program ends with status %d\n",
                 call, passed.c_str(), kExitNoInput);
    std::fflush(stderr);
    s.libraryEndsRun = true;
    std::exit(kExitNoInput);
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
    s.libraryEndsRun = true;
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

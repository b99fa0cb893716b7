// headless.h - runs without a person: scripted input (GRAPHICS_INPUT),
// recorded input (GRAPHICS_RECORD), snapshots of frames as PNG files
// (GRAPHICS_SNAPSHOT, GRAPHICS_SNAPSHOT_FRAMES) and virtual time
// (GRAPHICS_TIME=virtual). The library's operations report their progress
// here (message steps, frames shown, pauses ended, windows closing) and ask
// whether a wait could ever end.
//
// Placement. A run is measured in frames shown (UpdateBuffer calls), pauses
// ended (PauseMs calls) and message steps (ProcessOneMessage calls) since
// the latest frame and since the latest pause. Script events are posted to
// the window whose message step finds them due, as real input would be, so
// that the window procedure records them like any other.
#ifndef GRAPHICS_HEADLESS_H
#define GRAPHICS_HEADLESS_H

#include <cstdint>

#include <windows.h>

namespace graphics_headless {

// Exit statuses of a headless run, besides the program's own.
constexpr int kExitNoInput = 3;     // a wait or a polling loop for input that cannot come
constexpr int kExitBadSetting = 4;  // an unusable script, recording file or snapshot setting
constexpr int kExitNotWritten = 5;  // a snapshot or the recording could not be written

// Reads the settings once; ends the program with kExitBadSetting and a
// message on standard error when one is unusable. Every other call here
// does this first, so calling it is only needed to fail early. At exit
// the recording is put in place, and a program whose snapshots or
// recording could not all be written ends with kExitNotWritten.
void Start();

// The message steps since the latest frame and since the latest pause, and
// whether the input script holds events not yet posted: kept where every
// message step reaches them, since every library operation makes one.
struct StepCount {
    uint64_t sinceFrame = 0;
    uint64_t sincePause = 0;
    bool scriptLeft = false;
};
extern StepCount steps;

// Posts the script's events that are due to window `hwnd`.
void PostDueInput(HWND hwnd);

// Message steps: before the step of window `hwnd` posts the script's events
// that are due to it; `Retrieved` records a message the step took; `After`
// counts the step. `ScriptLeft`: whether a script still has input to post.
inline bool ScriptLeft() { return steps.scriptLeft; }
inline void BeforeMessageStep(HWND hwnd) {
    if (steps.scriptLeft) PostDueInput(hwnd);
}
void Retrieved(const MSG& message);
inline void AfterMessageStep() {
    ++steps.sinceFrame;
    ++steps.sincePause;
}

// UpdateBuffer showed a frame drawn in `dc` (width by height pixels): counts
// it, snapshots it when chosen, moves virtual time on by one frame period
// of `framesPerSecond` (nothing for 0).
void FrameShown(HDC dc, int width, int height, int framesPerSecond);

// PauseMs has ended (slept, or under virtual time moved the clock on).
void PauseEnded(uint32_t milliseconds);

// The close box was used on a window (WM_CLOSE reached the window
// procedure): the recording gets a `close` line.
void CloseAsked();

// A poll of the program (`call`: PollKey or PollClick) found nothing. Once
// the input script has delivered its last event, such polls are counted
// from the first of them: the one that finds nothing after
// kPollLimitFrames frames, kPollLimitPauseMs milliseconds of pauses or
// kPollLimitPolls polls ends the program with kExitNoInput and a message.
void PolledNothing(const char* call);
constexpr uint64_t kPollLimitFrames = 600;      // ten seconds at 60 frames a second
constexpr uint64_t kPollLimitPauseMs = 10'000;  // ten seconds of PauseMs
constexpr uint64_t kPollLimitPolls = 1'000'000;  // a loop that neither shows frames nor pauses

// A window is being destroyed, by the program or by its close box; `dc`
// shows its picture.
void WindowClosing(HDC dc, int width, int height);

// Whether a wait for input could still end: false once the input script has
// nothing left that can come without another frame or pause, and without a
// script when the display is one no person sees (the offscreen driver).
bool InputCanArrive();

// True while a script is being played: waits then poll without blocking.
bool ScriptPlaying();

// Ends the program for a wait that can never end: a message on standard
// error naming the call, then exit status kExitNoInput.
[[noreturn]] void EndWaitWithoutInput(const char* call);

// Virtual time: whether it is on, the clock (milliseconds from the start,
// each reading moves it on by a microsecond so that a loop waiting on it
// ends) and the calendar time in seconds since 1970.
bool VirtualTime();
uint32_t VirtualClockMs();
int64_t VirtualCalendarSeconds();

// The moment virtual time starts: 1 January 2000, 00:00:00 UTC.
constexpr int64_t kVirtualStartSeconds = 946684800;

}  // namespace graphics_headless

#endif

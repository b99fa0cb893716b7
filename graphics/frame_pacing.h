// frame_pacing.h - keeps a window's whole frames at a steady rate.
#ifndef GRAPHICS_FRAME_PACING_H
#define GRAPHICS_FRAME_PACING_H

#include <cstdint>

// Frames a second asked for by the environment variable GRAPHICS_FPS: 60
// when unset or unreadable, 0 for no pacing, at most 1000. The one place
// that reads the variable.
int FrameRateFromEnvironment();

// Waits until the next frame of one window's steady rate is due. `nextDue`
// is that window's own frame clock: 0 before its first frame, afterwards
// when its next frame is due. UpdateBuffer runs this before it copies a
// frame to the screen; nothing else in the library or the platform paces.
void PaceFrame(int64_t& nextDue);

#endif

// frame_pacing.h - keeps whole-frame copies to the screen at a steady rate.
#ifndef GRAPHICS_FRAME_PACING_H
#define GRAPHICS_FRAME_PACING_H

// Frames a second asked for by the environment variable GRAPHICS_FPS: 60
// when unset or unreadable, 0 for no pacing, at most 1000.
int FrameRateFromEnvironment();

// Waits until the next frame of the steady rate is due. On Windows the
// library paces its frame copies itself; elsewhere the platform layer paces
// them when they reach the screen, and this does nothing.
void PaceFrame();

#endif

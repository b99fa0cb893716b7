// Starting a death test's child process on Windows, tried again when the
// start itself fails.
//
// GoogleTest starts each death test's child with CreateProcessA and ends the
// whole test program, with no word on the console, when that call fails.
// Under Wine a start fails now and then through no fault of the test (one
// start in a few thousand, with ERROR_INTERNAL_ERROR: the new process died
// while Wine set it up). The Windows build compiles GoogleTest with this
// header forced in and KIVA_RENAME_CREATE_PROCESS defined, so that its
// CreateProcessA is StartChildTryingAgain.
#pragma once

#include <windows.h>

#include <functional>

namespace child_start {

constexpr int kTries = 5;

// Calls `start` until it succeeds, at most `tries` times, pausing
// `pauseMs` x the number of failures so far between calls. On the last
// failure the error is left as `start` left it and FALSE returned.
BOOL TryAgainOnFailure(const std::function<BOOL()>& start, int tries, DWORD pauseMs);

}  // namespace child_start

extern "C" BOOL WINAPI StartChildTryingAgain(LPCSTR application, LPSTR commandLine,
                                             LPSECURITY_ATTRIBUTES processAttributes,
                                             LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                                             DWORD creationFlags, LPVOID environment, LPCSTR directory,
                                             LPSTARTUPINFOA startupInfo, LPPROCESS_INFORMATION processInformation);

#ifdef KIVA_RENAME_CREATE_PROCESS
#define CreateProcessA StartChildTryingAgain
#endif

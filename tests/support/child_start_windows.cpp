// A failed start of a child process tried again (see child_start_windows.h).
#include "child_start_windows.h"

#include <cstdio>

namespace child_start {

BOOL TryAgainOnFailure(const std::function<BOOL()>& start, int tries, DWORD pauseMs) {
    for (int attempt = 1;; ++attempt) {
        if (start()) return TRUE;
        DWORD error = GetLastError();
        // Standard error belongs to the death test being started (GoogleTest
        // has it captured for the test's expectations), so the note goes to
        // standard output.
        std::printf("note: starting a child process failed (error %lu, try %d of %d)%s\n",
                    static_cast<unsigned long>(error), attempt, tries, attempt < tries ? "; trying again" : "");
        std::fflush(stdout);
        if (attempt >= tries) {
            SetLastError(error);
            return FALSE;
        }
        Sleep(pauseMs * static_cast<DWORD>(attempt));
    }
}

}  // namespace child_start

extern "C" BOOL WINAPI StartChildTryingAgain(LPCSTR application, LPSTR commandLine,
                                             LPSECURITY_ATTRIBUTES processAttributes,
                                             LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                                             DWORD creationFlags, LPVOID environment, LPCSTR directory,
                                             LPSTARTUPINFOA startupInfo, LPPROCESS_INFORMATION processInformation) {
    return child_start::TryAgainOnFailure(
        [&] {
            return CreateProcessA(application, commandLine, processAttributes, threadAttributes, inheritHandles,
                                  creationFlags, environment, directory, startupInfo, processInformation);
        },
        child_start::kTries, 100);
}

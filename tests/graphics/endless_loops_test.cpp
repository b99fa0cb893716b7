// Loops no input can end, in a run with an input script: a loop of waits on
// a window the script's `close` has closed ends (status 0), and a polling
// loop that goes on long after the script has ended ends (status 3). Each
// runs in a fresh process of its own (the test program run again for this
// test alone), whose first window reads the script.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics.h"
#include "image_test_support.h"

namespace {

// More frames than the limit of a polling loop.
constexpr int kLongAnimation = 700;

// Writes `text` as an input script and gives it to the process's windows.
void PlayScript(const std::string& name, const char* text) {
    const std::string path = image_test::ScratchPath(name);
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(text, file);
    std::fclose(file);
#ifdef _WIN32
    _putenv_s("GRAPHICS_INPUT", path.c_str());
#else
    setenv("GRAPHICS_INPUT", path.c_str(), 1);
#endif
}

void UseVirtualTime() {
#ifdef _WIN32
    _putenv_s("GRAPHICS_TIME", "virtual");
#else
    setenv("GRAPHICS_TIME", "virtual", 1);
#endif
}

}  // namespace

TEST(EndlessLoops, ALoopOfWaitsOnAClosedWindowEndsTheProgram) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            PlayScript("endless_close.txt", "frame 0 key a\nframe 0 +4 close\n");
            window w(100, 80, 10, 10);
            char code = 0;
            int keys = 0;
            while (w.AwaitKey(code) != KK_ESC) ++keys;
            std::exit(keys + 10);  // not reached
        },
        testing::ExitedWithCode(0), "graphics: AwaitKey waits on a window its user has closed");
}

TEST(EndlessLoops, PollingLongAfterTheScriptHasEndedEndsTheProgram) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            PlayScript("endless_poll.txt", "frame 2 key a\n");
            UseVirtualTime();  // the frames are not paced to the clock
            window w(100, 80, 10, 10);
            w.SetWaitOnClose(false);
            w.SetBuffering(true);
            // Frames without polls do not count: the limit's frames are
            // counted from the first poll that finds nothing.
            for (int frame = 0; frame < kLongAnimation; ++frame) w.UpdateBuffer();
            char code = 0;
            if (w.PollKey(code) != KK_CHAR) std::exit(20);
            std::fprintf(stderr, "polled after the animation; ");
            for (;;) {
                w.PollKey(code);
                w.UpdateBuffer();
            }
        },
        testing::ExitedWithCode(3),
        "polled after the animation; graphics: PollKey keeps polling for input that cannot arrive \\(the input "
        "script has ended, and 600 frames went by without input\\); the program ends with status 3");
}

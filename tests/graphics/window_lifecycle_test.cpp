// The window's lifecycle: construction, the caption, the sizes, the shared
// registry, the last-window rule, the close box and the destructor's
// failure reports.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "input_test_support.h"

#ifndef _WIN32
#include "platform_faults.h"
#endif

using input_test::Drain;
using input_test::Handle;
using input_test::QuietWindow;

namespace {

std::string Title(HWND hwnd) {
    char text[128] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

TEST(WindowLifecycle, ConstructionMakesAVisibleWindowWithItsState) {
    window w(220, 150, 30, 40);
    HWND h = Handle(w);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(IsWindow(h));
    EXPECT_TRUE(w.IsOpen());
    EXPECT_EQ(Title(h), "Graphics Window");
    EXPECT_EQ(w.QueryWidth(), 220);
    EXPECT_EQ(w.QueryHeight(), 150);
    int32_t width = 0, height = 0;
    w.QuerySize(width, height);
    EXPECT_EQ(width, 220);
    EXPECT_EQ(height, 150);
    EXPECT_NE(WindowTestAccess::ScreenDC(w), nullptr);
    EXPECT_EQ(WindowTestAccess::ActiveDC(w), WindowTestAccess::ScreenDC(w));
    EXPECT_EQ(WindowTestAccess::Buffer(w), nullptr);
    EXPECT_FALSE(WindowTestAccess::Buffering(w));
    EXPECT_EQ(WindowTestAccess::Instance(w), GetModuleHandleA(nullptr));
    EXPECT_STREQ(WindowTestAccess::ClassRecord(w).lpszClassName, "Orvelgraphics Library");
    EXPECT_EQ(WindowTestAccess::ClassRecord(w).lpfnWndProc, &GraphicsWindowProc);
    int32_t x = 0, y = 0;
    w.QueryPointer(x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    ASSERT_NE(windowRegistry, nullptr);
    EXPECT_EQ(windowRegistry->Count(), 1);
    EXPECT_EQ(windowRegistry->Find(h), &w);
    w.SetWaitOnClose(false);
}

#ifndef _WIN32
// Linux only: a real Windows frame is wider than the two system metrics the
// outer size adds, so its client area is smaller than the drawing size.
TEST(WindowLifecycle, ClientAreaIsExactlyTheDrawingSize) {
    auto w = QuietWindow(333, 222, 15, 25);
    RECT client{};
    ASSERT_TRUE(GetClientRect(Handle(*w), &client));
    EXPECT_EQ(client.right - client.left, 333);
    EXPECT_EQ(client.bottom - client.top, 222);
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(Handle(*w), &outer));
    EXPECT_EQ(outer.left, 15);
    EXPECT_EQ(outer.top, 25);
    EXPECT_EQ(outer.right - outer.left, 333 + GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(outer.bottom - outer.top, 222 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1);
}
#endif

TEST(WindowLifecycle, SetTitleChangesTheCaption) {
    auto w = QuietWindow();
    w->SetTitle("Tobb's Cube Rendering thingy");
    EXPECT_EQ(Title(Handle(*w)), "Tobb's Cube Rendering thingy");
    w->SetTitle(std::string("second title"));
    EXPECT_EQ(Title(Handle(*w)), "second title");
}

TEST(WindowLifecycle, SecondWindowGetsItsOwnWindowAndEntry) {
    auto first = QuietWindow(100, 100, 0, 0);
    {
        window second(120, 90, 150, 0);
        EXPECT_NE(Handle(second), Handle(*first));
        EXPECT_EQ(windowRegistry->Count(), 2);
        EXPECT_EQ(windowRegistry->Find(Handle(second)), &second);
        EXPECT_EQ(windowRegistry->Find(Handle(*first)), first.get());
        EXPECT_EQ(second.QueryWidth(), 120);
        testing::internal::CaptureStdout();
    }  // not the last window: neither asks nor waits
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(windowRegistry->Count(), 1);
}

TEST(WindowLifecycle, DestroyedWindowIsGoneAndTheRegistryWithIt) {
    HWND h = nullptr;
    {
        auto w = QuietWindow();
        h = Handle(*w);
        EXPECT_TRUE(IsWindow(h));
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(windowRegistry, nullptr);
}

TEST(WindowLifecycle, NewRegistryAfterTheLastWindowWaitsAgain) {
    {
        window w(50, 50, 0, 0);
        EXPECT_TRUE(w.SetWaitOnClose(false));  // a new registry waits
        EXPECT_FALSE(w.SetWaitOnClose(false));
    }
    EXPECT_EQ(windowRegistry, nullptr);
    window again(50, 50, 0, 0);
    ASSERT_NE(windowRegistry, nullptr);
    EXPECT_TRUE(windowRegistry->waitOnLastClose);
    again.SetWaitOnClose(false);
}

// The last window's destruction asks for a click and returns only after a
// click made after that moment; a click queued before it does not count.
TEST(WindowLifecycle, LastWindowWaitsForAClickMadeAfterThePrompt) {
    auto w = std::make_unique<window>(120, 100, 20, 20);
    HWND h = Handle(*w);
    inject::Click(h, 0, 5, 5);
    Drain(*w);  // this click is queued before the destruction begins
    std::thread clicker([h] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        inject::Click(h, 0, 7, 7);
    });
    testing::internal::CaptureStdout();
    auto start = std::chrono::steady_clock::now();
    w.reset();
    auto waited = std::chrono::steady_clock::now() - start;
    std::string printed = testing::internal::GetCapturedStdout();
    clicker.join();
    EXPECT_EQ(printed, "Click mouse in the graphics window to finish execution.\n");
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_EQ(windowRegistry, nullptr);
}

TEST(WindowLifecycle, ClosedLastWindowNeitherAsksNorWaits) {
    auto w = std::make_unique<window>(120, 100, 20, 20);
    HWND h = Handle(*w);
    inject::Close(h);
    Drain(*w);  // the close request goes to the default handling
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(w->IsOpen());
    testing::internal::CaptureStdout();
    w.reset();  // must return at once: no click can reach a closed window
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(windowRegistry, nullptr);
}

TEST(WindowLifecycle, QueuedInputDiesWithTheWindow) {
    auto w = QuietWindow();
    inject::Tap(Handle(*w), 'A');
    inject::Click(Handle(*w), 0, 1, 1);
    Drain(*w);
    w.reset();  // the sanitizer build reports any record left behind
    EXPECT_EQ(windowRegistry, nullptr);
}

#ifndef _WIN32
// Linux only: failures are injected into the platform layer.
class WindowFailures : public testing::Test {
protected:
    void TearDown() override { platform_faults::ClearAll(); }
};

TEST_F(WindowFailures, DestructorReportsFailedReleasesAndGoesOn) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    platform_faults::FailNext("ReleaseDC");
    platform_faults::FailNext("DeleteObject", 3);
    testing::internal::CaptureStdout();
    w.reset();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Fatal Error: Failed to release dcScreen in window class destructor!\n"
              "Fatal Error: Failed to delete penObject in window class destructor!\n"
              "Fatal Error: Failed to delete brshObject in window class destructor!\n"
              "Fatal Error: Failed to delete fontObject in window class destructor!\n");
    // Destruction went on to its last steps.
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(windowRegistry, nullptr);
    // And the program goes on: a new window works.
    auto next = QuietWindow();
    EXPECT_TRUE(next->IsOpen());
}

TEST_F(WindowFailures, DestructorWhileBufferingReportsTheBufferToo) {
    auto w = QuietWindow();
    w->SetBuffering(true);
    platform_faults::FailNext("DeleteDC");
    platform_faults::FailNext("DeleteObject", 4);
    testing::internal::CaptureStdout();
    w.reset();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Fatal Error: Failed to delete dcActive in window class destructor!\n"
              "Fatal Error: Failed to delete penObject in window class destructor!\n"
              "Fatal Error: Failed to delete brshObject in window class destructor!\n"
              "Fatal Error: Failed to delete fontObject in window class destructor!\n"
              "Fatal Error: Failed to delete bmapBuffer in window class destructor!\n");
}

TEST_F(WindowFailures, RefusedWindowIsNeverUsedAndNeverWaitedFor) {
    platform_faults::FailNext("CreateWindowExA");
    testing::internal::CaptureStdout();
    {
        window w(100, 100, 0, 0);
        EXPECT_EQ(Handle(w), nullptr);
        EXPECT_EQ(WindowTestAccess::ScreenDC(w), nullptr);
        EXPECT_FALSE(w.IsOpen());
        char code = 'x';
        EXPECT_EQ(w.AwaitKey(code), KK_NONE);
        int32_t x = 0, y = 0;
        EXPECT_EQ(w.AwaitClick(x, y), CK_NONE);
    }  // the last window: but nothing could click it
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.find("Click mouse"), std::string::npos) << printed;
    EXPECT_EQ(windowRegistry, nullptr);
}

TEST_F(WindowFailures, RefusedClassRegistrationIsHarmless) {
    // A first window registers the class, which outlives it.
    QuietWindow().reset();
    platform_faults::FailNext("RegisterClassA", 2);
    auto w = QuietWindow();  // the class exists from the earlier window
    EXPECT_TRUE(w->IsOpen());
}
#endif

}  // namespace

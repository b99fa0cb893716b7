// The window service on its own: classes, windows, frame metrics, the
// message queue, keyboard translation, mouse routing and capture, waiting,
// the client surface and its presentation.
#include <gtest/gtest.h>

#include <climits>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "input_injection.h"
#include "platform_faults.h"
#include "window_service.h"

namespace {

struct Seen {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Seen>& Log() {
    static std::vector<Seen> log;
    return log;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Log().push_back(Seen{hwnd, message, wParam, lParam});
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

const char* const kClass = "window service test";

void RegisterTestClass() {
    WNDCLASSA record{};
    record.lpfnWndProc = RecordingProc;
    record.hInstance = GetModuleHandleA(nullptr);
    record.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    record.lpszClassName = kClass;
    RegisterClassA(&record);
}

// A visible captioned window with a client area of width x height at
// (x, y) on the screen, made as the library makes its windows.
class TestWindow {
public:
    TestWindow(int width, int height, int x = 50, int y = 60) {
        RegisterTestClass();
        hwnd = CreateWindowExA(0, kClass, "test", WS_VISIBLE | WS_CAPTION | WS_SYSMENU, x, y,
                               width + GetSystemMetrics(SM_CXEDGE),
                               height + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd = nullptr;
};

// Every pending message of `hwnd`, each translated and dispatched.
std::vector<MSG> TakeAll(HWND hwnd) {
    std::vector<MSG> taken;
    MSG msg;
    while (PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE)) {
        taken.push_back(msg);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return taken;
}

// The characters (WM_CHAR) among the messages taken.
std::string Characters(const std::vector<MSG>& messages) {
    std::string text;
    for (const MSG& m : messages)
        if (m.message == WM_CHAR) text += static_cast<char>(m.wParam);
    return text;
}

std::vector<UINT> Kinds(const std::vector<MSG>& messages) {
    std::vector<UINT> kinds;
    for (const MSG& m : messages) kinds.push_back(m.message);
    return kinds;
}

class WindowService : public testing::Test {
protected:
    void SetUp() override { Log().clear(); }
    void TearDown() override { platform_faults::ClearAll(); }
};

TEST_F(WindowService, ClassesRegisterOnceByNameInAnyCase) {
    WNDCLASSA record{};
    record.lpfnWndProc = RecordingProc;
    record.lpszClassName = "Class Once";
    EXPECT_NE(RegisterClassA(&record), 0);
    record.lpszClassName = "CLASS ONCE";
    EXPECT_EQ(RegisterClassA(&record), 0);
    record.lpszClassName = nullptr;
    EXPECT_EQ(RegisterClassA(&record), 0);
    EXPECT_EQ(CreateWindowExA(0, "no such class", "x", WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
}

TEST_F(WindowService, FrameMetricsLeaveTheClientAreaAsked) {
    TestWindow w(301, 207, 11, 13);
    ASSERT_NE(w.hwnd, nullptr);
    RECT client{}, outer{};
    ASSERT_TRUE(GetClientRect(w.hwnd, &client));
    ASSERT_TRUE(GetWindowRect(w.hwnd, &outer));
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, 301);
    EXPECT_EQ(client.bottom, 207);
    EXPECT_EQ(outer.left, 11);
    EXPECT_EQ(outer.top, 13);
    EXPECT_EQ(outer.right - outer.left, 301 + GetSystemMetrics(SM_CXEDGE));
    // A window without caption or border has no frame at all.
    HWND bare = CreateWindowExA(0, kClass, "bare", 0, 0, 0, 40, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(GetClientRect(bare, &client));
    EXPECT_EQ(client.right, 40);
    EXPECT_EQ(client.bottom, 30);
    DestroyWindow(bare);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
}

// Client areas longer than the display holds on a side are refused before
// anything is allocated for them; sizes and positions at the ends of int
// overflow nothing (the sanitizer build watches).
TEST_F(WindowService, WindowsTooLargeForTheDisplayAreRefused) {
    RegisterTestClass();
    for (int side : {16385, 20000, 65536, INT_MAX}) {
        EXPECT_EQ(CreateWindowExA(0, kClass, "x", 0, 0, 0, side, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
        EXPECT_EQ(CreateWindowExA(0, kClass, "x", 0, 0, 0, 10, side, nullptr, nullptr, nullptr, nullptr), nullptr);
    }
    HWND far = CreateWindowExA(0, kClass, "far", 0, INT_MAX, INT_MIN, 100, 2, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(far, nullptr);
    RECT client{};
    ASSERT_TRUE(GetClientRect(far, &client));
    EXPECT_EQ(client.right, 100);
    DestroyWindow(far);
    HWND negative = CreateWindowExA(0, kClass, "negative", 0, 0, 0, INT_MIN, -5, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(negative, nullptr);  // Win32 makes these empty
    ASSERT_TRUE(GetClientRect(negative, &client));
    EXPECT_EQ(client.right, 0);
    DestroyWindow(negative);
}

TEST_F(WindowService, CreationAndDestructionAreToldToTheProcedure) {
    HWND hwnd = nullptr;
    {
        TestWindow w(50, 50);
        hwnd = w.hwnd;
        ASSERT_FALSE(Log().empty());
        EXPECT_EQ(Log().front().message, static_cast<UINT>(WM_CREATE));
        EXPECT_EQ(Log().front().hwnd, hwnd);
        EXPECT_TRUE(IsWindow(hwnd));
        EXPECT_NE(platform::ClientSurface(hwnd), nullptr);
    }
    EXPECT_EQ(Log().back().message, static_cast<UINT>(WM_DESTROY));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(platform::ClientSurface(hwnd), nullptr);
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_EQ(GetDC(hwnd), nullptr);
}

TEST_F(WindowService, TitlesAreKeptAndTruncatedLikeWin32) {
    TestWindow w(50, 50);
    ASSERT_TRUE(SetWindowTextA(w.hwnd, "Caf\xe9 title"));
    char text[32];
    EXPECT_EQ(GetWindowTextA(w.hwnd, text, sizeof text), 10);
    EXPECT_STREQ(text, "Caf\xe9 title");
    EXPECT_EQ(GetWindowTextA(w.hwnd, text, 4), 3);
    EXPECT_STREQ(text, "Caf");
    SDL_Window* shown = SDL_GetWindowFromID(platform::DisplayWindowId(w.hwnd));
    // The display shows the title as drawn text reads it: a byte that is
    // not well-formed UTF-8 is Windows-1252, the rest is UTF-8 as it stands.
    EXPECT_STREQ(SDL_GetWindowTitle(shown), "Caf\xc3\xa9 title");
    ASSERT_TRUE(SetWindowTextA(w.hwnd,
                               "Gr\xc3\xb6\xc3\x9f"
                               "e \xe2\x80\x93 \xe6\xbc\xa2 \x96 \xf0\x9f\x98\x80"));
    EXPECT_STREQ(SDL_GetWindowTitle(shown),
                 "Gr\xc3\xb6\xc3\x9f"
                 "e \xe2\x80\x93 \xe6\xbc\xa2 \xe2\x80\x93 \xf0\x9f\x98\x80");
}

TEST_F(WindowService, ClientSurfaceStartsInTheClassBackground) {
    TestWindow w(20, 10);
    platform::Surface* surface = platform::ClientSurface(w.hwnd);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width, 20);
    EXPECT_EQ(surface->height, 10);
    for (uint32_t pixel : surface->pixels) ASSERT_EQ(pixel, 0xFFFFFFu);
}

TEST_F(WindowService, PeekTakesOnlyTheAskedWindowsMessagesAndCanLeaveThem) {
    TestWindow a(50, 50), b(50, 50, 200, 60);
    TakeAll(a.hwnd);
    TakeAll(b.hwnd);
    inject::Tap(b.hwnd, 'X');
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, a.hwnd, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, b.hwnd, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    ASSERT_TRUE(PeekMessageA(&msg, b.hwnd, WM_KEYUP, WM_KEYUP, PM_NOREMOVE));  // filtered by number
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('X'));
    EXPECT_EQ(Kinds(TakeAll(b.hwnd)), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    EXPECT_FALSE(PeekMessageA(&msg, a.hwnd, 0, 0, PM_REMOVE));
}

TEST_F(WindowService, KeyMessagesCarryWin32Flags) {
    TestWindow w(50, 50);
    TakeAll(w.hwnd);
    inject::Tap(w.hwnd, VK_LEFT);
    std::vector<MSG> taken = TakeAll(w.hwnd);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(taken[0].wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_EQ(taken[0].lParam & 0xFFFF, 1);  // repeat count
    EXPECT_EQ(taken[0].lParam & (LPARAM{1} << 31), 0);
    EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_NE(taken[1].lParam & (LPARAM{1} << 30), 0);  // was down
    EXPECT_NE(taken[1].lParam & (LPARAM{1} << 31), 0);  // going up
}

TEST_F(WindowService, TranslationFollowsShiftCapsLockAndControl) {
    TestWindow w(50, 50);
    TakeAll(w.hwnd);
    HWND h = w.hwnd;
    for (int vk : {int{'H'}, int{'4'}, VK_OEM_MINUS, VK_OEM_2, VK_SPACE}) inject::Tap(h, vk);
    inject::KeyDown(h, VK_SHIFT);
    for (int vk : {int{'H'}, int{'4'}, VK_OEM_MINUS, VK_OEM_2, VK_OEM_7, int{'0'}}) inject::Tap(h, vk);
    inject::KeyUp(h, VK_SHIFT);
    inject::Tap(h, VK_CAPITAL);
    inject::Tap(h, 'K');
    inject::Tap(h, '5');  // Caps Lock leaves digits alone
    inject::Tap(h, VK_CAPITAL);
    inject::KeyDown(h, VK_CONTROL);
    inject::Tap(h, 'C');  // Ctrl+C is character 3
    inject::KeyUp(h, VK_CONTROL);
    inject::Tap(h, VK_NUMPAD0 + 7);
    EXPECT_EQ(Characters(TakeAll(h)), std::string("h4-/ H$_?\")K5\x03" "7"));
}

TEST_F(WindowService, ControlKeysHaveTheirCharacters) {
    TestWindow w(50, 50);
    TakeAll(w.hwnd);
    for (int vk : {VK_ESCAPE, VK_RETURN, VK_BACK, VK_TAB}) inject::Tap(w.hwnd, vk);
    for (int vk : {VK_F1, VK_HOME, VK_INSERT, VK_DELETE, VK_SHIFT}) inject::Tap(w.hwnd, vk);
    EXPECT_EQ(Characters(TakeAll(w.hwnd)), std::string("\x1b\r\b\t"));
}

TEST_F(WindowService, F10AndAltKeysAreSystemKeys) {
    TestWindow w(50, 50);
    TakeAll(w.hwnd);
    inject::Tap(w.hwnd, VK_F10);
    inject::KeyDown(w.hwnd, VK_MENU);
    inject::Tap(w.hwnd, 'D');
    inject::KeyUp(w.hwnd, VK_MENU);
    std::vector<MSG> taken = TakeAll(w.hwnd);
    EXPECT_EQ(Kinds(taken), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSKEYDOWN, WM_SYSKEYDOWN,
                                               WM_SYSCHAR, WM_SYSKEYUP, WM_SYSKEYUP}));
    EXPECT_EQ(taken[0].wParam, static_cast<WPARAM>(VK_F10));
    EXPECT_EQ(taken[3].wParam, static_cast<WPARAM>('D'));
    EXPECT_NE(taken[3].lParam & (LPARAM{1} << 29), 0);  // context code: Alt held
    EXPECT_EQ(taken[4].wParam, static_cast<WPARAM>('d'));
}

TEST_F(WindowService, CharactersComeBeforeLaterInput) {
    TestWindow w(50, 50);
    TakeAll(w.hwnd);
    inject::Tap(w.hwnd, 'A');
    inject::Click(w.hwnd, 0, 4, 4);
    EXPECT_EQ(Kinds(TakeAll(w.hwnd)), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_LBUTTONDOWN,
                                                          WM_LBUTTONUP}));
}

TEST_F(WindowService, MouseOutsideGoesNowhereUnlessCapturedOrHeld) {
    TestWindow w(100, 80);
    TakeAll(w.hwnd);
    inject::MouseMove(w.hwnd, -3, 10);     // outside, nothing held: dropped
    inject::MouseMove(w.hwnd, 100, 10);    // right of the last column: dropped
    inject::MouseMove(w.hwnd, 99, 79);     // last pixel: delivered
    std::vector<MSG> taken = TakeAll(w.hwnd);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(taken[0].lParam, MAKELPARAM(99, 79));

    EXPECT_EQ(SetCapture(w.hwnd), nullptr);
    EXPECT_EQ(GetCapture(), w.hwnd);
    inject::MouseMove(w.hwnd, -3, -4);
    taken = TakeAll(w.hwnd);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(LOWORD(taken[0].lParam), 65533);
    EXPECT_EQ(HIWORD(taken[0].lParam), 65532);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);

    // A held button keeps the mouse with its window even without capture.
    inject::ButtonDown(w.hwnd, 1, 5, 5);
    inject::MouseMove(w.hwnd, 150, 5);
    inject::ButtonUp(w.hwnd, 1, 150, 5);
    taken = TakeAll(w.hwnd);
    EXPECT_EQ(Kinds(taken), (std::vector<UINT>{WM_RBUTTONDOWN, WM_MOUSEMOVE, WM_RBUTTONUP}));
    EXPECT_EQ(taken[0].wParam & MK_RBUTTON, static_cast<WPARAM>(MK_RBUTTON));
    EXPECT_EQ(taken[2].lParam, MAKELPARAM(150, 5));
}

TEST_F(WindowService, CaptureTakesInputMeantForAnotherWindow) {
    TestWindow a(100, 80, 0, 0), b(100, 80, 300, 0);
    TakeAll(a.hwnd);
    TakeAll(b.hwnd);
    SetCapture(a.hwnd);
    inject::MouseMove(b.hwnd, 10, 10);  // at screen x 301 + 10
    std::vector<MSG> taken = TakeAll(a.hwnd);
    ReleaseCapture();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].lParam, MAKELPARAM(310, 10));  // in a's client coordinates
    EXPECT_EQ(taken[0].pt.x, 311);                      // on the screen: b's client area
    EXPECT_EQ(taken[0].pt.y, 33);                       // starts at (301, 23)
    EXPECT_TRUE(TakeAll(b.hwnd).empty());
}

TEST_F(WindowService, CloseBoxBecomesWmCloseAndTheDefaultDestroys) {
    TestWindow w(50, 50);
    TakeAll(w.hwnd);
    HWND h = w.hwnd;
    inject::Tap(h, 'Q');
    inject::Close(h);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, h, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));  // posted: before the key
    DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(Log().back().message, static_cast<UINT>(WM_DESTROY));
    // The window's other messages went with it.
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowService, AltF4ClosesThroughTheDefaultHandling) {
    TestWindow w(50, 50);
    TakeAll(w.hwnd);
    HWND h = w.hwnd;
    inject::KeyDown(h, VK_MENU);
    inject::Tap(h, VK_F1 + 3);
    inject::KeyUp(h, VK_MENU);
    TakeAll(h);
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(WindowService, DestroyingTheCaptureWindowReleasesCapture) {
    HWND h = nullptr;
    {
        TestWindow w(50, 50);
        h = w.hwnd;
        SetCapture(h);
    }
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SetCapture(h), nullptr);  // not a window: refused
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowService, WaitMessageReturnsAtOnceForUnseenMessages) {
    TestWindow w(50, 50);
    TakeAll(w.hwnd);
    inject::Tap(w.hwnd, 'W');
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitMessage());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    TakeAll(w.hwnd);
}

TEST_F(WindowService, WaitMessageSleepsUntilInputArrives) {
    TestWindow a(50, 50), b(50, 50, 200, 60);
    TakeAll(a.hwnd);
    TakeAll(b.hwnd);
    // A message for b that a's owner has already looked past does not wake
    // the wait: only input that arrives later does.
    inject::Tap(b.hwnd, 'B');
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, a.hwnd, 0, 0, PM_REMOVE));
    HWND target = a.hwnd;
    std::thread typist([target] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        inject::Tap(target, 'A');
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitMessage());
    auto waited = std::chrono::steady_clock::now() - start;
    typist.join();
    EXPECT_GE(waited, std::chrono::milliseconds(150));
    EXPECT_EQ(Characters(TakeAll(a.hwnd)), "a");
    EXPECT_EQ(Characters(TakeAll(b.hwnd)), "b");
}

TEST_F(WindowService, WindowSizedTransfersAreShownWithoutWaiting) {
    // Pacing is the program's: a copy of a whole picture onto a window is
    // shown at once, however often it comes and whatever GRAPHICS_FPS says.
    TestWindow w(40, 30);
    const char* saved = std::getenv("GRAPHICS_FPS");
    std::string previous = saved ? saved : "";
    setenv("GRAPHICS_FPS", "10", 1);
    HDC dc = GetDC(w.hwnd);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP picture = CreateCompatibleBitmap(dc, 40, 30);
    HGDIOBJ old = SelectObject(memory, picture);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(BitBlt(dc, 0, 0, 40, 30, memory, 0, 0, SRCCOPY));
    auto elapsed = std::chrono::steady_clock::now() - start;
    if (saved) {
        setenv("GRAPHICS_FPS", previous.c_str(), 1);
    } else {
        unsetenv("GRAPHICS_FPS");
    }
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(w.hwnd, dc);
    // Paced to 10 a second, twenty frames would take 1.9 s at the least.
    EXPECT_LT(elapsed, std::chrono::milliseconds(1900));
}

// The pixels the display shows for a window equal its client surface.
void ExpectScreenShowsClient(HWND hwnd, const char* when) {
    SDL_Surface* screen = SDL_GetWindowSurface(SDL_GetWindowFromID(platform::DisplayWindowId(hwnd)));
    const platform::Surface* client = platform::ClientSurface(hwnd);
    ASSERT_NE(nullptr, screen);
    ASSERT_NE(nullptr, client);
    ASSERT_EQ(SDL_PIXELFORMAT_RGB888, screen->format->format);
    int differing = 0;
    for (int y = 0; y < std::min(screen->h, client->height); ++y) {
        const auto* shown = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch);
        for (int x = 0; x < std::min(screen->w, client->width); ++x) differing += (shown[x] & 0xFFFFFF) != client->Row(y)[x];
    }
    EXPECT_EQ(0, differing) << when;
}

TEST_F(WindowService, WhatIsCopiedOntoAWindowIsWhatTheScreenShows) {
    TestWindow w(40, 30);
    HDC dc = GetDC(w.hwnd);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP picture = CreateCompatibleBitmap(dc, 40, 30);
    HGDIOBJ old = SelectObject(memory, picture);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) SetPixel(memory, x, y, RGB(x * 6, y * 8, (x * y) & 0xFF));
    EXPECT_TRUE(BitBlt(dc, 0, 0, 40, 30, memory, 0, 0, SRCCOPY));
    ExpectScreenShowsClient(w.hwnd, "a whole copy");
    EXPECT_TRUE(BitBlt(dc, 7, 5, 19, 11, memory, 3, 12, SRCCOPY));
    EXPECT_TRUE(BitBlt(dc, -4, 20, 30, 30, memory, 0, 0, SRCCOPY));
    ExpectScreenShowsClient(w.hwnd, "copies of parts, cut at the edges");
    EXPECT_TRUE(StretchBlt(dc, 0, 0, 40, 30, memory, 0, 0, 20, 15, SRCCOPY));
    ExpectScreenShowsClient(w.hwnd, "a stretched copy");
    EXPECT_TRUE(BitBlt(dc, 0, 0, 40, 30, memory, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dc, 0, 0, 40, 30, memory, 0, 0, SRCCOPY));
    ExpectScreenShowsClient(w.hwnd, "the same picture again");
    // Single pixels changed here and there, at the start, the middle and
    // the end of rows, whole and cut copies: each change is shown.
    const POINT changed[] = {{0, 0}, {17, 3}, {31, 3}, {32, 9}, {39, 9}, {5, 29}, {39, 29}};
    for (const POINT& p : changed) SetPixel(memory, p.x, p.y, RGB(255, 255, 255));
    EXPECT_TRUE(BitBlt(dc, 0, 0, 40, 30, memory, 0, 0, SRCCOPY));
    ExpectScreenShowsClient(w.hwnd, "a copy changing single pixels");
    for (const POINT& p : changed) SetPixel(memory, p.x, p.y, RGB(0, 0, 0));
    EXPECT_TRUE(BitBlt(dc, 1, 0, 39, 30, memory, 1, 0, SRCCOPY));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 39, 29));
    ExpectScreenShowsClient(w.hwnd, "a part copy changing single pixels");
    // A pixel drawn on the window and not yet shown, then a copy that
    // leaves its row as the window has it: the row is shown all the same.
    SetPixel(dc, 2, 2, RGB(200, 10, 10));
    SetPixel(memory, 2, 2, RGB(200, 10, 10));
    EXPECT_TRUE(BitBlt(dc, 0, 0, 20, 10, memory, 0, 0, SRCCOPY));
    ExpectScreenShowsClient(w.hwnd, "a copy over drawing not yet shown");
    // Drawing not yet shown, then a copy over the whole window from a
    // smaller picture: what the copy leaves as it was is shown as well.
    SetPixel(dc, 33, 24, RGB(1, 2, 3));
    HDC small = CreateCompatibleDC(dc);
    HBITMAP tile = CreateCompatibleBitmap(dc, 10, 10);
    HGDIOBJ oldTile = SelectObject(small, tile);
    EXPECT_TRUE(BitBlt(dc, 0, 0, 40, 30, small, 0, 0, SRCCOPY));
    ExpectScreenShowsClient(w.hwnd, "a whole-window copy of a smaller picture");
    SelectObject(small, oldTile);
    DeleteObject(tile);
    DeleteDC(small);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(w.hwnd, dc);
}

// Whether the display shows `colour` at (x, y) of the window's client area.
bool ScreenShows(HWND hwnd, int x, int y, COLORREF colour) {
    SDL_Surface* screen = SDL_GetWindowSurface(SDL_GetWindowFromID(platform::DisplayWindowId(hwnd)));
    if (screen == nullptr || x >= screen->w || y >= screen->h) return false;
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch);
    const uint32_t shown = row[x] & 0xFFFFFF;
    return shown == ((uint32_t{GetRValue(colour)} << 16) | (uint32_t{GetGValue(colour)} << 8) | GetBValue(colour));
}

// Message steps until the display shows `colour` at (x, y); false when
// five seconds of steps did not show it.
bool StepsShow(HWND hwnd, int x, int y, COLORREF colour) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    MSG msg;
    while (std::chrono::steady_clock::now() < end) {
        PeekMessageA(&msg, hwnd, 0, 0, PM_NOREMOVE);
        if (ScreenShows(hwnd, x, y, colour)) return true;
    }
    return false;
}

TEST_F(WindowService, DrawingIsShownByTheStepsThatFollowWhetherTheyComeOftenOrAfterARest) {
    // Most message steps read no clock (a tick tells them when time has
    // passed); drawing must still be shown by the steps that follow it, in
    // a program that steps without pause and in one that rested first
    // (long enough for the tick to rest as well).
    TestWindow w(40, 30);
    TakeAll(w.hwnd);
    HDC dc = GetDC(w.hwnd);
    SetPixel(dc, 3, 4, RGB(200, 10, 10));
    EXPECT_TRUE(StepsShow(w.hwnd, 3, 4, RGB(200, 10, 10))) << "steps without pause";
    SetPixel(dc, 5, 6, RGB(10, 200, 10));
    EXPECT_TRUE(StepsShow(w.hwnd, 5, 6, RGB(10, 200, 10))) << "the next drawing, at once";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    SetPixel(dc, 7, 8, RGB(10, 10, 200));
    EXPECT_TRUE(StepsShow(w.hwnd, 7, 8, RGB(10, 10, 200))) << "after a rest without steps";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    MSG msg;
    PeekMessageA(&msg, w.hwnd, 0, 0, PM_NOREMOVE);  // the step after a rest wakes the tick
    SetPixel(dc, 9, 10, RGB(90, 90, 9));
    EXPECT_TRUE(StepsShow(w.hwnd, 9, 10, RGB(90, 90, 9))) << "drawn after the step that ended a rest";
    ReleaseDC(w.hwnd, dc);
}

TEST_F(WindowService, MessageBoxWithoutADisplayWritesToStderr) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Printer not ready", "Graphics Library", MB_OK | MB_ICONWARNING), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Graphics Library: Printer not ready\n");
}

TEST_F(WindowService, InjectedFailuresLookLikeWin32Failures) {
    TestWindow w(30, 30);
    platform_faults::FailNext("CreateWindowExA");
    EXPECT_EQ(CreateWindowExA(0, kClass, "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    platform_faults::FailNext("GetDC");
    EXPECT_EQ(GetDC(w.hwnd), nullptr);
    platform_faults::FailNext("ReleaseDC");
    HDC dc = GetDC(w.hwnd);
    EXPECT_EQ(ReleaseDC(w.hwnd, dc), 0);
    EXPECT_EQ(ReleaseDC(w.hwnd, dc), 1);
    platform_faults::FailNext("DestroyWindow");
    EXPECT_FALSE(DestroyWindow(w.hwnd));
    EXPECT_TRUE(IsWindow(w.hwnd));
}

}  // namespace

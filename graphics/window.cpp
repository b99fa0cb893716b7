// The window's lifecycle: construction, destruction with the last-window
// rule, the caption and the size queries.
#include <cstdio>
#include <memory>
#include <new>

#include "diagnostics.h"
#include "graphics_internal.h"
#include "headless.h"

namespace {
const char* const kClassName = "Orvelgraphics Library";
const char* const kInitialTitle = "Graphics Window";
}  // namespace

window::window(int32_t width, int32_t height, int32_t x, int32_t y) {
    // The settings of a headless run are read, and refused, before anything
    // is shown.
    graphics_headless::Start();

    instHandle = GetModuleHandleA(nullptr);

    brshColor = color(0, 0, 0);
    penColor = color(0, 0, 0);
    drawWidth = width;
    drawHeight = height;
    pointerX = -1;
    pointerY = -1;

    // The window class; a refusal means it is registered already.
    WNDCLASSA& record = GraphicsInternals::NewClassRecord(*this);
    record.style = 0;
    record.lpfnWndProc = GraphicsWindowProc;
    record.cbClsExtra = 0;
    record.cbWndExtra = 0;
    record.hInstance = instHandle;
    record.hIcon = nullptr;
    record.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    record.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    record.lpszMenuName = nullptr;
    record.lpszClassName = kClassName;
    RegisterClassA(&record);

    // The window: outer size is the drawing size plus the frame. A drawing
    // size that no platform window can hold (negative, or a side longer
    // than kiva::kMaxWindowSide) is reported and no window is made: the object
    // then stays closed, like one the platform refused, and allocates
    // nothing for its size.
    if (width < 0 || height < 0 || width > kiva::kMaxWindowSide || height > kiva::kMaxWindowSide) {
        FatalError("Fatal Error: Window size is outside what the platform can show in window class constructor!");
    } else {
        hwndWindow = CreateWindowExA(WS_EX_LEFT, kClassName, kInitialTitle,
                                     WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                                     width + GetSystemMetrics(SM_CXEDGE),
                                     height + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1,
                                     nullptr, nullptr, instHandle, nullptr);
    }

    // Shown, with the device context of its client area held for life.
    // Without a window there is no device context either.
    if (hwndWindow != nullptr) {
        ShowWindow(hwndWindow, SW_SHOW);
        dcScreen = GetDC(hwndWindow);
        dcActive = dcScreen;
    }

    penObject = nullptr;
    brshObject = nullptr;
    fontObject = nullptr;
    penPrevious = nullptr;
    brshPrevious = nullptr;
    fontPrevious = nullptr;
    bmapBuffer = nullptr;
    leftState = BS_UP;
    rightState = BS_UP;
    bufferingOn = false;

    SetPen(color(255, 255, 255), 0);
    SetBrush(color(255, 255, 255));
    SetFont(10, 0, FAMILY_SWISS, nullptr);
    penChosen = false;  // white by the library's choice, not the program's
    brushChosen = false;

    // Registration, creating the shared registry with the first window.
    if (windowRegistry != nullptr) {
        windowRegistry->Register(hwndWindow, this);
    } else {
        std::unique_ptr<WindowRegistry> registry(new (std::nothrow) WindowRegistry());
        if (!registry) throw ERR_ALLOCATION;
        registry->Register(hwndWindow, this);
        windowRegistry = registry.release();
    }
}

window::~window() {
    // A headless run's snapshot of the window as it closes: the back buffer
    // while buffering is on, else the screen. A window closed with its
    // close box had it taken then (the window procedure's WM_CLOSE).
    const bool open = PlatformWindowExists(*this);
    if (open) graphics_headless::WindowClosing(dcActive, drawWidth, drawHeight);

    // The screen device context goes back to the window. A window closed
    // with its close box took its device contexts with it; releasing then
    // fails, and that is no fault worth a report. Its stand-in (see
    // ReplaceLostScreen) is the window's own and is deleted quietly.
    if (dcScreen != nullptr) {
        if (screenLost) {
            DeleteDC(dcScreen);
        } else if (ReleaseDC(hwndWindow, dcScreen) != 1 && open) {
            FatalError("Fatal Error: Failed to release dcScreen in window class destructor!");
        }
        if (dcActive == dcScreen) dcActive = nullptr;
        dcScreen = nullptr;
    }
    if (bmapStandIn != nullptr) {
        DeleteObject(bmapStandIn);
        bmapStandIn = nullptr;
    }

    // Still buffering: the memory device context; then the drawing objects
    // and the back buffer.
    if (dcActive != nullptr)
        DeleteOrReport(dcActive, "Fatal Error: Failed to delete dcActive in window class destructor!");
    if (penObject != nullptr)
        DeleteOrReport(penObject, "Fatal Error: Failed to delete penObject in window class destructor!");
    if (brshObject != nullptr)
        DeleteOrReport(brshObject, "Fatal Error: Failed to delete brshObject in window class destructor!");
    if (fontObject != nullptr)
        DeleteOrReport(fontObject, "Fatal Error: Failed to delete fontObject in window class destructor!");
    if (bmapBuffer != nullptr)
        DeleteOrReport(bmapBuffer, "Fatal Error: Failed to delete bmapBuffer in window class destructor!");

    // The last window waits for a click made from now on, unless its
    // platform window is gone already (closed with the close box): then no
    // click could ever arrive, and it neither asks nor waits. When no input
    // can arrive otherwise (no display and no input script, or a script with
    // nothing more to give) it asks and returns at once.
    if (windowRegistry != nullptr) {
        if (windowRegistry->Count() == 1) {
            if (windowRegistry->waitOnLastClose && PlatformWindowExists(*this)) {
                DiscardClicks();
                std::printf("Click mouse in the graphics window to finish execution.\n");
                std::fflush(stdout);
                int32_t x = 0;
                int32_t y = 0;
                WaitForClick(x, y, nullptr);
            }
            windowRegistry->Unregister(hwndWindow);
            delete windowRegistry;
            windowRegistry = nullptr;
        } else {
            windowRegistry->Unregister(hwndWindow);
        }
    }

    if (hwndWindow != nullptr) DestroyWindow(hwndWindow);

    // Input that was never read.
    keyQueue.Clear();
    clickQueue.Clear();
    graphics_diagnostics::Forget(*this);
}

void window::SetTitle(const char* text) {
    ProcessOneMessage();
    SetWindowTextA(hwndWindow, text);
}

void window::SetTitle(std::string text) { SetTitle(text.c_str()); }

void window::QuerySize(int32_t& width, int32_t& height) const {
    width = drawWidth;
    height = drawHeight;
}

bool PlatformWindowExists(const window& w) {
    HWND handle = GraphicsInternals::Handle(w);
    return handle != nullptr && IsWindow(handle) != 0;
}

// The program's question: once it has had false for a window its user
// closed, it has seen the close and is not warned about it.
bool window::IsOpen() const {
    const bool open = PlatformWindowExists(*this);
    if (!open && screenLost) closeSeen = true;
    return open;
}

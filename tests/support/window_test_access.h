// window_test_access.h - read access to a window's private fields for tests
// (graphics.h names this struct a friend of `window`). Shared by every test
// file: add accessors here rather than defining the struct again.
#ifndef TESTS_SUPPORT_WINDOW_TEST_ACCESS_H
#define TESTS_SUPPORT_WINDOW_TEST_ACCESS_H

#include "graphics.h"

struct WindowTestAccess {
    static HWND Handle(const window& w) { return w.hwndWindow; }
    static HINSTANCE Instance(const window& w) { return w.instHandle; }
    static const WNDCLASSA& ClassRecord(const window& w) { return w.classRecord; }
    static HDC ScreenDC(const window& w) { return w.dcScreen; }
    static HDC ActiveDC(const window& w) { return w.dcActive; }
    static HBITMAP Buffer(const window& w) { return w.bmapBuffer; }
    static HPEN Pen(const window& w) { return w.penObject; }
    static HBRUSH Brush(const window& w) { return w.brshObject; }
    static HFONT Font(const window& w) { return w.fontObject; }
    static color PenColor(const window& w) { return w.penColor; }
    static color BrushColor(const window& w) { return w.brshColor; }
    static int32_t PenWidth(const window& w) { return w.penWidth; }
    static bool Buffering(const window& w) { return w.bufferingOn; }
    static ButtonState Left(const window& w) { return w.leftState; }
    static ButtonState Right(const window& w) { return w.rightState; }
    // The drawing calls' internal select/restore brackets.
    static void SelectStyle(window& w, drawstyle style) { w.SelectStyle(style); }
    static void RestoreStyle(window& w) { w.RestoreStyle(); }
};

#endif

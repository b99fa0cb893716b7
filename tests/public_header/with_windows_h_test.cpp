// A program that includes <windows.h> before graphics.h: the header's handle
// types are the platform's own, so a window's handles and Win32 calls mix.
#include <gtest/gtest.h>

#include <windows.h>

#include "graphics.h"

TEST(PublicHeader, AgreesWithWindowsHIncludedFirst) {
    // The same types, not look-alikes.
    HWND none = nullptr;
    EXPECT_EQ(IsWindow(none), 0);
    const tagBITMAPINFOHEADER* header = nullptr;
    const BITMAPINFOHEADER* same = header;
    EXPECT_EQ(same, nullptr);

    window w(40, 30, 40, 40);
    w.SetWaitOnClose(false);
    int32_t x = 0, y = 0;
    EXPECT_EQ(w.QueryButton(MB_RIGHT, x, y), BS_UP);  // the mouse button, not the flag
    image capture;
    w.StoreImage(capture, 0, 0, 4, 3);
    ASSERT_NE(capture.Header(), nullptr);
    EXPECT_EQ(capture.Header()->biWidth, 4);
    EXPECT_EQ(capture.Header()->biHeight, -3);
    EXPECT_EQ(capture.Header()->biBitCount, 32);
}

// A program that includes <windows.h> after graphics.h.
#include <gtest/gtest.h>

#include "graphics.h"

#include <windows.h>

TEST(PublicHeader, AgreesWithWindowsHIncludedAfter) {
    window w(40, 30, 40, 40);
    w.SetWaitOnClose(false);
    image capture;
    w.StoreImage(capture, 0, 0, 2, 2);
    const BITMAPINFOHEADER* header = capture.Header();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
}

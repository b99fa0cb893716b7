// A header that only passes handles along may declare them itself, as the
// Win32 headers do with STRICT, and need not include <windows.h>. Those
// declarations must agree with the platform's <windows.h>, whichever comes
// first in a program.
#include <type_traits>

struct HWND__;
typedef HWND__* HWND;
struct HDC__;
typedef HDC__* HDC;
struct HBITMAP__;
typedef HBITMAP__* HBITMAP;
struct HPEN__;
typedef HPEN__* HPEN;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;
struct HFONT__;
typedef HFONT__* HFONT;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
typedef void* HGDIOBJ;
struct tagBITMAPINFO;
typedef tagBITMAPINFO BITMAPINFO;
struct tagBITMAPINFOHEADER;
typedef tagBITMAPINFOHEADER BITMAPINFOHEADER;

// Only declared so far: a header can hold pointers to them.
struct ForwardUser {
    HWND window = nullptr;
    HBITMAP image = nullptr;
    const BITMAPINFOHEADER* header = nullptr;
};

#include <windows.h>

#include <gtest/gtest.h>

namespace {

static_assert(std::is_same_v<decltype(ForwardUser::window), HWND>);
static_assert(std::is_same_v<HMODULE, HINSTANCE>);
static_assert(std::is_same_v<HCURSOR, HICON>);
static_assert(!std::is_same_v<HDC, HWND>, "handles of different kinds are different types");
static_assert(!std::is_convertible_v<HPEN, HBRUSH>);

TEST(HandleTypes, ForwardDeclaredHandlesAreTheWindowsHandles) {
    ForwardUser user;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    user.header = &info.bmiHeader;
    HGDIOBJ object = GetStockObject(BLACK_PEN);
    EXPECT_EQ(GetObjectType(object), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(user.header->biSize, 40u);
    EXPECT_EQ(user.window, nullptr);
}

}  // namespace

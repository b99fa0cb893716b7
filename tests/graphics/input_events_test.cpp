// Keys and clicks from real input to the window's queues: the window
// procedure's tables, the order of records, capture, the polls and waits.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "input_test_support.h"

using input_test::Drain;
using input_test::Handle;
using input_test::NextClick;
using input_test::NextKey;
using input_test::QuietWindow;

namespace {

struct Key {
    KeyKind kind;
    int code;
    bool operator==(const Key& other) const { return kind == other.kind && code == other.code; }
};

std::ostream& operator<<(std::ostream& out, const Key& key) {
    return out << "(" << key.kind << ", " << key.code << ")";
}

// Every key record the window holds after its pending messages are handled.
std::vector<Key> AllKeys(window& w) {
    std::vector<Key> keys;
    char code = 0;
    for (int i = 0; i < 60; ++i) {
        KeyKind kind = w.PollKey(code);
        if (kind != KK_NONE) keys.push_back(Key{kind, static_cast<unsigned char>(code)});
    }
    return keys;
}

TEST(InputPolls, EmptyQueuesReportNothing) {
    auto w = QuietWindow();
    char code = 'x';
    EXPECT_EQ(w->PollKey(code), KK_NONE);
    EXPECT_EQ(code, 0);
    int32_t x = 5, y = 6;
    EXPECT_EQ(w->PollClick(x, y), CK_NONE);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(w->QueryButton(MB_LEFT, x, y), BS_UP);
    EXPECT_EQ(w->QueryButton(MB_RIGHT, x, y), BS_UP);
}

TEST(InputKeys, LetterGivesOneCharacterRecord) {
    auto w = QuietWindow();
    inject::Tap(Handle(*w), 'A');
    EXPECT_EQ(AllKeys(*w), (std::vector<Key>{{KK_CHAR, 97}}));
}

TEST(InputKeys, EscapeGivesItsOwnRecordThenItsCharacter) {
    auto w = QuietWindow();
    inject::Tap(Handle(*w), VK_ESCAPE);
    EXPECT_EQ(AllKeys(*w), (std::vector<Key>{{KK_ESC, 1}, {KK_CHAR, 27}}));
}

#ifndef _WIN32
// Exact message steps need input as the display delivers it; the Windows
// build posts its test input, and there the key-up comes before the
// character that TranslateMessage posts.
TEST(InputKeys, CharacterOfEscapeComesOneMessageStepLater) {
    auto w = QuietWindow();
    Drain(*w);
    inject::Tap(Handle(*w), VK_ESCAPE);
    char code = 0;
    EXPECT_EQ(w->PollKey(code), KK_ESC);  // step 1: the key-down
    EXPECT_EQ(code, 1);
    EXPECT_EQ(w->PollKey(code), KK_CHAR);  // step 2: the translated character
    EXPECT_EQ(code, 27);
    EXPECT_EQ(w->PollKey(code), KK_NONE);  // step 3: the key-up, no record
}
#endif

TEST(InputKeys, NavigationAndFunctionKeysCarryTheirCodes) {
    auto w = QuietWindow();
    const int keys[] = {VK_END, VK_DOWN, VK_NEXT, VK_LEFT, VK_RIGHT, VK_HOME, VK_UP, VK_PRIOR,
                        VK_F1, VK_F1 + 4, VK_F12};
    for (int vk : keys) inject::Tap(Handle(*w), vk);
    EXPECT_EQ(AllKeys(*w), (std::vector<Key>{{KK_NAV, 1},
                                             {KK_NAV, 2},
                                             {KK_NAV, 3},
                                             {KK_NAV, 4},
                                             {KK_NAV, 6},
                                             {KK_NAV, 7},
                                             {KK_NAV, 8},
                                             {KK_NAV, 9},
                                             {KK_FKEY, 1},
                                             {KK_FKEY, 5},
                                             {KK_FKEY, 12}}));
}

TEST(InputKeys, EnterBackspaceAndTabAreCharacters) {
    auto w = QuietWindow();
    for (int vk : {VK_RETURN, VK_BACK, VK_TAB, int{'7'}}) inject::Tap(Handle(*w), vk);
    EXPECT_EQ(AllKeys(*w), (std::vector<Key>{{KK_CHAR, 13}, {KK_CHAR, 8}, {KK_CHAR, 9}, {KK_CHAR, '7'}}));
}

TEST(InputKeys, KeysWithoutCharacterOrTableEntryGiveNothing) {
    auto w = QuietWindow();
    for (int vk : {VK_SHIFT, VK_INSERT, VK_DELETE}) inject::Tap(Handle(*w), vk);
    EXPECT_TRUE(AllKeys(*w).empty());
}

#ifndef _WIN32
// Linux only: on Windows the default handling of system keys enters the
// system menu's modal loop, which a test cannot leave.
TEST(InputKeys, F10AndAltKeysAreSystemKeysWithoutRecords) {
    auto w = QuietWindow();
    inject::Tap(Handle(*w), VK_F10);
    inject::KeyDown(Handle(*w), VK_MENU);
    inject::Tap(Handle(*w), 'X');
    inject::Tap(Handle(*w), VK_F1 + 1);
    inject::KeyUp(Handle(*w), VK_MENU);
    inject::Tap(Handle(*w), 'B');
    EXPECT_EQ(AllKeys(*w), (std::vector<Key>{{KK_CHAR, 'b'}}));
}
#endif

TEST(InputKeys, RecordsKeepTheOrderOfTheirMessages) {
    auto w = QuietWindow();
    for (int vk : {int{'C'}, VK_LEFT, int{'A'}, VK_F1 + 2, int{'B'}}) {
        inject::Tap(Handle(*w), vk);
        // One key at a time: posted test input on Windows would otherwise
        // put every character behind all key-downs.
        Drain(*w);
    }
    EXPECT_EQ(AllKeys(*w),
              (std::vector<Key>{{KK_CHAR, 'c'}, {KK_NAV, 4}, {KK_CHAR, 'a'}, {KK_FKEY, 3}, {KK_CHAR, 'b'}}));
}

TEST(InputKeys, AwaitKeyTakesAQueuedKeyFirst) {
    auto w = QuietWindow();
    inject::Tap(Handle(*w), 'K');
    inject::Tap(Handle(*w), 'L');
    char code = 0;
    EXPECT_EQ(w->AwaitKey(code), KK_CHAR);
    EXPECT_EQ(code, 'k');
    EXPECT_EQ(w->AwaitKey(code), KK_CHAR);
    EXPECT_EQ(code, 'l');
}

TEST(InputKeys, AwaitKeyWaitsForAKeyTypedLater) {
    auto w = QuietWindow();
    Drain(*w);
    HWND h = Handle(*w);
    std::thread typist([h] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        inject::Tap(h, 'Z');
    });
    char code = 0;
    KeyKind kind = w->AwaitKey(code);
    typist.join();
    EXPECT_EQ(kind, KK_CHAR);
    EXPECT_EQ(code, 'z');
}

TEST(InputKeys, DiscardKeysHandlesOnePendingMessageFirst) {
    auto w = QuietWindow();
    inject::Tap(Handle(*w), VK_HOME);
    char code = 0;
    ASSERT_EQ(NextKey(*w, code), KK_NAV);
    Drain(*w);  // the Home key-up
    inject::Tap(Handle(*w), VK_F1 + 6);
    w->DiscardKeys();  // handles the F7 key-down: its record goes too
    EXPECT_TRUE(AllKeys(*w).empty());
}

TEST(InputClicks, PressAndReleaseQueueOneClickAtTheRelease) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    int32_t x = 0, y = 0;
    inject::MouseMove(h, 10, 20);
    inject::ButtonDown(h, 0, 10, 20);
    Drain(*w);
    EXPECT_EQ(w->QueryButton(MB_LEFT, x, y), BS_DOWN);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    EXPECT_EQ(w->PollClick(x, y), CK_NONE);  // a press alone is no click
    inject::ButtonUp(h, 0, 10, 20);
    EXPECT_EQ(NextClick(*w, x, y), CK_LEFT);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    EXPECT_EQ(w->QueryButton(MB_LEFT, x, y), BS_UP);
    EXPECT_EQ(w->PollClick(x, y), CK_NONE);
}

TEST(InputClicks, RightButtonHasItsOwnStateAndKind) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    int32_t x = 0, y = 0;
    inject::ButtonDown(h, 1, 30, 40);
    Drain(*w);
    EXPECT_EQ(w->QueryButton(MB_RIGHT, x, y), BS_DOWN);
    EXPECT_EQ(w->QueryButton(MB_LEFT, x, y), BS_UP);
    inject::ButtonUp(h, 1, 31, 41);
    EXPECT_EQ(NextClick(*w, x, y), CK_RIGHT);
    EXPECT_EQ(x, 31);
    EXPECT_EQ(y, 41);
}

TEST(InputClicks, ReleaseOutsideUnderCaptureGivesUnsignedPosition) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    int32_t x = 0, y = 0;
    inject::ButtonDown(h, 0, 10, 20);
    Drain(*w);
    EXPECT_EQ(GetCapture(), h);
    inject::MouseMove(h, -5, 30);
    inject::ButtonUp(h, 0, -5, 30);
    EXPECT_EQ(NextClick(*w, x, y), CK_LEFT);
    EXPECT_EQ(x, 65531);
    EXPECT_EQ(y, 30);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(InputClicks, PointerFollowsMotion) {
    auto w = QuietWindow();
    inject::MouseMove(Handle(*w), 17, 23);
    inject::MouseMove(Handle(*w), 18, 29);
    Drain(*w);
    int32_t x = 0, y = 0;
    w->QueryPointer(x, y);
    EXPECT_EQ(x, 18);
    EXPECT_EQ(y, 29);
}

TEST(InputClicks, ClicksKeepTheirOrderAndEveryReleaseCounts) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    inject::Click(h, 0, 1, 2);
    inject::Click(h, 1, 3, 4);
    inject::ButtonUp(h, 0, 5, 6);  // a release without its press
    int32_t x = 0, y = 0;
    EXPECT_EQ(NextClick(*w, x, y), CK_LEFT);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(NextClick(*w, x, y), CK_RIGHT);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(NextClick(*w, x, y), CK_LEFT);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
}

TEST(InputClicks, DiscardClicksHandlesOnePendingMessageFirst) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    Drain(*w);
    inject::ButtonDown(h, 0, 8, 8);
    int32_t x = 0, y = 0;
    w->QueryPointer(x, y);  // handles the press
    inject::ButtonUp(h, 0, 8, 8);
    w->DiscardClicks();  // handles the release: its click goes too
    EXPECT_EQ(NextClick(*w, x, y), CK_NONE);
}

TEST(InputClicks, AwaitClickWaitsForAClickMadeLater) {
    auto w = QuietWindow();
    Drain(*w);
    HWND h = Handle(*w);
    std::thread clicker([h] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        inject::Click(h, 1, 44, 55);
    });
    int32_t x = 0, y = 0;
    ClickKind kind = w->AwaitClick(x, y);
    clicker.join();
    EXPECT_EQ(kind, CK_RIGHT);
    EXPECT_EQ(x, 44);
    EXPECT_EQ(y, 55);
}

TEST(InputWindows, EachWindowGetsOnlyItsOwnInput) {
    auto first = QuietWindow(100, 80, 10, 10);
    auto second = QuietWindow(100, 80, 200, 10);
    ASSERT_NE(Handle(*first), Handle(*second));
    inject::Tap(Handle(*second), 'S');
    inject::Click(Handle(*second), 0, 3, 4);
    // Message steps of the first window leave the second window's messages.
    EXPECT_TRUE(AllKeys(*first).empty());
    int32_t x = 0, y = 0;
    EXPECT_EQ(NextClick(*first, x, y), CK_NONE);
    EXPECT_EQ(AllKeys(*second), (std::vector<Key>{{KK_CHAR, 's'}}));
    EXPECT_EQ(NextClick(*second, x, y), CK_LEFT);
}

TEST(InputClosedWindow, PollsAndWaitsReportNothingOnceClosed) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    inject::Tap(h, 'A');
    inject::Click(h, 0, 5, 5);
    Drain(*w);  // the records are queued
    inject::Close(h);
    Drain(*w);
    EXPECT_FALSE(w->IsOpen());
    char code = 'x';
    EXPECT_EQ(w->PollKey(code), KK_NONE);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(w->AwaitKey(code), KK_NONE);
    int32_t x = 0, y = 0;
    EXPECT_EQ(w->PollClick(x, y), CK_NONE);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
}

}  // namespace

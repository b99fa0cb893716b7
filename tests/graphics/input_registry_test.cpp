// The input queues and the window registry on their own.
#include <gtest/gtest.h>

#include "input_test_support.h"

using input_test::Handle;
using input_test::QuietWindow;

namespace {

HWND FakeHandle(uintptr_t n) { return reinterpret_cast<HWND>(n * 0x1000); }

KeyRecord* NewKey(char code) {
    KeyRecord* record = new KeyRecord();
    record->kind = KK_CHAR;
    record->code = code;
    return record;
}

TEST(InputQueues, FirstInFirstOutAndLinksCleared) {
    KeyQueue queue;
    EXPECT_EQ(queue.TakeFirst(), nullptr);
    queue.Append(NewKey('a'));
    queue.Append(nullptr);  // ignored
    queue.Append(NewKey('b'));
    KeyRecord* first = queue.TakeFirst();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->code, 'a');
    EXPECT_EQ(first->next, nullptr);
    delete first;
    queue.Append(NewKey('c'));  // appended behind the remaining record
    KeyRecord* second = queue.TakeFirst();
    KeyRecord* third = queue.TakeFirst();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(second->code, 'b');
    EXPECT_EQ(third->code, 'c');
    EXPECT_EQ(queue.TakeFirst(), nullptr);
    delete second;
    delete third;
    // Emptied, the queue takes new records at its front again.
    queue.Append(NewKey('d'));
    KeyRecord* fourth = queue.TakeFirst();
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(fourth->code, 'd');
    delete fourth;
}

TEST(InputQueues, ClearFreesEveryRecord) {
    ClickQueue queue;
    for (int i = 0; i < 5; ++i) {
        ClickRecord* record = new ClickRecord();
        record->kind = CK_LEFT;
        record->x = i;
        queue.Append(record);
    }
    queue.Clear();
    EXPECT_EQ(queue.TakeFirst(), nullptr);
    ClickRecord* record = new ClickRecord();
    record->x = 9;
    queue.Append(record);
    ClickRecord* taken = queue.TakeFirst();
    ASSERT_EQ(taken, record);
    EXPECT_EQ(taken->x, 9);
    delete taken;
}

TEST(InputRegistry, RegisterKeepsTheFirstOwnerOfAHandle) {
    WindowRegistry registry;
    EXPECT_TRUE(registry.waitOnLastClose);
    EXPECT_EQ(registry.Count(), 0);
    window* a = reinterpret_cast<window*>(0x10);
    window* b = reinterpret_cast<window*>(0x20);
    registry.Register(FakeHandle(1), a);
    registry.Register(FakeHandle(2), b);
    registry.Register(FakeHandle(1), b);  // already there: no change
    EXPECT_EQ(registry.Count(), 2);
    EXPECT_EQ(registry.Find(FakeHandle(1)), a);
    EXPECT_EQ(registry.Find(FakeHandle(2)), b);
    EXPECT_EQ(registry.Find(FakeHandle(3)), nullptr);
}

TEST(InputRegistry, UnregisterRemovesOnlyItsEntryWhereverItIs) {
    WindowRegistry registry;
    window* owners[4] = {reinterpret_cast<window*>(0x10), reinterpret_cast<window*>(0x20),
                         reinterpret_cast<window*>(0x30), reinterpret_cast<window*>(0x40)};
    for (uintptr_t i = 0; i < 4; ++i) registry.Register(FakeHandle(i + 1), owners[i]);
    registry.Unregister(FakeHandle(2));  // middle
    registry.Unregister(FakeHandle(1));  // first
    registry.Unregister(FakeHandle(4));  // last
    registry.Unregister(FakeHandle(9));  // unknown: nothing happens
    EXPECT_EQ(registry.Count(), 1);
    EXPECT_EQ(registry.Find(FakeHandle(1)), nullptr);
    EXPECT_EQ(registry.Find(FakeHandle(2)), nullptr);
    EXPECT_EQ(registry.Find(FakeHandle(3)), owners[2]);
    EXPECT_EQ(registry.Find(FakeHandle(4)), nullptr);
    // The list still appends after its remaining entry.
    registry.Register(FakeHandle(5), owners[0]);
    EXPECT_EQ(registry.Count(), 2);
    EXPECT_EQ(registry.Find(FakeHandle(5)), owners[0]);
}

TEST(InputRegistry, NotesAndRecordsReachTheOwnerOfTheHandle) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    windowRegistry->NoteButton(h, MB_RIGHT, BS_DOWN, 11, 12);
    windowRegistry->NoteMotion(h, 13, 14);
    windowRegistry->PushKey(h, KK_NAV, 8);
    windowRegistry->PushClick(h, CK_RIGHT, 15, 16);
    // Unknown handles change nothing.
    windowRegistry->NoteButton(FakeHandle(77), MB_LEFT, BS_DOWN, 1, 1);
    windowRegistry->PushKey(FakeHandle(77), KK_CHAR, 'x');
    windowRegistry->PushClick(FakeHandle(77), CK_LEFT, 1, 1);
    int32_t x = 0, y = 0;
    EXPECT_EQ(w->QueryButton(MB_RIGHT, x, y), BS_DOWN);
    EXPECT_EQ(w->QueryButton(MB_LEFT, x, y), BS_UP);
    EXPECT_EQ(x, 13);
    EXPECT_EQ(y, 14);
    char code = 0;
    EXPECT_EQ(w->PollKey(code), KK_NAV);
    EXPECT_EQ(code, 8);
    EXPECT_EQ(w->PollKey(code), KK_NONE);
    EXPECT_EQ(w->PollClick(x, y), CK_RIGHT);
    EXPECT_EQ(x, 15);
    EXPECT_EQ(y, 16);
    EXPECT_EQ(w->PollClick(x, y), CK_NONE);
}

TEST(InputRegistry, AnyNonZeroButtonSelectsTheRightButton) {
    auto w = QuietWindow();
    windowRegistry->NoteButton(Handle(*w), static_cast<MouseButton>(7), BS_DOWN, 1, 2);
    int32_t x = 0, y = 0;
    EXPECT_EQ(w->QueryButton(static_cast<MouseButton>(3), x, y), BS_DOWN);
    EXPECT_EQ(w->QueryButton(MB_LEFT, x, y), BS_UP);
}

TEST(InputRegistry, WindowProcedureLeavesOtherMessagesToTheDefault) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    // A key-down outside the table queues nothing and is not passed on.
    EXPECT_EQ(GraphicsWindowProc(h, WM_KEYDOWN, 'A', 0), 0);
    // The character message queues the low 8 bits of its code.
    EXPECT_EQ(GraphicsWindowProc(h, WM_CHAR, 0x1E9, 0), 0);
    char code = 0;
    EXPECT_EQ(w->PollKey(code), KK_CHAR);
    EXPECT_EQ(static_cast<unsigned char>(code), 0xE9);
    // Middle button and double clicks are not clicks.
    GraphicsWindowProc(h, WM_MBUTTONUP, 0, MAKELPARAM(3, 3));
    GraphicsWindowProc(h, WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 3));
    int32_t x = 0, y = 0;
    EXPECT_EQ(w->PollClick(x, y), CK_NONE);
    // Positions are unsigned 16-bit halves of the parameter.
    GraphicsWindowProc(h, WM_MOUSEMOVE, 0, MAKELPARAM(0xFFFF, 0x8000));
    w->QueryPointer(x, y);
    EXPECT_EQ(x, 65535);
    EXPECT_EQ(y, 32768);
}

}  // namespace

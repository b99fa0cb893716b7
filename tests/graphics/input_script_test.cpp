// Input scripts: what a script line becomes, the errors a bad script gets
// (with its line number), and recordings read back as the same messages.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "input_script.h"

using graphics_script::Anchor;
using graphics_script::Event;

namespace {

std::string ErrorOf(const std::string& script) {
    std::vector<Event> events;
    std::string error;
    EXPECT_FALSE(graphics_script::Parse(script, events, error)) << script;
    EXPECT_TRUE(events.empty());
    return error;
}

}  // namespace

TEST(InputScript, LinesBecomeMessagesWithTheirPlacement) {
    const std::string script =
        "# paddle left, then up\n"
        "\n"
        "frame 3 key 4\n"
        "frame 3 +2 key left\n"
        "  frame 10 key Esc\r\n"
        "pause 1 click right 500 300\n"
        "frame 12 move 65535 0\n"
        "frame 12 +1 char 200\n"
        "frame 12 +1 key Space\n"
        "frame 20 press left 1 2\n"
        "frame 20 release left 3 4\n"
        "frame 21 key F12\n"
        "frame 21 key #\n";
    std::vector<Event> events;
    std::string error;
    ASSERT_TRUE(graphics_script::Parse(script, events, error)) << error;
    ASSERT_EQ(12u, events.size());

    EXPECT_EQ(3, events[0].line);
    EXPECT_EQ(Anchor::Frame, events[0].anchor);
    EXPECT_EQ(3u, events[0].count);
    EXPECT_EQ(0u, events[0].steps);
    EXPECT_EQ(static_cast<UINT>(WM_CHAR), events[0].message);
    EXPECT_EQ(static_cast<WPARAM>('4'), events[0].wParam);

    EXPECT_EQ(2u, events[1].steps);
    EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), events[1].message);
    EXPECT_EQ(static_cast<WPARAM>(VK_LEFT), events[1].wParam);
    EXPECT_EQ(static_cast<WPARAM>(VK_ESCAPE), events[2].wParam);

    // A click is a press and a release at the same place and time.
    EXPECT_EQ(Anchor::Pause, events[3].anchor);
    EXPECT_EQ(1u, events[3].count);
    EXPECT_EQ(static_cast<UINT>(WM_RBUTTONDOWN), events[3].message);
    EXPECT_EQ(static_cast<UINT>(WM_RBUTTONUP), events[4].message);
    EXPECT_EQ(500, LOWORD(events[4].lParam));
    EXPECT_EQ(300, HIWORD(events[4].lParam));

    EXPECT_EQ(static_cast<UINT>(WM_MOUSEMOVE), events[5].message);
    EXPECT_EQ(65535, LOWORD(events[5].lParam));
    EXPECT_EQ(static_cast<WPARAM>(200), events[6].wParam);
    EXPECT_EQ(static_cast<WPARAM>(' '), events[7].wParam);
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONDOWN), events[8].message);
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONUP), events[9].message);
    EXPECT_EQ(static_cast<WPARAM>(VK_F1 + 11), events[10].wParam);
    EXPECT_EQ(static_cast<WPARAM>('#'), events[11].wParam);
    EXPECT_EQ(13, events[11].line);
}

TEST(InputScript, BadScriptsAreToldWhichLineAndWhy) {
    EXPECT_EQ("line 2: unknown key name 'Foo' (one character, Space, Enter, Tab, Backspace, Esc, Home, End, "
              "PageUp, PageDown, Left, Right, Up, Down or F1 to F12)",
              ErrorOf("frame 1 key 4\nframe 2 key Foo\n"));
    EXPECT_EQ("line 1: missing coordinates: x and y are needed", ErrorOf("frame 1 click left 10\n"));
    EXPECT_EQ("line 1: missing coordinates: x and y are needed", ErrorOf("frame 1 move\n"));
    // Frame and pause placements are counted apart, each must not go back.
    EXPECT_EQ("line 3: frame 4 +0 comes before the previous frame line (5 +0): placements must not go backwards",
              ErrorOf("frame 5 key 1\npause 0 key 2\nframe 4 key 3\n"));
    EXPECT_NE(std::string::npos, ErrorOf("frame 5 +3 key 1\nframe 5 +2 key 2\n").find("line 2: "));
    std::string control = "frame 1 key 4\nframe 2 key ";
    control += '\x01';
    EXPECT_EQ(0u, ErrorOf(control).find("line 2: not a text line"));
    EXPECT_EQ(0u, ErrorOf(std::string("\x89PNG\r\n\x1a\n\0\0\0", 11)).find("line 1: not a text line"));
    EXPECT_EQ(0u, ErrorOf("key 4\n").find("line 1: expected 'frame' or 'pause'"));
    EXPECT_EQ(0u, ErrorOf("frame -1 key 4\n").find("line 1: the frame number"));
    EXPECT_EQ(0u, ErrorOf("frame 1 +x key 4\n").find("line 1: message steps"));
    EXPECT_EQ(0u, ErrorOf("frame 1\n").find("line 1: missing the action"));
    EXPECT_EQ(0u, ErrorOf("frame 1 key\n").find("line 1: missing the key name"));
    EXPECT_EQ(0u, ErrorOf("frame 1 key a b\n").find("line 1: one key a line"));
    EXPECT_EQ(0u, ErrorOf("frame 1 char 256\n").find("line 1: a character code"));
    EXPECT_EQ(0u, ErrorOf("frame 1 click middle 1 2\n").find("line 1: unknown button"));
    EXPECT_EQ(0u, ErrorOf("frame 1 click left 1 2 3\n").find("line 1: unexpected '3'"));
    EXPECT_EQ(0u, ErrorOf("frame 1 press left 70000 2\n").find("line 1: x must be"));
    EXPECT_EQ(0u, ErrorOf("frame 1 jump\n").find("line 1: unknown action 'jump'"));
    EXPECT_EQ("line 1: close takes nothing after it; unexpected 'now'", ErrorOf("frame 1 close now\n"));
}

// A recording is read back as the very messages that were recorded.
TEST(InputScript, RecordedLinesReadBackAsTheSameMessages) {
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Message messages[] = {
        {WM_CHAR, 'q', 1},          {WM_CHAR, 27, 1},        {WM_CHAR, ' ', 1},        {WM_CHAR, 200, 1},
        {WM_CHAR, 13, 1},           {WM_KEYDOWN, VK_HOME, 1}, {WM_KEYDOWN, VK_F1 + 9, 1},
        {WM_MOUSEMOVE, 0, MAKELPARAM(640, 65535)},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 2)},       {WM_LBUTTONUP, 0, MAKELPARAM(3, 4)},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6)},       {WM_RBUTTONUP, 0, MAKELPARAM(7, 8)},
        {WM_CLOSE, 0, 0},
    };
    std::string script;
    uint64_t frame = 0;
    for (const Message& m : messages) {
        script += graphics_script::Format(Anchor::Frame, frame, frame % 3, m.message, m.wParam, m.lParam) + "\n";
        ++frame;
    }
    std::vector<Event> events;
    std::string error;
    ASSERT_TRUE(graphics_script::Parse(script, events, error)) << error << "\n" << script;
    ASSERT_EQ(std::size(messages), events.size()) << script;
    for (size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(script);
        EXPECT_EQ(i, events[i].count);
        EXPECT_EQ(i % 3, events[i].steps);
        EXPECT_EQ(messages[i].message, events[i].message);
        EXPECT_EQ(messages[i].wParam, events[i].wParam);
        if (messages[i].message != WM_CHAR && messages[i].message != WM_KEYDOWN) {
            EXPECT_EQ(messages[i].lParam, events[i].lParam);
        }
    }
    // Key-ups and keys with no record of their own are not part of the format.
    EXPECT_EQ("", graphics_script::Format(Anchor::Frame, 1, 0, WM_KEYUP, VK_HOME, 1));
    EXPECT_EQ("", graphics_script::Format(Anchor::Frame, 1, 0, WM_KEYDOWN, 'A', 1));
}

// A script too big to be one is refused at the first line past a limit; a
// long word is quoted shortened; lines may come in any pieces.
TEST(InputScript, ScriptsPastTheirLimitsAreRefusedWithTheLine) {
    graphics_script::Limits limits;
    limits.lineBytes = 40;
    limits.fileBytes = 100;
    limits.events = 3;
    std::vector<Event> events;
    std::string error;
    auto refusal = [&](const std::string& script) {
        EXPECT_FALSE(graphics_script::Parse(script, events, error, limits)) << script;
        EXPECT_TRUE(events.empty());
        return error;
    };
    EXPECT_EQ("line 2: longer than 40 characters, the most a script line may hold",
              refusal("frame 1 key a\n" + std::string(41, '#') + "\n"));
    EXPECT_TRUE(graphics_script::Parse("frame 1 key a" + std::string(27, ' ') + "\r\n", events, error, limits))
        << error;
    EXPECT_EQ("line 8: the script goes on past 100 bytes, the most an input script may hold",
              refusal("# 14 bytes ..\n# 14 bytes ..\n# 14 bytes ..\n# 14 bytes ..\n# 14 bytes ..\n# 14 bytes ..\n"
                      "# 14 bytes ..\n#comment\n"));
    EXPECT_EQ(0u, refusal(std::string(50, '\x01')).find("line 1: not a text line (byte 1)")) << error;
    EXPECT_EQ("line 3: more than 3 messages, the most an input script may hold",
              refusal("frame 1 key a\nframe 1 click left 1 2\nframe 2 key b\n"));

    const std::string name(1000, 'K');
    const std::string message = ErrorOf("frame 1 key " + name + "\n");
    EXPECT_EQ(0u, message.find("line 1: unknown key name 'KKKK")) << message;
    EXPECT_NE(std::string::npos, message.find("...' (1000 characters)")) << message;
    EXPECT_LT(message.size(), 300u);

    struct ByteByByte : graphics_script::Reader {
        std::string text;
        size_t at = 0;
        size_t Read(char* buffer, size_t) override {
            if (at == text.size()) return 0;
            *buffer = text[at++];
            return 1;
        }
    } pieces;
    pieces.text = "frame 2 key q\r\n\n# done\nframe 3 click left 7 8";
    ASSERT_TRUE(graphics_script::Parse(pieces, events, error)) << error;
    ASSERT_EQ(3u, events.size());
    EXPECT_EQ(static_cast<WPARAM>('q'), events[0].wParam);
    EXPECT_EQ(4, events[2].line);
    EXPECT_EQ(8, HIWORD(events[2].lParam));
}

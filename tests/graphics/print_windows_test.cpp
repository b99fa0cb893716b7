// Printing in the Windows build, under Wine: the real message box and the
// real print dialog (comdlg32), driven from a second thread that reads the
// box's text and answers it. What needs a printer that a test describes -
// the page layout, the refusals of a printer without bit-block transfers,
// each failing step - and the real outputs (a PDF file, a CUPS queue, GTK's
// dialog) are left to the Linux tests: Wine's printers are whatever CUPS
// offers the machine, so a test cannot choose their page, and real GDI
// cannot be made to fail on demand.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "drawing_test_support.h"
#include "graphics.h"

namespace {

// Watches, until Print returns, for top-level dialogs with the given title:
// reads the text of the first one's message (a message box's static text)
// and answers each with `button`, or with OK when it has no such button.
struct Answer {
    const char* title;
    int button;
    volatile bool printReturned = false;
    bool seen = false;
    std::string text;
};

DWORD WINAPI AnswerDialogs(LPVOID param) {
    auto* answer = static_cast<Answer*>(param);
    while (!answer->printReturned) {
        if (HWND dialog = FindWindowA("#32770", answer->title)) {
            if (!answer->seen) {
                char text[512] = "";
                GetDlgItemTextA(dialog, 0xFFFF, text, sizeof text);
                answer->text = text;
                answer->seen = true;
            }
            int button = GetDlgItem(dialog, answer->button) ? answer->button : IDOK;
            PostMessageA(dialog, WM_COMMAND, button, 0);
        }
        Sleep(100);
    }
    return 0;
}

// Runs Print while a second thread answers the dialogs titled `title`.
Answer PrintAnswering(window& w, const char* title, int button) {
    Answer answer{title, button};
    HANDLE thread = CreateThread(nullptr, 0, AnswerDialogs, &answer, 0, nullptr);
    w.Print();
    answer.printReturned = true;
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    return answer;
}

}  // namespace

TEST(PrintWindows, BufferingOffShowsOnlyTheWarningBox) {
    window w(200, 150, 10, 10);
    w.SetWaitOnClose(false);
    drawing_test::OutputCatcher out;
    Answer answer = PrintAnswering(w, "Graphics Library", IDOK);
    EXPECT_TRUE(answer.seen);
    EXPECT_EQ(answer.text, "Double-buffering must be enabled for printing to work.  Sorry.");
    EXPECT_EQ(FindWindowA("#32770", "Print"), nullptr);  // no dialog followed
    EXPECT_EQ(out.Take(), "");
}

TEST(PrintWindows, ACancelledPrintDialogEndsTheCallSilently) {
    window w(200, 150, 10, 10);
    w.SetWaitOnClose(false);
    w.SetBuffering(true);
    drawing_test::OutputCatcher out;
    // The dialog is cancelled; on a machine without printers Wine says so in
    // a box titled like the dialog, and the dialog returns 0 all the same.
    Answer answer = PrintAnswering(w, "Print", IDCANCEL);
    EXPECT_TRUE(answer.seen);
    EXPECT_EQ(out.Take(), "");  // no fatal error report, no refusal box
    EXPECT_EQ(FindWindowA("#32770", "Graphics Library"), nullptr);
    w.SetBuffering(false);
}

#endif

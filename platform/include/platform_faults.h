// platform_faults.h - failure injection for tests of code built on the
// platform layer. Arming a function name makes its next calls fail exactly
// as the Win32 call reports failure (0, null, -1 or GDI_ERROR as it would).
// Tests may also record message boxes instead of showing them, and print on
// a printer whose page they describe.
#ifndef PLATFORM_FAULTS_H
#define PLATFORM_FAULTS_H

#include <windows.h>

#include <string>
#include <vector>

namespace platform_faults {

// The next `count` calls of `function` (its Win32 name, e.g. "DeleteObject")
// fail. Arming again replaces the count; a count of 0 or less disarms. A
// name that is no platform call able to fail ends the program with a
// message naming it, since such a test would test nothing.
void FailNext(const char* function, int count = 1);

// Disarms every function, stops recording message boxes and removes the
// test printer.
void ClearAll();

// ------------------------------------------------------------ message boxes
struct ShownBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};
// From now on MessageBoxA shows nothing: it records the box and returns IDOK.
void RecordMessageBoxes();
// The boxes recorded since the last call, oldest first.
std::vector<ShownBox> TakeMessageBoxes();
// Used by MessageBoxA: true (and the box recorded) while recording.
bool RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ------------------------------------------------------------ test printer
// While set, PrintDlgA shows no dialog and returns at once a DC for this
// printer, whose page is `width` x `height` device pixels at `dpi` with the
// given RASTERCAPS bits. What is printed on it is recorded.
struct TestPrinter {
    int width;
    int height;
    int dpi;
    int rasterCaps;
};
void UseTestPrinter(const TestPrinter& printer);
// What the test printer saw, in order, e.g. "PrintDlg flags=0x4010c",
// "StartDoc", "StartPage", "image 0 1572 4800 3456 of 1000x720", "EndPage",
// "EndDoc", "deleted". Taking the log empties it.
std::vector<std::string> TakePrinterLog();

}  // namespace platform_faults

#endif

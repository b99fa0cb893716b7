// Printing on Linux: the page layout on a printer whose page a test sets,
// the refusals, the print dialog's flags, each failing step reported with
// the sequence going on, and the real outputs without a dialog: a PDF file
// (turned back into pixels with poppler's pdftoppm and compared with the
// back buffer) and a CUPS queue that does not exist. The GTK dialog and a
// real print service are driven end to end in tests/e2e/print.sh.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "drawing_test_support.h"
#include "graphics.h"
#include "platform_faults.h"
#include "window_test_access.h"

using drawing_test::OutputCatcher;
using Log = std::vector<std::string>;

namespace {

constexpr int kCaps = RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT;

// Sets an environment variable for one test's duration.
class EnvVar {
public:
    EnvVar(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = std::make_unique<std::string>(old);
        setenv(name, value.c_str(), 1);
    }
    ~EnvVar() {
        if (saved_) setenv(name_, saved_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::unique_ptr<std::string> saved_;
};

class Print : public testing::Test {
protected:
    void SetUp() override { platform_faults::RecordMessageBoxes(); }
    void TearDown() override {
        if (w) {
            w->SetBuffering(false);
            w.reset();
        }
        platform_faults::ClearAll();
    }
    void Open(int width, int height, bool buffered = true) {
        w = std::make_unique<window>(width, height, 10, 10);
        w->SetWaitOnClose(false);
        if (buffered) w->SetBuffering(true);
    }
    // Prints on a test printer and returns what it saw.
    Log PrintOn(int pageWidth, int pageHeight, int caps) {
        platform_faults::UseTestPrinter({pageWidth, pageHeight, 600, caps});
        w->Print();
        return platform_faults::TakePrinterLog();
    }
    std::unique_ptr<window> w;
};

Log Printed(const std::string& image) {
    return {"PrintDlg flags=0x4010c", "StartDoc", "StartPage", image, "EndPage", "EndDoc", "deleted"};
}

}  // namespace

TEST_F(Print, LayoutOfA1000x720WindowOnTheThreeEdgePages) {
    Open(1000, 720);
    OutputCatcher out;
    // Stretched to the page width, centred vertically.
    EXPECT_EQ(PrintOn(4800, 6600, kCaps), Printed("image 0 1572 4800 3456 of 1000x720"));
    // A page shorter than the picture: still the page width, running over
    // the top and the bottom.
    EXPECT_EQ(PrintOn(4800, 3000, kCaps), Printed("image 0 -228 4800 3456 of 1000x720"));
    // No stretching: the window's own size, centred.
    EXPECT_EQ(PrintOn(4800, 6600, RC_BITBLT | RC_BITMAP64), Printed("image 1900 2940 1000 720 of 1000x720"));
    // Odd differences halve toward minus infinity.
    EXPECT_EQ(PrintOn(999, 719, RC_BITBLT | RC_BITMAP64), Printed("image -1 -1 1000 720 of 1000x720"));
    EXPECT_EQ(out.Take(), "");
    EXPECT_TRUE(platform_faults::TakeMessageBoxes().empty());
}

TEST_F(Print, RefusalsAreWarningBoxesOwnedByTheWindow) {
    Open(100, 80, false);
    EXPECT_TRUE(PrintOn(4800, 6600, kCaps).empty());  // buffering off: not even the dialog
    w->SetBuffering(true);
    EXPECT_EQ(PrintOn(4800, 6600, RC_BITMAP64 | RC_STRETCHBLT), Log({"PrintDlg flags=0x4010c", "deleted"}));
    EXPECT_EQ(PrintOn(4800, 6600, RC_BITBLT | RC_STRETCHBLT), Log({"PrintDlg flags=0x4010c", "deleted"}));

    auto boxes = platform_faults::TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "Double-buffering must be enabled for printing to work.  Sorry.");
    EXPECT_EQ(boxes[1].text, "Your printer does not support bitblts.  Sorry");
    EXPECT_EQ(boxes[2].text, "Your printer does not support bitmaps larger than 64K.  Sorry.");
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, "Graphics Library");
        EXPECT_EQ(box.type, 0x30u);
        EXPECT_EQ(box.owner, WindowTestAccess::Handle(*w));
    }
}

TEST_F(Print, ACancelledDialogEndsTheCallSilently) {
    Open(100, 80);
    OutputCatcher out;
    platform_faults::FailNext("PrintDlgA");
    EXPECT_TRUE(PrintOn(4800, 6600, kCaps).empty());
    EXPECT_EQ(out.Take(), "");
    EXPECT_TRUE(platform_faults::TakeMessageBoxes().empty());
}

TEST_F(Print, EachFailingStepIsReportedAndTheSequenceGoesOn) {
    struct Case {
        const char* fault;
        int caps;
        std::string output;
        Log log;
    };
    const std::string startDoc = "Fatal Error: Failed to StartDoc in Print!\n";
    const std::string startPage = "Fatal Error: Failed to StartPage in Print!\n";
    const std::string endPage = "Fatal Error: Failed to EndPage in Print!\n";
    const std::string endDoc = "Fatal Error: Failed to EndDoc in Print!\n";
    const std::string image = "image 0 1572 4800 3456 of 1000x720";
    const Case cases[] = {
        // Without a document there is no page to start or end either.
        {"StartDocA", kCaps, startDoc + startPage + endPage + endDoc, {"PrintDlg flags=0x4010c", "deleted"}},
        {"StartPage", kCaps, startPage + endPage, {"PrintDlg flags=0x4010c", "StartDoc", "EndDoc", "deleted"}},
        {"StretchBlt", kCaps, "Fatal Error: Failed to StretchBlt in Print!\n",
         {"PrintDlg flags=0x4010c", "StartDoc", "StartPage", "EndPage", "EndDoc", "deleted"}},
        {"BitBlt", RC_BITBLT | RC_BITMAP64, "Fatal Error: Failed to BitBlt in Print!\n",
         {"PrintDlg flags=0x4010c", "StartDoc", "StartPage", "EndPage", "EndDoc", "deleted"}},
        // The page left open is ended with the document.
        {"EndPage", kCaps, endPage, Printed(image)},
        // A document that never ended is dropped with its device context.
        {"EndDoc", kCaps, endDoc,
         {"PrintDlg flags=0x4010c", "StartDoc", "StartPage", image, "EndPage", "abandoned", "deleted"}},
        {"DeleteDC", kCaps, "Fatal Error: Failed to delete dcPrinter in Print!\n",
         {"PrintDlg flags=0x4010c", "StartDoc", "StartPage", image, "EndPage", "EndDoc"}},
    };
    Open(1000, 720);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        OutputCatcher out;
        platform_faults::FailNext(c.fault);
        Log log = PrintOn(4800, 6600, c.caps);
        EXPECT_EQ(out.Take(), c.output);
        EXPECT_EQ(log, c.log);
    }
    EXPECT_TRUE(platform_faults::TakeMessageBoxes().empty());
}

// ---------------------------------------------------------------- real outputs

namespace {
bool Loaded(const char* library) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}
}  // namespace

TEST(PrintLoading, GtkCairoAndCupsAreLoadedOnlyByTheFirstPrint) {
    // In a fresh process of its own (the test program run again for this
    // test alone), so that no other test has printed before.
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            window w(100, 80, 10, 10);
            w.SetWaitOnClose(false);
            w.SetBuffering(true);
            w.DrawCircle(50, 40, 20, STYLE_FILLED);
            w.UpdateBuffer();
            bool before = Loaded("libgtk-3.so.0") || Loaded("libcairo.so.2") || Loaded("libcups.so.2");
            std::string pdf = testing::TempDir() + "kiva_print_loading.pdf";
            setenv("GRAPHICS_PRINT_FILE", pdf.c_str(), 1);
            w.Print();
            bool after = Loaded("libcairo.so.2");
            std::remove(pdf.c_str());
            w.SetBuffering(false);
            std::exit(!before && after ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

namespace {

struct Raster {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }
};

// Reads a binary PPM (P6, maxval 255) as pdftoppm writes it.
bool ReadPpm(const std::string& path, Raster& r) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    int maxval = 0;
    bool ok = std::fscanf(f, "P6 %d %d %d", &r.width, &r.height, &maxval) == 3 && maxval == 255 &&
              std::fgetc(f) != EOF;
    if (ok) {
        r.rgb.resize(static_cast<size_t>(r.width) * r.height * 3);
        ok = std::fread(r.rgb.data(), 1, r.rgb.size(), f) == r.rgb.size();
    }
    std::fclose(f);
    return ok;
}

}  // namespace

TEST_F(Print, APdfFileRasterisedAgainMatchesTheBackBuffer) {
    const int kW = 200, kH = 144;
    Open(kW, kH);
    // A picture with flat areas, edges, thin lines and text, on a ground
    // that is not paper white so that it can be found on the page.
    w->SetPen(NAVY, 1);
    w->SetBrush(NAVY);
    w->DrawRectangle(0, 0, kW - 1, kH - 1, STYLE_FILLED, 0, 0);
    w->SetPen(YELLOW, 3);
    w->SetBrush(RED);
    w->DrawCircle(60, 70, 40, STYLE_FILLED);
    w->SetBrush(color(0, 200, 120));
    w->DrawTriangle(110, 20, 190, 40, 130, 130, STYLE_FILLED);
    w->SetPen(WHITE, 1);
    w->DrawLine(0, 140, 199, 100, STYLE_FRAME);
    w->DrawString(10, 5, "Print 42");

    const std::string pdf = testing::TempDir() + "kiva_print_test.pdf";
    const std::string ppm = testing::TempDir() + "kiva_print_test";
    std::remove(pdf.c_str());
    {
        EnvVar file("GRAPHICS_PRINT_FILE", pdf);
        OutputCatcher out;
        w->Print();
        EXPECT_EQ(out.Take(), "");
    }
    EXPECT_TRUE(platform_faults::TakeMessageBoxes().empty());

    // At the picture's own resolution the picture spans the page's printable
    // width (an A4 sheet, 210 mm): kW pixels over 210 mm. Poppler smooths
    // every image that it scales by less than 4, whatever the PDF asks, so
    // the page is rasterised 4 times finer and each picture pixel read at
    // the centre of its 4 x 4 block.
    const double resolution = 4 * kW * 25.4 / 210.0;
    char command[512];
    std::snprintf(command, sizeof command, "pdftoppm -r %.6f -singlefile '%s' '%s'", resolution, pdf.c_str(),
                  ppm.c_str());
    ASSERT_EQ(std::system(command), 0) << command;
    Raster page;
    ASSERT_TRUE(ReadPpm(ppm + ".ppm", page));

    // Where the picture lies: a PDF file's page is A4 at 300 dpi without
    // margins (2480 x 3507 device pixels), so the picture is stretched to
    // 2480 pixels across and centred.
    const int pageWidth = 2480, pageHeight = 3507;
    const int printedHeight = pageWidth * kH / kW, top = (pageHeight - printedHeight) / 2;
    const double scale = resolution / 300.0;  // raster pixels per device pixel
    EXPECT_NEAR(page.width, 4 * kW, 1);  // the sheet

    // Each picture pixel against the raster pixel under its centre.
    int same = 0;
    for (int j = 0; j < kH; ++j)
        for (int i = 0; i < kW; ++i) {
            int x = static_cast<int>((i + 0.5) * pageWidth / kW * scale);
            int y = static_cast<int>((top + (j + 0.5) * printedHeight / kH) * scale);
            ASSERT_TRUE(x < page.width && y < page.height);
            const unsigned char* p = page.At(x, y);
            color c = w->GetColor(i, j);
            if (std::abs(p[0] - c.red) <= 2 && std::abs(p[1] - c.green) <= 2 && std::abs(p[2] - c.blue) <= 2) ++same;
        }
    EXPECT_GE(same, kW * kH * 999 / 1000) << "of " << kW * kH;
    std::remove(pdf.c_str());
    std::remove((ppm + ".ppm").c_str());
}

TEST_F(Print, AnUnwritablePdfFileIsReportedWithTheSystemsReason) {
    Open(100, 80);
    EnvVar file("GRAPHICS_PRINT_FILE", "/nonexistent-folder/out.pdf");
    OutputCatcher out;
    w->Print();
    EXPECT_EQ(drawing_test::Count(out.Take(), "Fatal Error: Failed to StartDoc in Print!"), 1);
    auto boxes = platform_faults::TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("/nonexistent-folder/out.pdf"), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("No such file or directory"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].owner, WindowTestAccess::Handle(*w));
}

TEST_F(Print, AQueueThePrintServiceCannotFindIsToldAndNothingElseHappens) {
    Open(100, 80);
    // A print service that is not there at all: the named queue is unknown.
    EnvVar server("CUPS_SERVER", testing::TempDir() + "kiva-no-cupsd.sock");
    EnvVar queue("GRAPHICS_PRINTER", "kiva_missing_queue");
    OutputCatcher out;
    w->Print();
    EXPECT_EQ(out.Take(), "");
    auto boxes = platform_faults::TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("GRAPHICS_PRINTER names the printer \"kiva_missing_queue\""), std::string::npos)
        << boxes[0].text;
}

TEST_F(Print, WithoutADisplayOrADestinationItSaysOnceWhyNothingPrinted) {
    Open(100, 80);  // the tests' windows are offscreen: no display for a dialog
    testing::internal::CaptureStderr();
    OutputCatcher out;
    w->Print();
    w->Print();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out.Take(), "");
    EXPECT_EQ(drawing_test::Count(err, "nothing printed"), 1) << err;
    EXPECT_NE(err.find("GRAPHICS_PRINT_FILE"), std::string::npos);
    EXPECT_TRUE(platform_faults::TakeMessageBoxes().empty());
}

#endif

// The printing service: the printer DC of a PDF file (its page figures,
// the order of documents and pages, transfers kept as pictures of the
// page, a dropped document leaving no file, not even its temporary one),
// and StartDocA's output name.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform_faults.h"

namespace {

bool Exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

// The files this process is writing aside in the scratch folder.
int TemporaryFiles() {
    const std::string prefix = ".kiva-" + std::to_string(getpid()) + "-";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing::TempDir()))
        if (entry.path().filename().string().rfind(prefix, 0) == 0) ++count;
    return count;
}

std::string Start(const std::string& path, int bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::string head(static_cast<size_t>(bytes), '\0');
    if (!f) return "";
    head.resize(std::fread(&head[0], 1, head.size(), f));
    std::fclose(f);
    return head;
}

class PrintService : public testing::Test {
protected:
    void SetUp() override {
        path = testing::TempDir() + "kiva_print_service.pdf";
        std::remove(path.c_str());
        setenv("GRAPHICS_PRINT_FILE", path.c_str(), 1);
        platform_faults::RecordMessageBoxes();
    }
    void TearDown() override {
        unsetenv("GRAPHICS_PRINT_FILE");
        platform_faults::ClearAll();
        std::remove(path.c_str());
    }
    HDC Dialog() {
        PRINTDLGA pd{};
        pd.lStructSize = sizeof pd;
        pd.Flags = PD_RETURNDC;
        EXPECT_EQ(PrintDlgA(&pd), TRUE);
        return pd.hDC;
    }
    std::string path;
};

}  // namespace

TEST_F(PrintService, APdfFilesPageIsA4At300Dpi) {
    HDC dc = Dialog();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 2480);  // 210 mm
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 3507);  // 297 mm
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 300);
    EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS), RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT);
    EXPECT_EQ(DeleteDC(dc), TRUE);
    EXPECT_FALSE(Exists(path));  // nothing started, nothing written
}

TEST_F(PrintService, PagesOnlyInsideADocumentAndTheDocumentIsWrittenAtItsEnd) {
    HDC dc = Dialog();
    EXPECT_LE(StartPage(dc), 0);
    EXPECT_LE(EndDoc(dc), 0);
    DOCINFOA doc{sizeof(DOCINFOA), "test", nullptr, nullptr, 0};
    EXPECT_GT(StartDocA(dc, &doc), 0);
    EXPECT_LE(StartDocA(dc, &doc), 0);  // one document at a time
    EXPECT_LE(EndPage(dc), 0);
    EXPECT_GT(StartPage(dc), 0);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(StretchBlt(dc, 0, 0, 2480, 1000, screen, 0, 0, 100, 40, SRCCOPY), TRUE);
    EXPECT_EQ(BitBlt(dc, 0, 0, 10, 10, screen, 0, 0, 0x00660046u), FALSE);  // SRCINVERT: paper takes plain copies only
    ReleaseDC(nullptr, screen);
    EXPECT_GT(EndPage(dc), 0);
    EXPECT_GT(EndDoc(dc), 0);
    EXPECT_EQ(DeleteDC(dc), TRUE);
    EXPECT_EQ(Start(path, 5), "%PDF-");
    EXPECT_TRUE(platform_faults::TakeMessageBoxes().empty());
}

TEST_F(PrintService, ADroppedDocumentLeavesNoFileAndAnOutputNameIsObeyed) {
    HDC dc = Dialog();
    DOCINFOA doc{sizeof(DOCINFOA), nullptr, nullptr, nullptr, 0};
    EXPECT_GT(StartDocA(dc, &doc), 0);
    EXPECT_GT(StartPage(dc), 0);
    EXPECT_FALSE(Exists(path));  // written aside until the document ends
    EXPECT_EQ(1, TemporaryFiles());
    EXPECT_GT(AbortDoc(dc), 0);
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(0, TemporaryFiles());

    std::string other = testing::TempDir() + "kiva_print_service_other.pdf";
    doc.lpszOutput = other.c_str();
    EXPECT_GT(StartDocA(dc, &doc), 0);
    EXPECT_GT(EndDoc(dc), 0);
    EXPECT_EQ(Start(other, 5), "%PDF-");
    EXPECT_FALSE(Exists(path));
    std::remove(other.c_str());

    // Deleted inside a document: dropped the same way.
    doc.lpszOutput = nullptr;
    EXPECT_GT(StartDocA(dc, &doc), 0);
    EXPECT_EQ(DeleteDC(dc), TRUE);
    EXPECT_FALSE(Exists(path));
}

// Damaged JPEG files through the decoder: each must either load or end the
// process through libjpeg's standard error handling (exit status 1), and
// never read or write out of bounds (the sanitizer build reports that on
// standard error, which fails the case). Every case runs in a child process
// of its own, because a broken file ends the process.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "graphics.h"
#include "image_test_support.h"
#include "jpeg_mutator.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

// Loaded, or refused by the decoder with exit status 1.
bool LoadedOrRefused(int status) {
#ifdef _WIN32
    return status == 0 || status == 1;
#else
    return WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 1);
#endif
}

// Cases a base file: fewer on Windows, where every child process is a new
// Wine process.
#ifdef _WIN32
const int kCasesPerBase = 8;
#else
const int kCasesPerBase = 40;
#endif

struct Base {
    const char* name;
    std::vector<unsigned char> bytes;
};

std::vector<Base> BaseFiles() {
    std::vector<Base> bases;
    auto add = [&](const char* name, bool written) {
        ASSERT_TRUE(written) << name;
        bases.push_back({name, jpeg_writer::ReadBytes(image_test::ScratchPath(name))});
    };
    std::vector<unsigned char> rgb = image_test::Pattern(48, 32);
    add("fuzz_base.jpg", jpeg_writer::WriteRgb(image_test::ScratchPath("fuzz_base.jpg"), 48, 32, rgb.data(), 75));
    add("fuzz_progressive.jpg",
        jpeg_writer::WriteRgbProgressive(image_test::ScratchPath("fuzz_progressive.jpg"), 48, 32, rgb.data(), 75));
    std::vector<unsigned char> gray(24 * 24);
    for (size_t i = 0; i < gray.size(); ++i) gray[i] = static_cast<unsigned char>(i * 7);
    add("fuzz_gray.jpg", jpeg_writer::WriteGray(image_test::ScratchPath("fuzz_gray.jpg"), 24, 24, gray.data(), 80));
    std::vector<unsigned char> inks(16 * 16 * 4);
    for (size_t i = 0; i < inks.size(); ++i) inks[i] = static_cast<unsigned char>(i * 13);
    add("fuzz_cmyk.jpg", jpeg_writer::WriteInks(image_test::ScratchPath("fuzz_cmyk.jpg"), 16, 16, inks.data(), 80,
                                                jpeg_writer::InkSpace::YCCK));
    return bases;
}

}  // namespace

namespace {

// Loads `bytes` in a child process: it must load or end with status 1, with
// no sanitizer report.
void ExpectLoadedOrRefused(const std::vector<unsigned char>& bytes, const std::string& what) {
    std::string path = image_test::ScratchPath("fuzz_case.jpg");
    ASSERT_TRUE(jpeg_writer::WriteBytes(path, bytes));
    EXPECT_EXIT(
        {
            image img(path, IK_JPEG);
            image copy(img);
            std::exit(copy.Width() == img.Width() ? 0 : 2);
        },
        LoadedOrRefused,
        testing::AllOf(testing::Not(testing::HasSubstr("Sanitizer")), testing::Not(testing::HasSubstr("runtime error"))))
        << what;
}

}  // namespace

TEST(JpegFuzzDeathTest, DamagedFilesLoadOrEndWithStatusOneAndNoSanitizerReport) {
    std::vector<Base> bases = BaseFiles();
    ASSERT_EQ(bases.size(), 4u);
    std::mt19937 rng(20261208);
    int cases = 0;
    for (const Base& base : bases) {
        ASSERT_GT(base.bytes.size(), 100u);
        for (int i = 0; i < kCasesPerBase; ++i) {
            ExpectLoadedOrRefused(jpeg_mutator::Mutate(base.bytes, rng), std::string(base.name) + " case " + std::to_string(i));
            ++cases;
        }
    }
    EXPECT_EQ(cases, 4 * kCasesPerBase);
}

// Damage where the decoder reads the file's structure (sizes, sampling
// factors, tables, scan headers, restart intervals), and a cut at every
// marker of the plain and the progressive file.
TEST(JpegFuzzDeathTest, StructureDamageAndCutsAtEveryMarkerLoadOrEndWithStatusOne) {
    std::vector<Base> bases = BaseFiles();
    ASSERT_EQ(bases.size(), 4u);
    std::mt19937 rng(20261209);
    for (const Base& base : bases) {
        for (int i = 0; i < kCasesPerBase / 2; ++i)
            ExpectLoadedOrRefused(jpeg_mutator::MutateStructure(base.bytes, rng),
                                  std::string(base.name) + " structure case " + std::to_string(i));
    }
    for (const Base& base : {bases[0], bases[1]}) {
        std::vector<size_t> markers = jpeg_mutator::MarkerOffsets(base.bytes);
        ASSERT_GE(markers.size(), 6u) << base.name;
        for (size_t at : markers) {
            std::vector<unsigned char> cut(base.bytes.begin(), base.bytes.begin() + static_cast<std::ptrdiff_t>(at + 2));
            ExpectLoadedOrRefused(cut, std::string(base.name) + " cut after the marker at " + std::to_string(at));
        }
    }
}

// The damager itself, given every beginning of a file, down to one that
// ends just after a marker (a scan header's once read past the end): it
// reads only the bytes there are (the sanitizer build watches) and never
// makes a file longer.
TEST(JpegMutator, StructureDamageStaysInsideFilesOfAnyLength) {
    std::vector<Base> bases = BaseFiles();
    ASSERT_FALSE(bases.empty());
    std::mt19937 rng(3);
    const std::vector<unsigned char>& whole = bases[1].bytes;  // progressive: many scan headers
    for (size_t length = 0; length <= whole.size(); ++length) {
        std::vector<unsigned char> start(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        for (int i = 0; i < 4; ++i) EXPECT_LE(jpeg_mutator::MutateStructure(start, rng).size(), length);
    }
}

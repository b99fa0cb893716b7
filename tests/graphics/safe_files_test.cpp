// Files replaced safely: the old file stays whole until the new one is
// complete and is left as it was by a replacement that does not complete;
// names that are not regular files are refused and left alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "safe_files.h"

namespace fs = std::filesystem;

namespace {

// A fresh, empty folder of the test's own.
fs::path Folder(const std::string& name) {
    fs::path folder = fs::path(testing::TempDir()) /
                      ("kiva_files_" + std::to_string(testing::UnitTest::GetInstance()->random_seed()) + "_" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

const char* const kDevice =
#ifdef _WIN32
    "NUL";
#else
    "/dev/null";
#endif

}  // namespace

TEST(SafeFiles, TheOldFileStaysWholeUntilTheNewOneIsComplete) {
    const fs::path folder = Folder("replace");
    const std::string target = (folder / "picture.pdf").string();
    Put(target, "old content");
    std::string reason;
    {
        kiva_files::FileReplacement file;
        ASSERT_TRUE(file.Begin(target, reason)) << reason;
        ASSERT_TRUE(file.Write("new ", 4, reason)) << reason;
        EXPECT_EQ("old content", Read(target));
        EXPECT_EQ(2u, Entries(folder).size()) << "the new file is written beside the old";
    }  // dropped before it was complete
    EXPECT_EQ("old content", Read(target));
    EXPECT_EQ(std::vector<std::string>{"picture.pdf"}, Entries(folder));

    kiva_files::FileReplacement file;
    ASSERT_TRUE(file.Begin(target, reason) && file.Write("new ", 4, reason) && file.Write("content", 7, reason) &&
                file.Commit(reason))
        << reason;
    EXPECT_EQ("new content", Read(target));
    EXPECT_EQ(std::vector<std::string>{"picture.pdf"}, Entries(folder));
    EXPECT_FALSE(file.Write("more", 4, reason)) << "nothing is written after the commit";

    // A new file, then one in a folder that does not exist: the system's reason.
    ASSERT_TRUE(kiva_files::ReplaceWholeFile((folder / "new.txt").string(), "abc", 3, reason)) << reason;
    EXPECT_EQ("abc", Read(folder / "new.txt"));
    EXPECT_FALSE(kiva_files::ReplaceWholeFile((folder / "missing" / "x.png").string(), "abc", 3, reason));
#ifndef _WIN32
    EXPECT_EQ(std::strerror(ENOENT), reason);
#endif
    EXPECT_FALSE(reason.empty());
}

TEST(SafeFiles, NamesThatAreNotRegularFilesAreRefusedAndLeftAlone) {
    const fs::path folder = Folder("refuse");
    fs::create_directory(folder / "shots");
    std::string reason;
    kiva_files::FileReplacement file;
    EXPECT_FALSE(file.Begin((folder / "shots").string(), reason));
    EXPECT_EQ("it is a folder, not a regular file", reason);
    EXPECT_TRUE(fs::is_directory(folder / "shots"));
    EXPECT_FALSE(kiva_files::Replaceable(kDevice, reason));
    EXPECT_EQ("it is a device, not a regular file", reason);
    EXPECT_FALSE(kiva_files::ReplaceWholeFile(kDevice, "x", 1, reason));
    EXPECT_EQ(std::vector<std::string>{"shots"}, Entries(folder));

    // Reading: a regular file only.
    uint64_t size = 0;
    EXPECT_EQ(nullptr, kiva_files::OpenRegularFile((folder / "shots").string(), size, reason));
    EXPECT_EQ("it is a folder, not a regular file", reason);
    EXPECT_EQ(nullptr, kiva_files::OpenRegularFile(kDevice, size, reason));
    EXPECT_EQ("it is a device, not a regular file", reason);
    EXPECT_EQ(nullptr, kiva_files::OpenRegularFile((folder / "none.txt").string(), size, reason));
    EXPECT_FALSE(reason.empty());
    Put(folder / "script.txt", "frame 1 key q\n");
    std::FILE* script = kiva_files::OpenRegularFile((folder / "script.txt").string(), size, reason);
    ASSERT_NE(nullptr, script) << reason;
    EXPECT_EQ(14u, size);
    char first[6] = {};
    EXPECT_EQ(5u, std::fread(first, 1, 5, script));
    EXPECT_STREQ("frame", first);
    std::fclose(script);

#ifndef _WIN32
    // A symbolic link to a regular file: the file it names is replaced, the
    // link stays; a link to nothing is refused.
    Put(folder / "real.png", "old");
    fs::create_symlink("real.png", folder / "link.png");
    ASSERT_TRUE(kiva_files::ReplaceWholeFile((folder / "link.png").string(), "new", 3, reason)) << reason;
    EXPECT_TRUE(fs::is_symlink(folder / "link.png"));
    EXPECT_EQ("new", Read(folder / "real.png"));
    fs::create_symlink("nothing.png", folder / "dangling.png");
    EXPECT_FALSE(kiva_files::ReplaceWholeFile((folder / "dangling.png").string(), "new", 3, reason));
    EXPECT_FALSE(fs::exists(folder / "nothing.png"));
#endif
    fs::remove_all(folder);
}

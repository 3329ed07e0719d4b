#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/fileio/FileIo.h"
#include "core/fileio/FileView.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// A one-shot reader's view of a file gives what a whole read gives, whatever is at the path.
TEST(FileViewTest, GivesWhatAWholeReadGives) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("full"), std::string("0004#abcd = 0000#\r\n\0tail", 24));
    TempDir::WriteBytes(dir.file("empty"), "");
    fs::create_directory(dir.file("folder"));
    for (const char* name : {"full", "empty", "folder", "missing"}) {
        std::string read;
        const fileio::Status expected = fileio::ReadWholeFile(dir.file(name), read);
        FileView view;
        const fileio::Status got = view.Open(dir.file(name));
        EXPECT_EQ(got.outcome, expected.outcome) << name;
        EXPECT_EQ(view.Bytes(), read) << name;
    }
    FileView view;
    ASSERT_TRUE(view.Open(dir.file("full")).ok());
    EXPECT_EQ(view.Bytes().size(), 24u);  // NUL bytes and all
}

// A piece read from the file is the view's bytes there, clipped to the end; a file cut short
// since it was opened gives what is left of it, never a fault.
TEST(FileViewTest, PiecesReadAtAnOffsetAreTheBytesThere) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; bytes.size() < 300000; ++i) {
        bytes += std::to_string(i) + ",";
    }
    TempDir::WriteBytes(dir.file("large"), bytes);
    FileView view;
    ASSERT_TRUE(view.Open(dir.file("large"), FileView::Pages::kByReader).ok());
    std::string out = "kept|";
    ASSERT_TRUE(view.ReadAt(123456, 5000, out));
    EXPECT_EQ(out, "kept|" + bytes.substr(123456, 5000));
    out.clear();
    ASSERT_TRUE(view.ReadAt(bytes.size() - 10, 100, out));
    EXPECT_EQ(out, bytes.substr(bytes.size() - 10));
    out.clear();
    ASSERT_TRUE(view.ReadAt(bytes.size() + 5, 100, out));
    EXPECT_EQ(out, "");
    fs::resize_file(dir.file("large"), 200000);
    out.clear();
    ASSERT_TRUE(view.ReadAt(199990, 100, out));
    EXPECT_EQ(out, view.Mapped() ? bytes.substr(199990, 10) : bytes.substr(199990, 100));
}

}  // namespace

#include <gtest/gtest.h>

#include "util/ClipboardReader.h"

namespace {

class FakeClipboard : public IClipboardSource {
public:
    std::optional<std::string> ReadText() override { return text; }
    std::optional<std::string> text;
};

class ClipboardReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetClipboardTextForTesting();
        SetClipboardSource(&clipboard);
    }
    void TearDown() override { SetClipboardSource(nullptr); }
    FakeClipboard clipboard;
};

TEST_F(ClipboardReaderTest, FirstReadOfAnEmptyClipboardIsEmpty) {
    EXPECT_EQ(GetClipboardText(), "");
}

TEST_F(ClipboardReaderTest, KeepsThePreviousTextWhenTheClipboardHoldsNoText) {
    clipboard.text = "Actor";
    EXPECT_EQ(GetClipboardText(), "Actor");
    clipboard.text.reset();  // emptied, or a picture without a text form
    EXPECT_EQ(GetClipboardText(), "Actor");
    clipboard.text = "NT";
    EXPECT_EQ(GetClipboardText(), "NT");
}

TEST_F(ClipboardReaderTest, TextEndsAtTheFirstNulByte) {
    clipboard.text = std::string("ab\0cd", 5);
    EXPECT_EQ(GetClipboardText(), "ab");
}

}  // namespace

#include <gtest/gtest.h>

#include <thread>

#include "util/FieldString.h"
#include "util/GbkText.h"

namespace {

TEST(FieldStringGetField, SplitsAtTheGivenSeparator) {
    const CFieldString text("a|b|c");
    EXPECT_EQ(text.GetField(0, '|'), "a");
    EXPECT_EQ(text.GetField(1, '|'), "b");
    EXPECT_EQ(text.GetField(2, '|'), "c");
    EXPECT_EQ(text.GetField(3, '|'), "");
    EXPECT_EQ(text.GetField(-1, '|'), "");
}

TEST(FieldStringGetField, EmptyFieldsAtEdgesAndBetween) {
    EXPECT_EQ(CFieldString("|b").GetField(0, '|'), "");
    EXPECT_EQ(CFieldString("|b").GetField(1, '|'), "b");
    EXPECT_EQ(CFieldString("a|").GetField(0, '|'), "a");
    EXPECT_EQ(CFieldString("a|").GetField(1, '|'), "");
    EXPECT_EQ(CFieldString("a||c").GetField(1, '|'), "");
    EXPECT_EQ(CFieldString("a||c").GetField(2, '|'), "c");
    EXPECT_EQ(CFieldString("").GetField(0, '|'), "");
    EXPECT_EQ(CFieldString("abc").GetField(0, '\x07'), "abc");
    EXPECT_EQ(CFieldString("abc").GetField(1, '\x07'), "");
    EXPECT_EQ(CFieldString(" a |b").GetField(0, '|'), " a ");  // nothing is trimmed
}

TEST(FieldStringGetField, TermRecordShapes) {
    const std::string full = "UML\x07" + GBK("统一建模语言") + "\x07\x07";
    EXPECT_EQ(CFieldString(full).GetField(1, '\x07'), GBK("统一建模语言"));
    EXPECT_EQ(CFieldString(full).GetField(2, '\x07'), "");
    EXPECT_EQ(CFieldString("UML\x07m").GetField(2, '\x07'), "");
}

TEST(FieldStringGetField, SeparatorIsFoundAsATrailByteToo) {
    // 0x7C can be the second byte of a GBK character; the split is by byte.
    const std::string text =
        "\x81\x7C"
        "b";
    EXPECT_EQ(CFieldString(text).GetField(0, '|'), "\x81");
    EXPECT_EQ(CFieldString(text).GetField(1, '|'), "b");
}

TEST(FieldStringSeparators, ExplicitSeparatorLeavesTheCurrentOneAlone) {
    ASSERT_EQ(CFieldString::CurrentSeparator(), '|');
    CFieldString(
        "a\x08"
        "b")
        .GetField(1, '\x08');
    EXPECT_EQ(CFieldString::CurrentSeparator(), '|');

    CFieldString::SetSeparator('\x08');
    EXPECT_EQ(CFieldString("term\x08meaning").GetField(1), "meaning");
    EXPECT_EQ(CFieldString("a,b").GetField(1, ','), "b");
    EXPECT_EQ(CFieldString::CurrentSeparator(), '\x08');
    EXPECT_EQ(CFieldString::RestoreSeparator(), '|');
    EXPECT_EQ(CFieldString::CurrentSeparator(), '|');
}

TEST(FieldStringSeparators, SetAndRestorePairOneLevelDeep) {
    CFieldString::SetSeparator('\x07');
    CFieldString::SetSeparator('\x08');  // overwrites the saved slot with 0x07
    EXPECT_EQ(CFieldString::RestoreSeparator(), '\x07');
    EXPECT_EQ(CFieldString::RestoreSeparator(), '\x07');
    CFieldString::SetSeparator('|');
    CFieldString::SetSeparator('|');
    CFieldString::RestoreSeparator();
    EXPECT_EQ(CFieldString::CurrentSeparator(), '|');
}

TEST(FieldStringSeparators, EachThreadHasItsOwnCurrentSeparator) {
    CFieldString::SetSeparator('\x08');
    char seenOnOtherThread = 0;
    std::thread([&] { seenOnOtherThread = CFieldString::CurrentSeparator(); }).join();
    CFieldString::RestoreSeparator();
    EXPECT_EQ(seenOnOtherThread, '|');
}

TEST(FieldStringCountOf, CountsNonOverlappingMultibyteAwareMatches) {
    EXPECT_EQ(CFieldString(GBK("术语|汉意")).CountOf("|"), 1);
    EXPECT_EQ(CFieldString(GBK("帮助")).CountOf("|"), 0);
    EXPECT_EQ(CFieldString("a|b|").CountOf("|"), 2);
    EXPECT_EQ(CFieldString("|||").CountOf("||"), 1);
    EXPECT_EQ(CFieldString("abc").CountOf(""), 0);
    // A "|" that is the trail byte of a double-byte character is not counted.
    EXPECT_EQ(CFieldString("\x81\x7C|").CountOf("|"), 1);
}

TEST(FieldStringDropLastChar, RemovesOneByteInPlace) {
    CFieldString text("a|b|");
    EXPECT_EQ(text.DropLastChar(), "a|b");
    EXPECT_EQ(text, "a|b");
    CFieldString empty;
    EXPECT_EQ(empty.DropLastChar(), "");
}

}  // namespace

#include <gtest/gtest.h>

#include "resources/AccessibleName.h"
#include "resources/DialogTable.h"

namespace {

using res::Kind;

res::Dialog Table(std::vector<res::Control> controls) {
    return res::Dialog{1, "t", 100, 100, "宋体", 9, 0, std::move(controls)};
}

TEST(AccessibleName, TheLabelBeforeAFieldNamesItWithoutItsColon) {
    const res::Dialog dialog = Table({
        {res::kNoId, Kind::kStatic, "输入:", 0, 0, 10, 8},
        {1, Kind::kFramedEdit, "", 10, 0, 50, 12},
        {res::kNoId, Kind::kStatic, "显示 Termix：", 0, 20, 10, 8},
        {2, Kind::kHotkey, "", 10, 20, 50, 12},
        {res::kNoId, Kind::kStatic, "术语", 0, 40, 10, 8},
        {3, Kind::kList, "", 10, 40, 50, 50},
    });
    EXPECT_EQ(res::AccessibleName(dialog, 1), "输入");
    EXPECT_EQ(res::NamingLabel(dialog, 1), 0u);
    EXPECT_EQ(res::AccessibleName(dialog, 3), "显示 Termix");
    EXPECT_EQ(res::AccessibleName(dialog, 5), "术语");
}

TEST(AccessibleName, OnlyAFixedLabelJustBeforeAFieldNamesIt) {
    const res::Dialog dialog = Table({
        {res::kNoId, Kind::kStatic, "输入:", 0, 0, 10, 8},
        {1, Kind::kButton, "查找", 10, 0, 50, 12},  // a button shows its own caption
        {2, Kind::kEdit, "", 10, 20, 50, 12},       // after a button: no label
        {3, Kind::kStatic, "", 0, 30, 10, 8},       // a label with changing text
        {4, Kind::kEdit, "", 10, 30, 50, 12},
        {res::kNoId, Kind::kStatic, "", 0, 40, 10, 8},
        {5, Kind::kEdit, "", 10, 40, 50, 12},
    });
    EXPECT_EQ(res::AccessibleName(dialog, 0), "");
    EXPECT_EQ(res::AccessibleName(dialog, 1), "");
    EXPECT_EQ(res::NamingLabel(dialog, 2), res::kNoLabel);
    EXPECT_EQ(res::AccessibleName(dialog, 2), "");
    EXPECT_EQ(res::AccessibleName(dialog, 4), "");
    EXPECT_EQ(res::AccessibleName(dialog, 6), "");
    EXPECT_EQ(res::AccessibleName(dialog, 7), "");  // past the end
}

TEST(AccessibleName, TheTablesOwnNameComesFirst) {
    const res::Dialog dialog = Table({
        {res::kNoId, Kind::kStatic, "术语:", 0, 0, 10, 8},
        {1, Kind::kList, "", 10, 0, 50, 12, 0, "结果列表"},
        {res::kNoId, Kind::kBitmap, "", 0, 20, 10, 8, 0, "横幅"},
    });
    EXPECT_EQ(res::AccessibleName(dialog, 1), "结果列表");
    EXPECT_EQ(res::AccessibleName(dialog, 2), "横幅");
}

}  // namespace

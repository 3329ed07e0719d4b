#include <gtest/gtest.h>

#include "ui/main/TrayCallback.h"

namespace {

using namespace tray;

TEST(TrayCallback, RightButtonReleaseOpensTheMenuAndDoubleClickShows) {
    EXPECT_EQ(DecideTrayAction(132, 132, kWmRButtonUp, true), TrayAction::kPopupMenu);
    EXPECT_EQ(DecideTrayAction(132, 132, kWmLButtonDblClk, true), TrayAction::kSendDefaultCommand);
}

TEST(TrayCallback, OtherMouseMessagesDoNothing) {
    for (unsigned message : {kWmMouseMove, kWmLButtonDown, kWmLButtonUp, kWmRButtonDown,
                             kWmRButtonDblClk, kWmMButtonDown, kWmMButtonUp, 0u, 0x0400u}) {
        EXPECT_EQ(DecideTrayAction(132, 132, message, true), TrayAction::kNone) << message;
    }
}

TEST(TrayCallback, AnotherIconOrAMissingMenuIsIgnored) {
    for (unsigned message : {kWmRButtonUp, kWmLButtonDblClk, kWmLButtonUp}) {
        EXPECT_EQ(DecideTrayAction(133, 132, message, true), TrayAction::kNone) << message;
        EXPECT_EQ(DecideTrayAction(132, 132, message, false), TrayAction::kNone) << message;
    }
}

}  // namespace

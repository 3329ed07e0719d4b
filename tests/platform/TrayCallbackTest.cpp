#include <gtest/gtest.h>

#include "ui/main/TrayCallback.h"

namespace {

using namespace tray;

TEST(TrayCallback, RightButtonReleaseOpensTheMenuAndDoubleClickShows) {
    EXPECT_EQ(DecideTrayAction(132, 132, kWmRButtonUp, true).action, TrayAction::kPopupMenu);
    EXPECT_EQ(DecideTrayAction(132, 132, kWmRButtonUp, true).result, 1);
    EXPECT_EQ(DecideTrayAction(132, 132, kWmLButtonDblClk, true).action,
              TrayAction::kSendDefaultCommand);
    EXPECT_EQ(DecideTrayAction(132, 132, kWmLButtonDblClk, true).result, 1);
}

TEST(TrayCallback, OtherMouseMessagesAreHandledWithoutAction) {
    for (unsigned message : {kWmMouseMove, kWmLButtonDown, kWmLButtonUp, kWmRButtonDown,
                             kWmRButtonDblClk, kWmMButtonDown, kWmMButtonUp, 0u, 0x0400u}) {
        const TrayDecision decision = DecideTrayAction(132, 132, message, true);
        EXPECT_EQ(decision.action, TrayAction::kNone) << message;
        EXPECT_EQ(decision.result, 1) << message;
    }
}

TEST(TrayCallback, AnotherIconOrAMissingMenuIsIgnored) {
    for (unsigned message : {kWmRButtonUp, kWmLButtonDblClk, kWmLButtonUp}) {
        EXPECT_EQ(DecideTrayAction(133, 132, message, true).result, 0);
        EXPECT_EQ(DecideTrayAction(133, 132, message, true).action, TrayAction::kNone);
        EXPECT_EQ(DecideTrayAction(132, 132, message, false).result, 0);
        EXPECT_EQ(DecideTrayAction(132, 132, message, false).action, TrayAction::kNone);
    }
}

}  // namespace

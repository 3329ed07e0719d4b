#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "controls/SkinButton.h"
#include "resources/ResourceIds.h"
#include "tests/widget/controls/ImageProbe.h"

namespace {

const QColor kHoverFace(225, 225, 225);
const QColor kHoverText(0, 0, 255);
const QColor kNormalText(0, 0, 125);

// A window with a skinned button followed by an edit in the tab order.
class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(300, 120);
        button = new CSkinButton(QStringLiteral("确定 OK"), window.get());
        button->setGeometry(10, 10, 100, 32);
        button->setFocusPolicy(Qt::StrongFocus);
        edit = new QLineEdit(window.get());
        edit->setGeometry(10, 60, 150, 24);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override { QTest::mouseMove(window.get(), QPoint(290, 110)); }

    void Hover() {
        const QPointF inside = button->rect().center();
        QTest::mouseMove(button, inside.toPoint());
        QEnterEvent enter(inside, button->mapTo(window.get(), inside), button->mapToGlobal(inside));
        QApplication::sendEvent(button, &enter);
        ASSERT_TRUE(button->IsHovering());
    }
    QColor Face(const QImage& image) const { return probe::At(image, image.width() / 2, 3); }
    QColor ButtonFace() const {
        return button->palette().color(QPalette::Active, QPalette::Button).rgb();
    }
    QColor Shadow() const {
        return button->palette().color(QPalette::Active, QPalette::Dark).rgb();
    }
    QColor Light() const {
        return button->palette().color(QPalette::Active, QPalette::Light).rgb();
    }

    std::unique_ptr<QWidget> window;
    CSkinButton* button = nullptr;
    QLineEdit* edit = nullptr;
};

TEST_F(SkinButtonTest, FlatUntilThePointerIsOverIt) {
    QImage image = probe::Grab(*button);
    EXPECT_EQ(Face(image), ButtonFace());
    EXPECT_EQ(probe::At(image, 0, 0), ButtonFace());  // no frame
    EXPECT_GT(probe::CountNear(image, kNormalText), 0);
    EXPECT_EQ(probe::CountNear(image, kHoverText, 40), 0);

    Hover();
    image = probe::Grab(*button);
    EXPECT_EQ(Face(image), kHoverFace);
    EXPECT_EQ(probe::At(image, 0, 0), Light());  // raised frame
    EXPECT_EQ(probe::At(image, image.width() - 1, image.height() - 1), Shadow());
    EXPECT_GT(probe::CountNear(image, kHoverText), 0);

    QTest::mouseMove(edit, edit->rect().center());
    EXPECT_FALSE(button->IsHovering());
    image = probe::Grab(*button);
    EXPECT_EQ(Face(image), ButtonFace());
    EXPECT_GT(probe::CountNear(image, kNormalText), 0);
}

TEST_F(SkinButtonTest, PressedShowsASunkenFrameAndMovesTheTextByOnePixel) {
    Hover();
    const QRect hoverText = probe::BoundsNear(probe::Grab(*button), kHoverText);
    button->setDown(true);
    const QImage pressed = probe::Grab(*button);
    button->setDown(false);
    EXPECT_EQ(probe::At(pressed, 0, 0), Shadow());
    EXPECT_EQ(probe::At(pressed, pressed.width() - 1, pressed.height() - 1), Light());
    EXPECT_EQ(Face(pressed), kHoverFace);
    EXPECT_EQ(probe::BoundsNear(pressed, kHoverText), hoverText.translated(1, 1));
}

TEST_F(SkinButtonTest, DisabledTextIsEmbossedAndNeverLightsUp) {
    button->setEnabled(false);
    QTest::mouseMove(button, button->rect().center());
    EXPECT_FALSE(button->IsHovering());
    const QImage image = probe::Grab(*button);
    EXPECT_EQ(Face(image), ButtonFace());
    EXPECT_GT(probe::CountNear(image, Shadow(), 8), 0);
    EXPECT_GT(probe::CountNear(image, Light(), 8), 0);
    EXPECT_EQ(probe::CountNear(image, kNormalText, 40), 0);
}

TEST_F(SkinButtonTest, AFocusedButtonLooksLikeANormalOne) {
    const QImage unfocused = probe::Grab(*button);
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    EXPECT_EQ(probe::Grab(*button), unfocused);
}

TEST_F(SkinButtonTest, DraggingOntoItWithTheLeftButtonHeldDoesNotLightItUp) {
    QTest::mousePress(edit, Qt::LeftButton, {}, edit->rect().center());
    ASSERT_TRUE(QApplication::mouseButtons() & Qt::LeftButton);
    const QPointF inside = button->rect().center();
    QEnterEvent enter(inside, button->mapTo(window.get(), inside), button->mapToGlobal(inside));
    QApplication::sendEvent(button, &enter);
    EXPECT_FALSE(button->IsHovering());
    QTest::mouseRelease(edit, Qt::LeftButton, {}, edit->rect().center());
}

TEST_F(SkinButtonTest, HoverEndsOnFocusLossDisableAndDeactivation) {
    button->setFocus();
    Hover();
    edit->setFocus();
    EXPECT_FALSE(button->IsHovering());

    Hover();
    button->setEnabled(false);
    EXPECT_FALSE(button->IsHovering());
    button->setEnabled(true);

    Hover();
    QWidget other;
    other.resize(50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(button->IsHovering());
}

TEST_F(SkinButtonTest, DisablingTheFocusedButtonMovesTheFocusOn) {
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    button->setEnabled(false);
    EXPECT_TRUE(edit->hasFocus());
}

TEST_F(SkinButtonTest, OwnPointerFromTheCursorResource) {
    EXPECT_EQ(button->SetPointer(res::kCursorHand, true), 0);
    EXPECT_TRUE(button->HasOwnPointer());
    EXPECT_EQ(button->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(button->SetPointer(9999, true), 1);
    EXPECT_FALSE(button->HasOwnPointer());
    EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(button->SetPointer(0, false), 0);
}

TEST_F(SkinButtonTest, TwoQuickClicksAreTwoClicks) {
    QSignalSpy clicks(button, &QPushButton::clicked);
    // press, release, double-click press, release
    const QPoint at = button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
    QTest::mouseDClick(button, Qt::LeftButton, {}, at);
    QTest::mouseRelease(button, Qt::LeftButton, {}, at);
    EXPECT_EQ(clicks.count(), 2);
}

}  // namespace

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <memory>

#include "controls/ColorLabel.h"
#include "controls/FramedEdit.h"
#include "tests/widget/controls/ImageProbe.h"

namespace {

void SendEnter(QWidget* widget) {
    const QPointF inside = widget->rect().center();
    QEnterEvent enter(inside, inside, widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &enter);
}

void SendLeave(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

class SmallControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(400, 200);
    }
    void Show() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    std::unique_ptr<QWidget> window;
};

TEST_F(SmallControlsTest, FramedEditsShowAFlatBorderAndAnOutlineWhileHovered) {
    auto* single = new CFramedEdit(window.get());
    single->setGeometry(10, 10, 200, 24);
    auto* multi = new CFramedTextEdit(window.get());
    multi->setGeometry(10, 50, 200, 40);
    Show();
    const QColor shadow = single->palette().color(QPalette::Active, QPalette::Dark).rgb();
    for (QWidget* edit : {static_cast<QWidget*>(single), static_cast<QWidget*>(multi)}) {
        QImage image = probe::Grab(*edit);
        EXPECT_EQ(probe::At(image, 0, 0), shadow);
        EXPECT_EQ(probe::At(image, image.width() - 1, image.height() / 2), shadow);

        SendEnter(edit);
        image = probe::Grab(*edit);
        EXPECT_EQ(probe::At(image, 0, 0), QColor(Qt::black));
        EXPECT_EQ(probe::At(image, image.width() - 1, image.height() - 1), QColor(Qt::black));

        SendLeave(edit);
        EXPECT_EQ(probe::At(probe::Grab(*edit), 0, 0), shadow);
    }
    EXPECT_FALSE(single->IsHovering());
    EXPECT_FALSE(multi->IsHovering());
}

TEST_F(SmallControlsTest, AColourLabelKeepsItsColoursAndFontAcrossTextChanges) {
    auto* label = new CColorLabel(QStringLiteral("“数据配置”面板"), window.get());
    label->setGeometry(10, 10, 250, 30);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const QColor back(240, 240, 200);
    label->SetLabelColor(QColor(125, 20, 40));
    label->SetBold(true);
    label->SetFontHeight(16);
    label->SetBackColor(back);
    Show();
    EXPECT_EQ(label->LabelFont().pixelSize(), 16);
    EXPECT_EQ(label->LabelFont().weight(), QFont::Bold);

    QImage image = probe::Grab(*label);
    EXPECT_EQ(probe::At(image, 1, 1), back);
    EXPECT_GT(probe::CountNear(image, QColor(125, 20, 40), 16), 0);

    label->setText(QStringLiteral("“操作历史”面板"));
    image = probe::Grab(*label);
    EXPECT_EQ(probe::At(image, image.width() - 2, 1), back);
    const QRect ink = probe::BoundsNear(image, QColor(125, 20, 40), 16);
    EXPECT_GT(ink.height(), 10);  // 16-pixel characters, not the small dialog font
    // Centred: the ink sits in the middle of the label.
    EXPECT_LT(std::abs(ink.center().x() - image.width() / 2), 10);
}

}  // namespace

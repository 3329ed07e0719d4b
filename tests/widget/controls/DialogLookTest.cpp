#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cmath>

#include "controls/DialogBase.h"
#include "resources/MainDialogIds.h"
#include "resources/ResourceIds.h"
#include "resources/TermEditDialogIds.h"

namespace {

// WCAG relative luminance and contrast ratio.
double Luminance(const QColor& color) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}
double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor PixelAt(QWidget& widget, const QPoint& point) {
    return widget.grab().toImage().pixelColor(point);
}

}  // namespace

TEST(DialogLook, GroupBoxesShowTheDialogBackgroundInside) {
    CDialogBase dialog(res::kDialogSettings);
    const QImage picture = dialog.grab().toImage();
    // Inside the first group box, beside its first check box; and between two group boxes.
    const QColor inside = picture.pixelColor(dialog.DluToPixels(140, 20, 0, 0).topLeft());
    const QColor outside = picture.pixelColor(dialog.DluToPixels(50, 48, 0, 0).topLeft());
    EXPECT_EQ(inside, outside);
    EXPECT_EQ(outside, dialog.palette().color(QPalette::Window));
}

TEST(DialogLook, ReadOnlyFieldsLookReadOnlyAndEditableOnesDoNot) {
    CDialogBase editor(res::kDialogTermEdit);
    auto* term = editor.Control<QLineEdit>(termedit_ids::kTermEdit);
    auto* meaning = editor.Control<QLineEdit>(termedit_ids::kMeaningEdit);
    const QPoint free(term->width() - 6, term->height() / 2);
    const QColor termFill = PixelAt(*term, free);
    EXPECT_NE(termFill, PixelAt(*meaning, free));
    EXPECT_EQ(termFill, editor.palette().color(QPalette::Disabled, QPalette::Base));
}

TEST(DialogLook, DisabledFieldsOfTheMainWindowStayLegible) {
    CDialogBase main(res::kDialogMain);
    for (const int id : {main_ids::kTerm, main_ids::kSummary}) {
        QWidget* field = main.GetControl(id);
        ASSERT_FALSE(field->isEnabled());
        const QPalette& colors = field->palette();
        EXPECT_GE(Contrast(colors.color(QPalette::Disabled, QPalette::Text),
                           colors.color(QPalette::Disabled, QPalette::Base)),
                  4.5)
            << id;
    }
}

TEST(DialogLook, TheSummaryBoxKeepsItsTwoLinesClearOfTheBorder) {
    CDialogBase main(res::kDialogMain);
    auto* summary = main.Control<QPlainTextEdit>(main_ids::kSummary);
    summary->setPlainText(QString::fromUtf8("搜索: use case\n结果: 2 个术语 (存在完全匹配的)"));
    main.show();
    const QRect lines = summary->viewport()->geometry();
    const int lineHeight = summary->fontMetrics().lineSpacing();
    EXPECT_GE(lines.height(), 2 * lineHeight);
    // Both lines lie inside the box, with at least one pixel of room below the top outline.
    EXPECT_GE(lines.top(), 2);
    EXPECT_LE(lines.top() + 2 * lineHeight, summary->height());
}

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>

#include "controls/DialogBase.h"
#include "controls/DialogFont.h"
#include "controls/FramedEdit.h"
#include "controls/LinkLabel.h"
#include "controls/SkinButton.h"
#include "controls/SortListCtrl.h"
#include "resources/DialogTable.h"
#include "resources/MainDialogIds.h"
#include "resources/ResourceIds.h"
#include "resources/SettingsDialogIds.h"
#include "util/GbkText.h"

namespace {

// The settings layout with two fields bound, and a hook into its start-up.
class BoundDialog : public CDialogBase {
public:
    BoundDialog() : CDialogBase(res::kDialogSettings) {
        BindText(settings_ids::kStartupTerm, &term);
        BindCheck(settings_ids::kStartupHide, &hide);
    }
    std::string term;
    int hide = 0;
    std::function<void()> onShown;
    std::function<void()> duringStartUp;

protected:
    bool OnInitDialog() override {
        WriteFields();
        if (duringStartUp) {
            duringStartUp();
        }
        if (onShown) {
            QTimer::singleShot(0, this, onShown);
        }
        return true;
    }
};

TEST(DialogTables, EveryDialogHasUniqueIdsInsideItsClientArea) {
    for (const int id : {100, 102, 103, 104, 105, 106}) {
        const res::Dialog& dialog = res::GetDialogTable(id);
        SCOPED_TRACE(id);
        std::set<int> ids;
        for (const res::Control& control : dialog.controls) {
            if (control.id != res::kNoId) {
                EXPECT_TRUE(ids.insert(control.id).second) << control.id;
            }
            EXPECT_GE(control.x, 0);
            EXPECT_LE(control.x + control.w, dialog.w) << control.id;
            EXPECT_LE(control.y + control.h, dialog.h) << control.id;
        }
    }
    EXPECT_THROW(res::GetDialogTable(101), std::out_of_range);
}

TEST(DialogBase, BuildsEachControlKindByIdWithItsObjectName) {
    CDialogBase main(res::kDialogMain);
    EXPECT_NE(main.Control<CFramedEdit>(main_ids::kInput), nullptr);
    EXPECT_NE(main.Control<QPlainTextEdit>(main_ids::kSummary), nullptr);
    EXPECT_FALSE(main.GetControl(main_ids::kSummary)->isEnabled());
    EXPECT_NE(main.Control<QPlainTextEdit>(main_ids::kExplain), nullptr);
    EXPECT_NE(main.Control<CSortListCtrl>(main_ids::kResultList), nullptr);
    EXPECT_NE(main.Control<CLinkLabel>(main_ids::kHomeLink), nullptr);
    EXPECT_EQ(
        main.findChild<CSkinButton*>(QStringLiteral("ctl%1").arg(letter_ids::kLetterM))->text(),
        QStringLiteral("M"));
    EXPECT_EQ(main.GetControl(4711), nullptr);

    CDialogBase about(res::kDialogAbout);
    auto* ok = about.Control<QPushButton>(1);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(qobject_cast<CSkinButton*>(ok), nullptr);  // the about box keeps a plain button
    EXPECT_TRUE(ok->isDefault());
}

TEST(DialogBase, DialogUnitsFollowTheDialogFont) {
    CDialogBase dialog(res::kDialogMain);
    const DialogBaseUnits units = BaseUnitsOf(dialog.font());
    EXPECT_EQ(dialog.DluToPixels(4, 8, 8, 16),
              QRect(units.charWidth, units.charHeight, 2 * units.charWidth, 2 * units.charHeight));
    EXPECT_EQ(dialog.GetControl(main_ids::kInput)->geometry(), dialog.DluToPixels(31, 7, 111, 12));
    EXPECT_EQ(dialog.size(), dialog.DluToPixels(0, 0, 376, 225).size());
    // A Chinese face that is really installed, at the table's size.
    const QFontInfo face(dialog.font());
    EXPECT_EQ(face.pointSize(), 9);
    EXPECT_TRUE(dialog.fontMetrics().inFont(QChar(0x672F)));  // 术
}

TEST(DialogBase, BuildingADialogLeavesTheProgramFontAsItWas) {
    const QFont before = QApplication::font();
    const QFont desktop(QStringLiteral("DejaVu Sans"), 13);
    QApplication::setFont(desktop);
    {
        CDialogBase dialog(res::kDialogMain);
        EXPECT_EQ(QApplication::font(), desktop);
        EXPECT_NE(dialog.font(), desktop);
        // The fields keep the dialog's font, not the one in force while they were made.
        EXPECT_EQ(dialog.GetControl(main_ids::kInput)->font(), dialog.font());
        EXPECT_EQ(dialog.GetControl(main_ids::kExplain)->font(), dialog.font());
    }
    QApplication::setFont(before);
}

TEST(DialogBase, FieldsMoveOnlyThroughReadAndWrite) {
    BoundDialog dialog;
    dialog.term = gbk::FromUtf8("统一建模语言 UML");
    dialog.hide = 1;
    auto* edit = dialog.Control<QLineEdit>(settings_ids::kStartupTerm);
    EXPECT_EQ(edit->text(), QString());  // not yet written
    dialog.WriteFields();
    EXPECT_EQ(edit->text(), QStringLiteral("统一建模语言 UML"));
    EXPECT_TRUE(dialog.Control<QCheckBox>(settings_ids::kStartupHide)->isChecked());

    edit->setText(QStringLiteral("参与者 😀 end"));
    dialog.Control<QCheckBox>(settings_ids::kStartupHide)->setChecked(false);
    EXPECT_EQ(dialog.term, gbk::FromUtf8("统一建模语言 UML"));
    dialog.ReadFields();
    EXPECT_EQ(dialog.term, gbk::FromUtf8("参与者 ? end"));  // what GBK cannot hold becomes "?"
    EXPECT_EQ(dialog.hide, 0);
}

TEST(DialogBase, MultiLineEditsHoldCrLfInTheirFields) {
    CDialogBase dialog(res::kDialogMain);
    std::string explain = gbk::FromUtf8("第一行\r\n第二行\r\n");
    dialog.BindText(main_ids::kExplain, &explain);
    dialog.WriteFields();
    EXPECT_EQ(dialog.Control<QPlainTextEdit>(main_ids::kExplain)->toPlainText(),
              QStringLiteral("第一行\n第二行\n"));
    explain.clear();
    dialog.ReadFields();
    EXPECT_EQ(explain, gbk::FromUtf8("第一行\r\n第二行\r\n"));
}

TEST(DialogBase, EnterAcceptsEscCancelsAndCloseCancels) {
    for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(way);
        BoundDialog dialog;
        dialog.onShown = [&dialog, way] {
            QLineEdit* edit = dialog.Control<QLineEdit>(settings_ids::kStartupTerm);
            edit->setText(QStringLiteral("typed"));
            switch (way) {
                case 0:
                    QTest::keyClick(edit, Qt::Key_Return);
                    break;
                case 1:
                    QTest::keyClick(edit, Qt::Key_Escape);
                    break;
                case 2:
                    dialog.close();
                    break;
                default:
                    dialog.Control<QPushButton>(2)->click();
                    break;
            }
        };
        const int result = dialog.DoModal();
        EXPECT_FALSE(dialog.isVisible());
        if (way == 0) {
            EXPECT_EQ(result, CDialogBase::kIdOk);
            EXPECT_EQ(dialog.term, "typed");  // the accept command reads the fields
        } else {
            EXPECT_EQ(result, CDialogBase::kIdCancel);
            EXPECT_EQ(dialog.term, "");
        }
    }
}

TEST(DialogBase, EndingDuringStartUpEndsTheRunInsteadOfBeingLost) {
    // For example a close request answered while a start-up message box was open.
    BoundDialog dialog;
    dialog.duringStartUp = [&dialog] { dialog.EndDialog(CDialogBase::kIdOk); };
    // Were the request lost, the run would go on until this guard cancels it.
    QTimer::singleShot(2000, &dialog, [&dialog] { dialog.EndDialog(CDialogBase::kIdCancel); });
    EXPECT_EQ(dialog.DoModal(), CDialogBase::kIdOk);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.IsRunning());
}

TEST(DialogBase, StartUpFocusesTheFirstTabStop) {
    BoundDialog dialog;
    QWidget* focused = nullptr;
    dialog.onShown = [&dialog, &focused] {
        focused = dialog.focusWidget();
        dialog.EndDialog(CDialogBase::kIdCancel);
    };
    dialog.DoModal();
    EXPECT_EQ(focused, dialog.GetControl(settings_ids::kStartupHide));
}

}  // namespace

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "../QtGTest.h"
#include "AccessibleTree.h"
#include "controls/LinkLabel.h"
#include "controls/MessageBox.h"
#include "core/ConfGlobal.h"
#include "core/Glossary.h"
#include "core/TermRecord.h"
#include "resources/MainDialogIds.h"
#include "resources/StringTable.h"
#include "tools/render-dialogs/DialogGallery.h"
#include "ui/main/TermixDlg.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace {

// Every window reads its data from one scratch folder with a small glossary (the history store
// keeps the folder it first saw, so the folder serves the whole run).
const QTemporaryDir& ScratchDir() {
    static const QTemporaryDir dir;
    return dir;
}

class AccessibleTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ScratchDir().isValid());
        SetExeDirForTesting(ScratchDir().path().toStdString() + "/");
        ReleaseGlossary();
        CGlossary glossary(
            ScratchDir().filePath(QStringLiteral("Termix") + CGlossary::kFileSuffix).toStdString());
        glossary.Add(CTermRecord("class", gbk::FromUtf8("类"), gbk::FromUtf8("对象的模板。")));
        glossary.Add(CTermRecord("Abstraction", gbk::FromUtf8("抽象"), ""));
        glossary.Save();
        SetMessageBoxHookForTesting([](const std::string&) {});
    }
    void TearDown() override {
        SetMessageBoxHookForTesting(nullptr);
        ReleaseGlossary();
        ReleaseConfGlobal();
    }
};

// Runs `entry`'s window and calls `look` once it is shown and prepared.
void WhileShown(const GalleryEntry& entry, const std::function<void(CDialogBase&)>& look) {
    std::unique_ptr<CDialogBase> dialog = entry.make();
    QTimer::singleShot(0, dialog.get(), [&] {
        if (entry.prepare) {
            entry.prepare(*dialog);
        }
        look(*dialog);
        dialog->EndDialog(CDialogBase::kIdCancel);
    });
    dialog->DoModal();
}

GalleryEntry MainWindowEntry() {
    for (const GalleryEntry& entry : DialogGallery()) {
        if (entry.fileName.startsWith(QStringLiteral("102-"))) {
            return GalleryEntry{entry.fileName, entry.make, nullptr};
        }
    }
    return {};
}

TEST_F(AccessibleTreeTest, EveryWindowNamesEveryControl) {
    for (const GalleryEntry& entry : DialogGallery()) {
        WhileShown(entry, [&entry](CDialogBase& dialog) {
            const QStringList unnamed = accessible_tree::Unnamed(&dialog);
            std::printf("%s: %lld controls, %lld unnamed\n", qPrintable(entry.fileName),
                        static_cast<long long>(accessible_tree::Controls(&dialog).size()),
                        static_cast<long long>(unnamed.size()));
            EXPECT_TRUE(unnamed.isEmpty()) << entry.fileName.toStdString() << ":\n  "
                                           << unnamed.join(QStringLiteral("\n  ")).toStdString();
        });
    }
}

TEST_F(AccessibleTreeTest, MessageBoxNamesEveryControl) {
    SetMessageBoxHookForTesting(nullptr);
    QStringList unnamed;
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll.stop();
        seen = true;
        unnamed = accessible_tree::Unnamed(box);
        std::printf("message box: %lld controls, %lld unnamed\n",
                    static_cast<long long>(accessible_tree::Controls(box).size()),
                    static_cast<long long>(unnamed.size()));
        box->done(0);
    });
    poll.start();
    ShowMessageBoxText(QStringLiteral("出错!"), nullptr);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QStringLiteral("\n  ")).toStdString();
}

TEST_F(AccessibleTreeTest, MainWindowFieldsAreNamedByTheLabelsBesideThem) {
    WhileShown(MainWindowEntry(), [](CDialogBase& dialog) {
        QStringList edits;
        QString list;
        QString link;
        QString banner;
        for (const accessible_tree::Item& item : accessible_tree::Controls(&dialog)) {
            if (item.role == QLatin1String("EditableText")) {
                edits.append(item.name);
            } else if (item.role == QLatin1String("Table")) {
                list = item.name;
            } else if (item.role == QLatin1String("Link")) {
                link = item.name;
            } else if (item.role == QLatin1String("Graphic") && banner.isEmpty()) {
                banner = item.name;
            }
        }
        EXPECT_EQ(edits, (QStringList{"输入", "搜索摘要", "术语", "汉意", "解释", "复制文本"}));
        EXPECT_EQ(list, QStringLiteral("结果列表"));
        EXPECT_EQ(link,
                  QString::fromUtf8("欢迎访问 ") + QString::fromUtf8(res::kGlossarySiteAddress));
        EXPECT_EQ(banner, QString::fromUtf8(res::kBannerName));

        // The label beside the input is reported as its label.
        QAccessibleInterface* input =
            QAccessible::queryAccessibleInterface(dialog.GetControl(main_ids::kInput));
        ASSERT_NE(input, nullptr);
        const auto labels = input->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels.front().first->text(QAccessible::Name), QStringLiteral("输入:"));
    });
}

// The change events themselves need a platform bridge; e2e.screen-reader sees them on the bus.
TEST_F(AccessibleTreeTest, ChangedTextsAreWhatTheScreenReaderReads) {
    WhileShown(MainWindowEntry(), [](CDialogBase& dialog) {
        static_cast<CTermixDlg&>(dialog).SearchKeyword("class");
        const auto textOf = [&dialog](int id) {
            QAccessibleInterface* item =
                QAccessible::queryAccessibleInterface(dialog.GetControl(id));
            QAccessibleTextInterface* text = item != nullptr ? item->textInterface() : nullptr;
            return text != nullptr ? text->text(0, text->characterCount()) : QString();
        };
        EXPECT_TRUE(textOf(main_ids::kSummary).startsWith(QStringLiteral("搜索: class")));
        EXPECT_EQ(textOf(main_ids::kTerm), QStringLiteral("class"));
        EXPECT_EQ(textOf(main_ids::kMeaning), QStringLiteral("类"));
        EXPECT_EQ(textOf(main_ids::kCopyText), QStringLiteral("类(class)"));

        // The count line is a label named by the text it shows, whatever it shows now.
        dialog.SetControlText(main_ids::kCount, gbk::FromUtf8("-- 术语总数: 3 条 --"));
        QAccessibleInterface* count =
            QAccessible::queryAccessibleInterface(dialog.GetControl(main_ids::kCount));
        ASSERT_NE(count, nullptr);
        EXPECT_EQ(count->text(QAccessible::Name), QStringLiteral("-- 术语总数: 3 条 --"));
    });
}

TEST_F(AccessibleTreeTest, TheLinkIsALinkWhoseActionOpensIt) {
    const QString address = QString::fromUtf8(res::kGlossarySiteAddress);
    QStringList opened;
    BrowserLauncher launcher;
    launcher.desktopOpen = [&opened](const QString& url) {
        opened.append(url);
        return true;
    };
    CLinkLabel::SetLauncherForTesting(launcher);
    CLinkLabel link(QStringLiteral("欢迎访问 ") + address);
    link.SetAddress(address);
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(&link);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->role(), QAccessible::Link);
    EXPECT_EQ(item->text(QAccessible::Name), link.text());
    EXPECT_EQ(item->text(QAccessible::Description), address);
    EXPECT_FALSE(item->state().traversed);
    QAccessibleActionInterface* actions = item->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_EQ(actions->actionNames().value(0), QAccessibleActionInterface::pressAction());
    actions->doAction(QAccessibleActionInterface::pressAction());
    TRY_EXPECT_EQ(opened, QStringList{address});
    EXPECT_TRUE(item->state().traversed);
    CLinkLabel::SetLauncherForTesting(BrowserLauncher{});
}

}  // namespace

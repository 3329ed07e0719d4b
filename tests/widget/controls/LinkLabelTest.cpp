#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "controls/LinkLabel.h"
#include "controls/MessageBox.h"
#include "controls/UrlOpener.h"
#include "tests/widget/controls/ImageProbe.h"

namespace {

const QString kAddress = QStringLiteral("https://www.uml.org/");

// A launcher that records what was tried. Programs named in `installed` exist; those named in
// `starting` start.
struct FakeBrowsers {
    bool desktopOpens = false;
    QStringList installed;
    QStringList starting;
    QString browserVariable;
    std::vector<QStringList> started;  // program followed by its arguments

    BrowserLauncher Launcher() {
        BrowserLauncher launcher;
        launcher.desktopOpen = [this](const QString&) { return desktopOpens; };
        launcher.findProgram = [this](const QString& program) {
            return installed.contains(program) ? QStringLiteral("/usr/bin/") + program : QString();
        };
        launcher.startDetached = [this](const QString& program, const QStringList& arguments) {
            started.push_back(QStringList{program} + arguments);
            return starting.contains(program.section(QLatin1Char('/'), -1));
        };
        launcher.environment = [this](const char*) { return browserVariable; };
        return launcher;
    }
};

TEST(UrlOpener, TheDesktopComesFirst) {
    FakeBrowsers browsers;
    browsers.desktopOpens = true;
    browsers.installed = {QStringLiteral("xdg-open")};
    EXPECT_GT(OpenAddress(kAddress, browsers.Launcher()), 32);
    EXPECT_TRUE(browsers.started.empty());
}

TEST(UrlOpener, BrowserCommandsAreTriedInOrderWithTheAddressAsOneArgument) {
    FakeBrowsers browsers;
    browsers.installed = {QStringLiteral("xdg-open"), QStringLiteral("x-www-browser"),
                          QStringLiteral("firefox")};
    browsers.starting = {QStringLiteral("firefox")};
    browsers.browserVariable = QStringLiteral("lynx:firefox --new-tab %s");
    const QString address = QStringLiteral("https://example.org/a b;rm -rf ~");
    EXPECT_EQ(OpenAddress(address, browsers.Launcher()), open_code::kSuccess);
    ASSERT_EQ(browsers.started.size(), 3u);  // lynx is not installed
    EXPECT_EQ(browsers.started[0], (QStringList{"/usr/bin/xdg-open", address}));
    EXPECT_EQ(browsers.started[1], (QStringList{"/usr/bin/x-www-browser", address}));
    EXPECT_EQ(browsers.started[2], (QStringList{"/usr/bin/firefox", "--new-tab", address}));
}

TEST(UrlOpener, FailuresMapToTheirCodes) {
    FakeBrowsers none;
    EXPECT_EQ(OpenAddress(kAddress, none.Launcher()), open_code::kNoAssociation);
    FakeBrowsers broken;
    broken.installed = {QStringLiteral("xdg-open")};
    EXPECT_EQ(OpenAddress(kAddress, broken.Launcher()), open_code::kAccessDenied);
    FakeBrowsers working;
    working.installed = {QStringLiteral("xdg-open")};
    working.starting = working.installed;
    EXPECT_EQ(OpenAddress(QStringLiteral("  "), working.Launcher()), open_code::kFileNotFound);
    EXPECT_TRUE(working.started.empty());
}

TEST(UrlOpener, FailureMessages) {
    EXPECT_EQ(HyperlinkErrorMessage(26),
              "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(HyperlinkErrorMessage(4), "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
    EXPECT_EQ(HyperlinkErrorMessage(31),
              "Unable to open hyperlink:\n\nThere is no application associated\nwith the given "
              "filename extension.");
}

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(500, 100);
        SetMessageBoxHookForTesting([this](const std::string& text) { messages.push_back(text); });
    }
    void TearDown() override {
        SetMessageBoxHookForTesting(nullptr);
        CLinkLabel::SetLauncherForTesting(BrowserLauncher());
    }
    CLinkLabel* MakeLabel(const QString& text, Qt::Alignment align, const QRect& place) {
        auto* label = new CLinkLabel(text, window.get());
        label->setAlignment(align | Qt::AlignTop);
        label->setGeometry(place);
        return label;
    }

    std::unique_ptr<QWidget> window;
    std::vector<std::string> messages;
};

TEST_F(LinkLabelTest, ClicksOpenTheAddressAndColourTheLink) {
    CLinkLabel* label =
        MakeLabel(QStringLiteral("欢迎访问 ") + kAddress, Qt::AlignLeft, QRect(10, 10, 200, 20));
    label->SetAddress(kAddress);
    label->SetUnderlined(false);
    EXPECT_EQ(label->toolTip(), kAddress);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_GT(probe::CountNear(probe::Grab(*label), QColor(0, 0, 238), 30), 0);

    FakeBrowsers browsers;
    browsers.installed = {QStringLiteral("xdg-open")};
    browsers.starting = {QStringLiteral("xdg-open")};
    CLinkLabel::SetLauncherForTesting(browsers.Launcher());
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(label->IsOpened());
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(browsers.started.size(), 1u);
    EXPECT_EQ(browsers.started[0].last(), kAddress);
    QImage image = probe::Grab(*label);
    EXPECT_GT(probe::CountNear(image, QColor(85, 26, 139), 30), 0);
    EXPECT_EQ(probe::CountNear(image, QColor(0, 0, 238), 30), 0);

    // A failed click beeps, reports and returns to the normal colour.
    FakeBrowsers none;
    CLinkLabel::SetLauncherForTesting(none.Launcher());
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(label->IsOpened());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], HyperlinkErrorMessage(open_code::kNoAssociation));
    EXPECT_GT(probe::CountNear(probe::Grab(*label), QColor(0, 0, 238), 30), 0);
}

TEST_F(LinkLabelTest, FitsItselfToItsTextKeepingItsAlignment) {
    const QString text = QStringLiteral("欢迎访问 ") + kAddress;
    CLinkLabel* left = MakeLabel(text, Qt::AlignLeft, QRect(100, 10, 50, 20));
    CLinkLabel* centred = MakeLabel(text, Qt::AlignHCenter, QRect(200, 40, 50, 20));
    left->AdjustToFit();
    centred->AdjustToFit();
    const int width = left->fontMetrics().horizontalAdvance(text);
    EXPECT_EQ(left->geometry().left(), 100);
    EXPECT_EQ(left->width(), width);
    EXPECT_EQ(left->height(), left->fontMetrics().height());
    const int grow = (width - 50) / 2;
    EXPECT_EQ(centred->geometry().left(), 200 - grow);
    EXPECT_EQ(centred->geometry().right(), 249 + grow);
}

}  // namespace

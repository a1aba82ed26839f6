// Where windows open: kept wholly on a screen, centred over the window they belong to, and the
// window a message box of the platform seam belongs to.
#include "core/qt/WindowPlacement.h"
#include "core/qt/QtPlatform.h"

#include "core/testsupport/QtPrinters.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace valdora {
namespace {

const QRect Left(0, 0, 1280, 800);
const QRect Right(1280, 0, 1920, 1080);

struct KeptCase {
    const char* name;
    QRect frame;
    QList<QRect> screens;
    QPoint expected;
};

class KeptOnScreenTest : public ::testing::TestWithParam<KeptCase> {};

TEST_P(KeptOnScreenTest, TheFrameEndsWhollyOnAScreen)
{
    const KeptCase& row = GetParam();
    EXPECT_EQ(keptOnScreen(row.frame, row.screens), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, KeptOnScreenTest,
    ::testing::Values(
        KeptCase{"OnScreenStays", QRect(960, 40, 100, 80), {Left}, QPoint(960, 40)},
        KeptCase{"TitleBarAboveTheScreenComesDown", QRect(0, -20, 100, 80), {Left}, QPoint(0, 0)},
        KeptCase{"LeftOfTheScreenComesIn", QRect(-15, 300, 100, 80), {Left}, QPoint(0, 300)},
        KeptCase{"PastTheBottomRightComesBack", QRect(1250, 790, 100, 80), {Left}, QPoint(1180, 720)},
        KeptCase{"FarOffGoesToTheNearestScreen", QRect(5000, 200, 100, 80), {Left, Right}, QPoint(3100, 200)},
        KeptCase{"AStraddlingFrameStaysOnTheScreenItMostlyCovers",
                 QRect(1250, 100, 100, 80),
                 {Left, Right},
                 QPoint(1280, 100)},
        KeptCase{"OnTheSecondScreenStays", QRect(2000, 900, 100, 80), {Left, Right}, QPoint(2000, 900)},
        KeptCase{"LargerThanTheScreenKeepsItsTitleBarOnIt", QRect(100, 50, 1400, 900), {Left}, QPoint(0, 0)},
        KeptCase{"NoScreensLeaveItAlone", QRect(-40, -40, 100, 80), {}, QPoint(-40, -40)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CentredOverTest, CentresOverTheOwnerAndStaysOnTheScreen)
{
    EXPECT_EQ(centredOver(QSize(200, 100), QRect(400, 300, 400, 300), {Left}), QPoint(500, 400));
    // Over a narrow window in the screen's corner, the box still ends wholly on the screen.
    EXPECT_EQ(centredOver(QSize(400, 100), QRect(0, 0, 100, 60), {Left}), QPoint(0, 0));
}

QRect screenArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

TEST(PlaceOverOwnerTest, AWindowOpensCentredOverItsOwner)
{
    QWidget owner;
    owner.resize(400, 300);
    owner.move(screenArea().topLeft() + QPoint(100, 120));
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner)) << "the owner was not shown within the wait";
    QWidget window;
    window.resize(200, 100);
    placeOverOwner(window, &owner);
    window.show();
    EXPECT_LE((window.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
}

TEST(PlaceOverOwnerTest, AWindowTallerThanTheScreenIsMadeToFitIt)
{
    QWidget window;
    window.resize(300, screenArea().height() + 200);
    placeOverOwner(window, nullptr);
    window.show();
    // The frame comes with the window manager: it is held on the screen once it has come.
    EXPECT_TRUE(QTest::qWaitFor([&] { return screenArea().contains(window.frameGeometry()); }, 2000))
        << window.frameGeometry() << " is not wholly on the screen";
}

TEST(PlaceOverOwnerTest, APlacedFrameStaysWhereItWasPut)
{
    QWidget window;
    window.resize(120, 60);
    placeFrame(window, screenArea().topLeft() + QPoint(300, 200));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    EXPECT_EQ(window.frameGeometry().topLeft(), screenArea().topLeft() + QPoint(300, 200));
}

// The window a message box of the platform seam belongs to -----------------------------------------

struct OwnerCase {
    const char* name;
    bool programWindowShown;
    bool dialogOpen;
    /// "dialog", "program" or "none".
    const char* owner;
};

class MessageOwnerTest : public ::testing::TestWithParam<OwnerCase> {};

TEST_P(MessageOwnerTest, TheBoxBelongsToTheWindowTheUserIsIn)
{
    const OwnerCase& row = GetParam();
    QWidget programWindow;
    programWindow.resize(100, 60);
    programWindow.move(screenArea().topLeft());
    if (row.programWindowShown) {
        programWindow.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&programWindow)) << "not shown within the wait";
    }
    QtPlatform platform(&programWindow);
    QDialog dialog(row.programWindowShown ? &programWindow : nullptr);
    dialog.resize(500, 400);
    dialog.move(screenArea().center() - QPoint(250, 200));
    QWidget* owner = nullptr;
    QPoint boxCentre;
    bool done = false;
    QTimer::singleShot(0, [&] {
        if (row.dialogOpen) {
            // The question comes from the open dialog.
            QTimer::singleShot(0, [&] {
                owner = platform.ownerWindow();
                QTimer::singleShot(0, [&] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                        boxCentre = box->frameGeometry().center();
                        box->accept();
                    }
                });
                platform.showMessage({QStringLiteral("Sure?"), QStringLiteral("Valdora"), MessageButtons::Ok,
                                      MessageIcon::None, 0});
                dialog.accept();
            });
            dialog.exec();
        } else {
            owner = platform.ownerWindow();
        }
        done = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000))
        << "the question was not answered within the wait";
    const QString expected = QString::fromLatin1(row.owner);
    if (expected == QStringLiteral("dialog")) {
        EXPECT_EQ(owner, &dialog);
        EXPECT_LE((boxCentre - dialog.frameGeometry().center()).manhattanLength(), 40)
            << "the message box did not open over the dialog it came from";
    } else if (expected == QStringLiteral("program")) {
        EXPECT_EQ(owner, &programWindow);
    } else {
        EXPECT_EQ(owner, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, MessageOwnerTest,
                         ::testing::Values(OwnerCase{"TheOpenDialog", true, true, "dialog"},
                                           OwnerCase{"TheOpenDialogOfAHiddenProgram", false, true, "dialog"},
                                           OwnerCase{"TheProgramWindowWhileShown", true, false, "program"},
                                           OwnerCase{"NoneWhileTheProgramIsHidden", false, false, "none"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora

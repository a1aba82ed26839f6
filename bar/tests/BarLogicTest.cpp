// The bar's logic without a window: its layout and size, its placement, the button listing, the
// faces read from the files and the settings part of the start.
#include "bar/BarLayout.h"
#include "bar/BarStartup.h"
#include "bar/ButtonListing.h"
#include "bar/SingleInstance.h"
#include "bar/SlotFace.h"

#include "core/UserSockets.h"
#include "core/testsupport/AnotherUser.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <limits>
#include <thread>

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

using namespace BarLayout;

TEST(BarLayoutTest, SizeFollowsTheSlotCountByColumnsOfTwenty)
{
    const struct {
        int slotCount;
        QSize size;
    } cases[] = {{1, {1500, 725}},     {2, {1500, 1075}},    {20, {1500, 7375}},   {21, {2910, 7375}},
                 {40, {2910, 7375}},   {41, {4330, 7375}},   {101, {8590, 7375}},  {120, {8590, 7375}},
                 {121, {10010, 7375}}, {180, {12850, 7375}}, {181, {14270, 7375}}, {400, {14270, 7375}}};
    for (const auto& c : cases)
        EXPECT_EQ(barSize(c.slotCount), c.size) << c.slotCount;
}

TEST(BarLayoutTest, SlotsStandWhereTheyWereDesigned)
{
    const struct {
        int slot;
        QRect fill;
        QRect edit;
    } cases[] = {{0, {30, 40, 1065, 350}, {1155, 40, 230, 350}},
                 {19, {30, 6690, 1065, 350}, {1155, 6690, 230, 350}},
                 {20, {1440, 45, 1065, 350}, {2565, 45, 230, 350}},
                 {42, {2865, 750, 1065, 350}, {3990, 750, 230, 350}},
                 {119, {7110, 6690, 1065, 350}, {8235, 6690, 230, 350}},
                 {120, {8530, 45, 1065, 350}, {9655, 45, 230, 350}}};
    for (const auto& c : cases) {
        EXPECT_EQ(slotRects(c.slot).fill, c.fill) << c.slot;
        EXPECT_EQ(slotRects(c.slot).edit, c.edit) << c.slot;
    }
}

TEST(BarLayoutTest, EverySlotFitsInsideTheContent)
{
    for (const int count : {1, 20, 21, 120, 125, 200, 201, 450}) {
        const QSize content = contentSize(count);
        for (int slot = 0; slot < count; ++slot) {
            const SlotRects rects = slotRects(slot);
            ASSERT_LE(rects.edit.right(), content.width()) << count << " " << slot;
            ASSERT_LE(rects.fill.bottom(), content.height()) << count << " " << slot;
        }
        // Up to ten columns the bar shows them all; past them the content is wider and scrolls.
        EXPECT_EQ(content.width() > clientSize(count).width(), count > 200) << count;
    }
}

TEST(BarLayoutTest, TwipsAndPixels)
{
    EXPECT_EQ(toPixels(1440, 96), 96);
    EXPECT_EQ(toPixels(350, 96), 23);
    EXPECT_EQ(toPixels(1440, 144), 144);
    EXPECT_EQ(toTwips(96, 96), 1440);
}

TEST(BarLayoutTest, StoredPositionAppliesOnlyWhereTheBarStaysOnScreen)
{
    const QSize screen(19200, 14400);
    const QSize bar(1500, 725);
    const struct {
        const char* top;
        const char* left;
        QPoint expected;
    } cases[] = {{"0", "0", {0, 0}},
                 {"1000", "2000", {2000, 1000}},
                 {"20000", "2000", {2000, 0}}, // below the screen: stays at the top edge
                 {"1000", "18000", {0, 1000}}, // past the right edge
                 {"13675", "17700", {0, 0}},   // exactly at the limit is past it
                 {"13674", "17699", {17699, 13674}},
                 {"-300", "-45", {-45, -300}}, // negative values pass
                 {"abc", "", {0, 0}}};
    for (const auto& c : cases)
        EXPECT_EQ(placedPosition(QString::fromLatin1(c.top), QString::fromLatin1(c.left), screen, bar),
                  c.expected)
            << c.top << " " << c.left;
}

class ButtonFolderTest : public ::testing::Test {
protected:
    void SetUp() override { m_folder = m_dir.path() + u'/'; }

    void write(const QString& name, const QByteArray& text)
    {
        QFile file(m_folder + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir m_dir;
    QString m_folder;
    ScriptedPlatform m_platform;
    ErrorReporter m_reporter{m_platform, QStringLiteral("Valdora"), [] { return QString(); }};
    IniLib m_ini{m_reporter};
};

TEST_F(ButtonFolderTest, ListsTheButtonsOfTheOpenDatabaseInNameOrder)
{
    write(QStringLiteral("~102.ini"), "[Settings]\r\nName=Other\r\n_DB=Other.dbf\r\n");
    write(QStringLiteral("~100.ini"), "[Settings]\r\nName=All\r\n");
    write(QStringLiteral("~101.ini"),
          "[Settings]\r\nName=Ours\r\n_DB=Sales.dbf\r\nForeColor=255\r\nFontBold=-1\r\n");
    write(QStringLiteral("valdora.ini"), "[Settings]\r\n");
    write(QStringLiteral("~100.cnt"), " 1 \r\n");
    const ButtonListing listing = Get_Buttons(m_ini, m_folder, QStringLiteral("Sales.dbf"));
    EXPECT_EQ(listing.files, (QStringList{QStringLiteral("~100.ini"), QStringLiteral("~101.ini")}));
    EXPECT_EQ(listing.lastButtonFile, QStringLiteral("~102.ini"));
    // Each listed button's face comes with it, read with its database.
    EXPECT_EQ(listing.faces,
              (QList<SlotFace>{{QStringLiteral("All"), 0, false}, {QStringLiteral("Ours"), 255, true}}));
    EXPECT_TRUE(Get_Buttons(m_ini, m_dir.filePath(QStringLiteral("gone/")), QStringLiteral("Sales.dbf"))
                    .files.isEmpty());
}

TEST_F(ButtonFolderTest, FacesComeFromTheFileAndStylesAreWrittenBack)
{
    write(QStringLiteral("~100.ini"), "[Settings]\r\nName=Fill\r\nForeColor=255\r\nFontBold=-1\r\n");
    write(QStringLiteral("~101.ini"), "[Settings]\r\nName=Plain\r\nForeColor=red\r\n");
    const ButtonFile styled = ButtonFile::inFolder(m_ini, m_folder, QStringLiteral("~100.ini"));
    EXPECT_EQ(faceOf(styled), (SlotFace{QStringLiteral("Fill"), 255, true}));
    EXPECT_EQ(faceOf(ButtonFile::inFolder(m_ini, m_folder, QStringLiteral("~101.ini"))),
              (SlotFace{QStringLiteral("Plain"), 0, false}));
    EXPECT_EQ(faceOf(ButtonFile::inFolder(m_ini, m_folder, QStringLiteral("~109.ini"))), SlotFace{});
    // A file read once gives the face its reads key by key give.
    for (const QString& name :
         {QStringLiteral("~100.ini"), QStringLiteral("~101.ini"), QStringLiteral("~109.ini")})
        EXPECT_EQ(faceOf(ParsedButtonFile(m_ini, m_folder, name)),
                  faceOf(ButtonFile::inFolder(m_ini, m_folder, name)))
            << name.toStdString();

    ASSERT_TRUE(writeBold(styled, false));
    EXPECT_EQ(styled.read(ButtonKey::FontBold), QStringLiteral("0"));
    ASSERT_TRUE(writeBold(styled, true));
    EXPECT_EQ(styled.read(ButtonKey::FontBold), QStringLiteral("-1"));
    ASSERT_TRUE(writeColour(styled, 0x00FF8000));
    EXPECT_EQ(styled.read(ButtonKey::ForeColor), QStringLiteral("16744448"));
}

/// The bar's windows for the settings part of the start: only the upgrade is asked here.
class AnswersUpgrade final : public BarScreens {
public:
    explicit AnswersUpgrade(bool answer) : m_answer(answer) {}
    bool upgradeSettings() override
    {
        ++asked;
        return m_answer;
    }
    void showSplash() override {}
    void closeSplash() override {}
    void chooseLanguage() override {}
    void openEditor(int) override {}
    void showTriggerSyntax(const QString&) override {}
    bool previewRun(const QString&, run::Scope) override { return false; }
    std::optional<bar::RunChoice> chooseRun(const std::vector<bar::ListedRun>&,
                                            std::optional<qint64>) override
    {
        return std::nullopt;
    }
    int asked = 0;

private:
    bool m_answer;
};

TEST(BarStartupTest, UpgradeRunsOnlyForVersionsBeforeButtonFiles)
{
    const struct {
        const char* stored;
        bool upgrades;
    } cases[] = {{"", false}, {"220", true}, {"299", true}, {"300", false}, {"313", false}, {"1000", true}};
    for (const auto& c : cases) {
        test::TemporaryUserSettings store;
        QTemporaryDir program;
        ScriptedPlatform platform;
        ProgramSession session(platform, QStringLiteral("Valdora"), program.path(),
                               UserSettings(store.path()));
        if (*c.stored)
            session.userSettings().set(Application::Valdora, "Settings", "Version",
                                       QString::fromLatin1(c.stored));
        AnswersUpgrade screens(true);
        ASSERT_TRUE(settleSettings(session, screens)) << c.stored;
        EXPECT_EQ(screens.asked, c.upgrades ? 1 : 0) << c.stored;
        EXPECT_EQ(session.userSettings().get(Application::Valdora, "Settings", "Version"), versionText());
        EXPECT_EQ(versionText(), QStringLiteral("313"));
        // The default settings folder is made, with its settings file of one blank line.
        QFile made(program.filePath(QStringLiteral("Settings/valdora.ini")));
        ASSERT_TRUE(made.open(QIODevice::ReadOnly)) << c.stored;
        EXPECT_EQ(made.readAll(), " \r\n");
        EXPECT_EQ(session.settingsFilePath(),
                  QDir(program.path()).filePath(QStringLiteral("Settings/valdora.ini")));
    }
}

TEST(BarStartupTest, CancelledUpgradeEndsWithItsMessageAndKeepsTheOldVersion)
{
    test::TemporaryUserSettings store;
    QTemporaryDir program;
    ScriptedPlatform platform;
    ProgramSession session(platform, QStringLiteral("Valdora"), program.path(), UserSettings(store.path()));
    session.userSettings().set(Application::Valdora, "Settings", "Version", "220");
    AnswersUpgrade screens(false);
    EXPECT_FALSE(settleSettings(session, screens));
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Valdora will now close!")});
    EXPECT_EQ(session.userSettings().get(Application::Valdora, "Settings", "Version"), QStringLiteral("220"));
}

TEST(SingleInstanceTest, OneBarPerStoreAndALockOfACrashedBarIsTakenOver)
{
    QTemporaryDir store;
    {
        // The lock a bar left when it crashed: its process is gone.
        QFile left(QDir(store.path()).filePath(QStringLiteral("Valdora.bar.lock")));
        ASSERT_TRUE(left.open(QIODevice::WriteOnly));
        left.write(QByteArray::number(std::numeric_limits<qint32>::max()) + "\n" +
                   QCoreApplication::applicationName().toUtf8() + "\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
    }
    SingleInstance first(store.path());
    EXPECT_TRUE(first.claim());
    SingleInstance second(store.path());
    EXPECT_FALSE(second.claim());
    QTemporaryDir otherStore;
    SingleInstance elsewhere(otherStore.path());
    EXPECT_TRUE(elsewhere.claim());
    EXPECT_NE(SingleInstance::serverName(store.path()), SingleInstance::serverName(otherStore.path()));
}

TEST(SingleInstanceTest, AnUnsafeSocketFolderIsNamedAndNothingListensOrIsSent)
{
    QTemporaryDir store;
    QTemporaryDir open;
    test::setMode(open.path(), 0755);
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
    const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", previous); });
    const QString expected =
        QStringLiteral(
            "The folder for this user's sockets \"%1\" is open to other users (mode 0755, not 0700)")
            .arg(open.path());
    SingleInstance first(store.path());
    ASSERT_TRUE(first.claim());
    EXPECT_EQ(first.listenProblem(), expected);
    SingleInstance second(store.path());
    ASSERT_FALSE(second.claim());
    EXPECT_EQ(second.askRunningToShow(), SingleInstance::Handover::Refused);
    EXPECT_EQ(second.refusal(), expected);
    EXPECT_TRUE(QDir(open.path()).isEmpty());
}

TEST(SingleInstanceTest, ASquatterOfTheSharedNameNeverHearsFromTheBar)
{
    if (!test::canActAsAnotherUser())
        GTEST_SKIP() << "acting as another user needs root";
    QTemporaryDir store;
    const QString name = SingleInstance::serverName(store.path());
    // Another user takes the name in the shared temporary folder, where the socket used to be.
    test::ForeignServer squatter(QDir::tempPath() + u'/' + name);
    ASSERT_TRUE(squatter.listening());
    SingleInstance first(store.path());
    ASSERT_TRUE(first.claim());
    EXPECT_EQ(first.listenProblem(), QString());
    EXPECT_EQ(fileOwnerId(userSocketPath(name).path), currentUserId());
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    // The later start waits for the answer, which comes on this thread's event loop.
    SingleInstance second(store.path());
    ASSERT_FALSE(second.claim());
    std::atomic<int> handover = -1;
    std::thread asking([&] { handover = static_cast<int>(second.askRunningToShow()); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return handover >= 0; }, 10000)) << "no answer in 10 s";
    asking.join();
    EXPECT_EQ(handover, static_cast<int>(SingleInstance::Handover::Shown));
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(squatter.connections(), 0);
}

TEST(SingleInstanceTest, ASocketOfAnotherUserIsRefusedWithItsMessage)
{
    if (!test::canActAsAnotherUser())
        GTEST_SKIP() << "acting as another user needs root";
    QTemporaryDir store;
    // A bar of this user holds the lock; the socket is another user's.
    QLockFile held(QDir(store.path()).filePath(QStringLiteral("Valdora.bar.lock")));
    ASSERT_TRUE(held.tryLock(0));
    const QString path = userSocketPath(SingleInstance::serverName(store.path())).path;
    test::ForeignServer foreign(path);
    ASSERT_TRUE(foreign.listening());
    SingleInstance second(store.path());
    ASSERT_FALSE(second.claim());
    EXPECT_EQ(second.askRunningToShow(), SingleInstance::Handover::Refused);
    EXPECT_EQ(
        second.refusal(),
        QStringLiteral("The socket \"%1\" belongs to another user (nobody, uid 65534): nothing is sent to it")
            .arg(path));
    EXPECT_EQ(foreign.connectionsThatSent(), 0);
}

TEST(SingleInstanceTest, AClientOfAnotherUserCannotShowTheBar)
{
    if (!test::canActAsAnotherUser())
        GTEST_SKIP() << "acting as another user needs root";
    QTemporaryDir store;
    SingleInstance first(store.path());
    ASSERT_TRUE(first.claim());
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    const test::ForeignVisit visit =
        test::visitAsAnotherUser(userSocketPath(SingleInstance::serverName(store.path())).path, "show\n");
    EXPECT_TRUE(visit.connected);
    EXPECT_TRUE(visit.closed);
    EXPECT_EQ(visit.answer, QByteArray());
    EXPECT_EQ(shown.count(), 0);
}

TEST(SingleInstanceTest, AStoreFolderTheUserCannotWriteIsNoRunningBar)
{
    const valdora::test::ProgramFolderTree tree(0555);
    EXPECT_TRUE(valdora::test::asAnotherUser([&] {
        SingleInstance instance(tree.program());
        return !instance.claim() && instance.storeUnwritable();
    }));
    QTemporaryDir store;
    SingleInstance first(store.path());
    ASSERT_TRUE(first.claim());
    SingleInstance second(store.path());
    EXPECT_FALSE(second.claim());
    EXPECT_FALSE(second.storeUnwritable()) << "a bar holds the lock";
}

} // namespace
} // namespace valdora::bar

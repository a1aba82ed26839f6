#include "run/ProgressWriter.h"
#include "run/RunSummaryText.h"
#include "run/WaitingPlatform.h"

#include "core/testsupport/TestEnvironment.h"

#include <gtest/gtest.h>

namespace valdora::run {
namespace {

TEST(ProgressWriterTest, WritesTheStoreAndTellsTheObserverInOrder)
{
    const test::TemporaryUserSettings folder;
    const UserSettings store(folder.path());
    ProgressWriter progress(store);
    QStringList seen;
    progress.setObserver([&](const QString& key, const QString& value) { seen << key + "=" + value; });

    EXPECT_EQ(progress.status(), QStringLiteral("Off"));
    progress.setStatus(QStringLiteral("On"));
    progress.setStage(-1);
    progress.setStage(-2);
    progress.setTotal(2);
    progress.setStage(ProgressWriter::MemberMissing);

    EXPECT_EQ(seen, QStringList({"Status=On", "Stage=-1", "Stage=-2", "Total=2", "Stage=999999"}));
    EXPECT_EQ(progress.status(), QStringLiteral("On"));
    EXPECT_EQ(store.get(Application::Valdora, "Progress", "Stage"), QStringLiteral("999999"));
    EXPECT_EQ(store.get(Application::Valdora, "Progress", "Total"), QStringLiteral("2"));
}

TEST(ProgressWriterTest, AStoreThatCannotBeWrittenDoesNotStopTheRun)
{
    const test::TemporaryUserSettings folder;
    // A file where the store's folder should be: nothing can be written there.
    const QString blocked = folder.path() + QStringLiteral("/blocked");
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ProgressWriter progress{UserSettings(blocked)};
    int writes = 0;
    progress.setObserver([&](const QString&, const QString&) { ++writes; });
    progress.setStage(3);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(progress.status(), QStringLiteral("Off"));
}

TEST(ProgressWriterTest, PerContactStagesAreThinnedButTheEndIsAlwaysWritten)
{
    const test::TemporaryUserSettings folder;
    ProgressWriter progress{UserSettings(folder.path())};
    progress.setMinimumInterval(60000);
    QStringList seen;
    progress.setObserver([&](const QString& key, const QString& value) { seen << key + "=" + value; });
    for (int contact = 1; contact <= 3; ++contact)
        progress.setContactStage(contact);
    progress.setStage(0);
    EXPECT_EQ(seen, QStringList({"Stage=1", "Stage=0"}));
}

TEST(ProgressWriterTest, StatusIsSetBackToOnAtMostOncePerInterval)
{
    const test::TemporaryUserSettings folder;
    const UserSettings store(folder.path());
    ProgressWriter progress(store);
    QStringList seen;
    progress.setObserver([&](const QString& key, const QString& value) { seen << key + "=" + value; });

    progress.setMinimumInterval(0);
    progress.keepStatusOn(); // absent reads "Off"
    progress.keepStatusOn();
    store.set(Application::Valdora, "Progress", "Status", "Off");
    progress.keepStatusOn();
    EXPECT_EQ(seen, QStringList({"Status=On", "Status=On"}));

    ProgressWriter thinned(store);
    thinned.setMinimumInterval(60000);
    thinned.setObserver([&](const QString& key, const QString& value) { seen << key + "=" + value; });
    store.set(Application::Valdora, "Progress", "Status", "Off");
    thinned.keepStatusOn(); // the first check always reads the store
    store.set(Application::Valdora, "Progress", "Status", "Off");
    thinned.keepStatusOn();
    EXPECT_EQ(seen, QStringList({"Status=On", "Status=On", "Status=On"}));
    EXPECT_EQ(thinned.status(), QStringLiteral("Off"));
}

/// A desktop whose message boxes look at the progress values while they are open, and may open
/// another (as a failure report shown from within a message's handling would).
class PeekingDesktop final : public Platform {
public:
    explicit PeekingDesktop(UserSettings store) : m_store(std::move(store)) {}
    MessageAnswer showMessage(const MessageRequest&) override
    {
        seen << m_store.get(Application::Valdora, QStringLiteral("Progress"), QStringLiteral("Waiting"));
        if (inner) {
            inner = false;
            outer->showMessage({});
        }
        return MessageAnswer::Ok;
    }
    std::optional<QString> askOpenFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> askSaveFile(const FileRequest&) override { return std::nullopt; }
    std::optional<quint32> askColour(quint32) override { return std::nullopt; }
    void setClipboardText(const QString&) override {}
    bool startProgram(const ProgramStart&) override { return true; }
    bool openDocument(const QString&) override { return true; }

    QStringList seen;
    bool inner = false;
    Platform* outer = nullptr;

private:
    UserSettings m_store;
};

TEST(WaitingPlatformTest, TheProgressValuesSayARunWaitsWhileAMessageIsOpen)
{
    const test::TemporaryUserSettings folder;
    const UserSettings store(folder.path());
    PeekingDesktop desktop(store);
    WaitingPlatform platform(desktop, store);
    desktop.outer = &platform;
    EXPECT_EQ(platform.showMessage({}), MessageAnswer::Ok);
    EXPECT_EQ(desktop.seen, QStringList{QStringLiteral("1")});
    EXPECT_EQ(store.get(Application::Valdora, "Progress", "Waiting"), QStringLiteral("0"));

    // A message opened from within another keeps the run waiting until the outer one is answered.
    desktop.seen.clear();
    desktop.inner = true;
    platform.showMessage({});
    EXPECT_EQ(desktop.seen, QStringList({QStringLiteral("1"), QStringLiteral("1")}));
    EXPECT_EQ(store.get(Application::Valdora, "Progress", "Waiting"), QStringLiteral("0"));
}

TEST(RunSummaryTextTest, OneLineTheStoreCanKeepWithHowToUndo)
{
    RunSummary summary;
    summary.inScope = 3;
    summary.written = 1;
    summary.unchanged = 1;
    summary.failed = 1;
    summary.journalRun = 7;
    const QString text = runSummaryText(Messages(), QStringLiteral("Times"), summary);
    EXPECT_EQ(text,
              QStringLiteral("\"Times\": 1 contact written, 1 unchanged, 1 failed. Undo it with \"Undo a "
                             "run...\" in the bar's menu (run 7)."));
    const test::TemporaryUserSettings folder;
    ProgressWriter progress{UserSettings(folder.path())};
    progress.setSummary(text);
    EXPECT_EQ(UserSettings(folder.path()).get(Application::Valdora, "Progress", "Summary"), text)
        << "a line break would keep it out of the store";
}

} // namespace
} // namespace valdora::run

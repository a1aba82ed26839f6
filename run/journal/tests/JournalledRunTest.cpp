// Runs over a real embedded database with the user's run journal: what the journal holds, the undo of
// a run (exactly, fields changed since left alone, locked records listed and undone again, an undo
// undone in turn), and the retry of the contacts whose write failed.
#include "run/ButtonRun.h"
#include "run/journal/RunUndo.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"
#include "host/tests/ContactColumns.h"
#include "host/tests/HostProcess.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::run {
namespace {

const QString User1 = QStringLiteral("User 1");
const QString User2 = QStringLiteral("User 2");

class JournalledRunTest : public ::testing::Test {
protected:
    void open(int contacts)
    {
        m_session = std::make_unique<ProgramSession>(m_platform, QStringLiteral("Valdora"), m_folder.path(),
                                                     UserSettings(m_settings.path()),
                                                     TextLocale(QLocale(QStringLiteral("en_US"))));
        QDir(m_folder.path()).mkpath(QStringLiteral("Settings"));
        m_session->setSettingsFile(m_folder.path() + QStringLiteral("/Settings/valdora.ini"));
        m_path = m_folder.path() + QStringLiteral("/Sample.dbf");
        host::createSampleDatabase(m_path, contacts);
        m_database = host::createDatabase();
        m_database->OpenEx(m_path);
        m_journal =
            std::make_unique<journal::RunJournal>(m_settings.filePath(QStringLiteral("RunJournal.sqlite")));
    }

    void writeButton(const QString& name, const QList<QPair<QString, QString>>& keys)
    {
        const ButtonFile button = ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), name);
        for (const auto& [key, value] : keys)
            ASSERT_TRUE(button.write(key, value)) << key.toStdString();
    }
    /// Numbers every contact's "User 1", whatever it holds.
    void numberButton()
    {
        writeButton(QStringLiteral("~101.ini"), {{"Type", "0"},
                                                 {"Target", User1},
                                                 {"Format", QString(QChar(0xFA))},
                                                 {"AutoIniFile", m_folder.filePath(QStringLiteral("N.num"))},
                                                 {"Over0", "0"},
                                                 {"Over1", "0"},
                                                 {"Over2", "0"},
                                                 {"Over3", "1"}});
    }

    RunSummary run(std::optional<Scope> scope = Scope::AllContacts, qint64 retryOf = 0,
                   const QStringList& contacts = {})
    {
        FixedScopeChooser scopes(scope);
        ButtonRun buttonRun(*m_session, {m_database.get(), nullptr, nullptr},
                            ProgramProfile::valdora(m_session->locale()), &scopes);
        buttonRun.setJournal(m_journal.get());
        if (retryOf != 0)
            buttonRun.setRetry(retryOf, std::vector<host::ContactId>(contacts.begin(), contacts.end()));
        return buttonRun.Process_Button(QStringLiteral("~101.ini"));
    }

    journal::UndoReport undo(qint64 run)
    {
        journal::RunUndo undoer(*m_journal, *m_database);
        return undoer.undo(run, QStringLiteral("Anna"));
    }

    QStringList ids() { return column(QStringLiteral("Unique Id")); }
    QStringList column(const QString& field) { return host::test::fieldOfEveryContact(*m_database, field); }
    void set(const QString& contact, const QString& field, const QString& value)
    {
        ASSERT_EQ(host::test::writeFieldOf(*m_database, contact, field, value), contact);
    }
    void lock(QProcess& holder, const QString& contact)
    {
        ASSERT_TRUE(host::test::startLockHolder(holder, m_path, contact, 120));
    }

    QTemporaryDir m_folder;
    QTemporaryDir m_settings;
    ScriptedPlatform m_platform;
    std::unique_ptr<ProgramSession> m_session;
    QString m_path;
    std::unique_ptr<host::Database> m_database;
    std::unique_ptr<journal::RunJournal> m_journal;
};

TEST_F(JournalledRunTest, UndoRestoresAThousandContactRunExactly)
{
    open(1000);
    numberButton();
    // Half the contacts hold something of their own before the run, the others nothing.
    const QStringList contacts = ids();
    for (qsizetype i = 0; i < contacts.size(); i += 2)
        set(contacts[i], User1, QStringLiteral("before %1").arg(i));
    const QStringList before = column(User1);

    const RunSummary summary = run();
    ASSERT_EQ(summary.written, 1000);
    ASSERT_GT(summary.journalRun, 0);
    const QStringList after = column(User1);
    ASSERT_NE(after, before);

    const std::optional<journal::JournalRun> entry = m_journal->run(summary.journalRun);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->stand, journal::RunStand::Finished);
    EXPECT_EQ(entry->contacts, 1000);
    EXPECT_EQ(entry->info.scope, QStringLiteral("all"));
    EXPECT_EQ(entry->info.database, m_path);
    EXPECT_TRUE(entry->info.numbers);

    const journal::UndoReport report = undo(summary.journalRun);
    EXPECT_EQ(report.contacts, 1000);
    EXPECT_EQ(report.fields, 1000);
    EXPECT_TRUE(report.changedSince.empty());
    EXPECT_TRUE(report.locked.isEmpty());
    EXPECT_TRUE(report.numbers);
    EXPECT_EQ(column(User1), before);
    EXPECT_EQ(m_journal->run(summary.journalRun)->pending, 0);
    // Nothing is left to undo a second time.
    EXPECT_EQ(undo(summary.journalRun).contacts, 0);
    EXPECT_EQ(column(User1), before);
}

TEST_F(JournalledRunTest, FieldChangedSinceTheRunIsLeftAloneAndListed)
{
    open(5);
    numberButton();
    const QStringList contacts = ids();
    const RunSummary summary = run();
    const QString written = column(User1)[2];
    set(contacts[2], User1, QStringLiteral("typed by hand"));

    const journal::UndoReport report = undo(summary.journalRun);
    EXPECT_EQ(report.contacts, 4);
    ASSERT_EQ(report.changedSince.size(), 1u);
    EXPECT_EQ(report.changedSince[0].contact, contacts[2]);
    EXPECT_EQ(report.changedSince[0].field, User1);
    EXPECT_EQ(report.changedSince[0].holds, QStringLiteral("typed by hand"));
    EXPECT_EQ(report.changedSince[0].written, written);
    EXPECT_EQ(column(User1), QStringList({"", "", "typed by hand", "", ""}));
}

TEST_F(JournalledRunTest, UndoOfTheUndoRestoresTheRunsValues)
{
    open(20);
    numberButton();
    const RunSummary summary = run();
    const QStringList after = column(User1);
    const journal::UndoReport first = undo(summary.journalRun);
    EXPECT_EQ(column(User1), QStringList(20, QString()));
    // The undo is the newest run with something to undo.
    ASSERT_EQ(m_journal->lastUndoable(), first.journalId);
    const journal::UndoReport second = undo(first.journalId);
    EXPECT_EQ(second.contacts, 20);
    EXPECT_EQ(column(User1), after);
}

TEST_F(JournalledRunTest, LockedRecordIsListedAndAnotherUndoFinishesIt)
{
    open(4);
    numberButton();
    const QStringList contacts = ids();
    const RunSummary summary = run();
    const QStringList after = column(User1);
    QProcess holder;
    lock(holder, contacts[1]);
    const journal::UndoReport report = undo(summary.journalRun);
    EXPECT_EQ(report.locked, QStringList{contacts[1]});
    EXPECT_EQ(report.contacts, 3);
    EXPECT_EQ(column(User1), QStringList({"", after[1], "", ""}));
    holder.kill();
    holder.waitForFinished();

    const journal::UndoReport again = undo(summary.journalRun);
    EXPECT_EQ(again.contacts, 1);
    EXPECT_TRUE(again.locked.isEmpty());
    EXPECT_EQ(column(User1), QStringList(4, QString()));
}

TEST_F(JournalledRunTest, UndoRefusesARunOfAnotherDatabase)
{
    open(2);
    m_journal->begin({.kind = journal::RunKind::Run,
                      .button = QStringLiteral("~101.ini"),
                      .database = QStringLiteral("/elsewhere/Other.dbf"),
                      .user = QString(),
                      .scope = QStringLiteral("all"),
                      .of = 0,
                      .numbers = false});
    m_journal->addChange(ids()[0], User1, QString(), QStringLiteral("x"));
    m_journal->contactDone();
    m_journal->finish();
    EXPECT_THROW(undo(*m_journal->lastUndoable()), Failure);
}

TEST_F(JournalledRunTest, RetryAfterTheLockIsReleasedWritesTheRemainingContacts)
{
    open(6);
    numberButton();
    const QStringList contacts = ids();
    QProcess holder;
    lock(holder, contacts[3]);
    const RunSummary first = run();
    EXPECT_EQ(first.failed, 1);
    EXPECT_EQ(m_journal->failures(first.journalRun), QStringList{contacts[3]});
    EXPECT_EQ(m_journal->lastWithFailures(), first.journalRun);
    EXPECT_EQ(column(User1)[3], QString());

    // Still held: the retry fails again, and the contact is now listed with the retry.
    const RunSummary stillHeld = run(std::nullopt, first.journalRun, m_journal->failures(first.journalRun));
    EXPECT_EQ(stillHeld.inScope, 1);
    EXPECT_EQ(stillHeld.failed, 1);
    EXPECT_TRUE(m_journal->failures(first.journalRun).isEmpty());
    EXPECT_EQ(m_journal->failures(stillHeld.journalRun), QStringList{contacts[3]});
    EXPECT_EQ(m_journal->run(stillHeld.journalRun)->info.kind, journal::RunKind::Retry);

    holder.kill();
    holder.waitForFinished();
    const RunSummary retry =
        run(std::nullopt, stillHeld.journalRun, m_journal->failures(stillHeld.journalRun));
    EXPECT_EQ(retry.written, 1);
    EXPECT_EQ(retry.failed, 0);
    EXPECT_FALSE(column(User1).contains(QString()));
    EXPECT_FALSE(m_journal->lastWithFailures());
    // The retry is journalled like any run: its contact can be taken back.
    EXPECT_EQ(undo(retry.journalRun).contacts, 1);
    EXPECT_EQ(column(User1)[3], QString());
}

TEST_F(JournalledRunTest, ContactsTheRulesLeaveAsTheyWereAreNotJournalled)
{
    open(4);
    writeButton(QStringLiteral("~101.ini"),
                {{"Type", "4"}, {"Target", User2}, {"NowFormatDate0", "1"}, {"Over0", "1"}, {"Over1", "0"}});
    const QStringList contacts = ids();
    set(contacts[0], User2, QStringLiteral("kept"));
    const RunSummary summary = run();
    EXPECT_EQ(summary.written, 3);
    const std::vector<journal::JournalChange> changes = m_journal->changes(summary.journalRun, false);
    ASSERT_EQ(changes.size(), 3u);
    for (const journal::JournalChange& change : changes) {
        EXPECT_NE(change.contact, contacts[0]);
        EXPECT_EQ(change.oldValue, QString());
        EXPECT_EQ(change.field, User2);
    }
}

TEST_F(JournalledRunTest, RunWithoutAJournalIsNotJournalled)
{
    open(3);
    numberButton();
    m_journal.reset();
    EXPECT_EQ(run().journalRun, 0);
}

} // namespace
} // namespace valdora::run

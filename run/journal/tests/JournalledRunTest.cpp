// Runs over a real embedded database with the user's run journal: what the journal holds, the undo of
// a run (exactly, fields changed since left alone, locked records listed and undone again, an undo
// undone in turn), and the retry of the contacts whose write failed.
#include "run/ButtonRun.h"
#include "run/UndoAndRetry.h"
#include "run/journal/RunUndo.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/EmbeddedDatabase.h"
#include "host/embedded/SampleData.h"
#include "host/tests/ContactColumns.h"
#include "host/tests/HostProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace valdora::run {
namespace {

const QString User1 = QStringLiteral("User 1");
const QString User2 = QStringLiteral("User 2");

/// The user's journal as a run sees it, watched: after each contact's write it checks, from a
/// connection of its own as another process would see the file after a kill, that the old values of
/// that contact are committed; and it can do something between two contacts.
class WatchedJournal final : public journal::JournalWriter {
public:
    WatchedJournal(journal::RunJournal& journal, QString path) : m_journal(journal), m_path(std::move(path))
    {}

    qint64 begin(const journal::RunInfo& info) override { return m_run = m_journal.begin(info); }
    void addChange(const QString& contact, const QString& field, const QString& oldValue,
                   const QString& newValue) override
    {
        m_journal.addChange(contact, field, oldValue, newValue);
        m_contact = contact;
    }
    void writeAhead() override { m_journal.writeAhead(); }
    void contactFailed(const QString& contact) override { m_journal.contactFailed(contact); }
    void contactDone() override
    {
        // The contact was written; its change must be in the file already.
        if (!m_contact.isEmpty()) {
            bool held = false;
            for (const journal::JournalChange& change : journal::RunJournal(m_path).changes(m_run, false))
                held = held || change.contact == m_contact;
            if (!held)
                m_unjournalled << m_contact;
        }
        m_contact.clear();
        m_journal.contactDone();
        ++m_done;
        if (m_betweenContacts)
            m_betweenContacts(m_done);
    }
    void resolveFailures(qint64 run, const QStringList& contacts) override
    {
        m_journal.resolveFailures(run, contacts);
    }
    void finish(const journal::RunEnd& end) override { m_journal.finish(end); }

    /// Called after the n-th contact.
    void setBetweenContacts(std::function<void(int)> call) { m_betweenContacts = std::move(call); }
    /// The contacts that were written while the journal did not hold their old values.
    const QStringList& unjournalled() const { return m_unjournalled; }

private:
    journal::RunJournal& m_journal;
    QString m_path;
    qint64 m_run = 0;
    QString m_contact;
    int m_done = 0;
    QStringList m_unjournalled;
    std::function<void(int)> m_betweenContacts;
};

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
        m_database = std::make_unique<host::embedded::EmbeddedDatabase>(); // one test limits its file
        m_database->OpenEx(m_path);
        m_journal = std::make_unique<journal::RunJournal>(journalPath());
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

    QString journalPath() const { return m_settings.filePath(QStringLiteral("RunJournal.sqlite")); }

    RunSummary run(std::optional<Scope> scope = Scope::AllContacts, qint64 retryOf = 0,
                   const QStringList& contacts = {}, journal::JournalWriter* writer = nullptr)
    {
        FixedScopeChooser scopes(scope);
        ButtonRun buttonRun(*m_session, {m_database.get(), nullptr, nullptr},
                            ProgramProfile::valdora(m_session->locale()), &scopes);
        buttonRun.setJournal(writer ? writer : m_journal.get());
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
    // The run is undone: it is not undone a second time.
    EXPECT_THROW(undo(summary.journalRun), Failure);
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

TEST_F(JournalledRunTest, AnUndoIsNotUndoneAndARunIsUndoneOnce)
{
    open(20);
    numberButton();
    const RunSummary older = run();
    const QStringList afterOlder = column(User1);
    const RunSummary newer = run();
    ASSERT_NE(column(User1), afterOlder);

    // By default the newest run not undone yet.
    ASSERT_EQ(m_journal->lastUndoable(), newer.journalRun);
    const journal::UndoReport first = undo(newer.journalRun);
    EXPECT_EQ(first.contacts, 20);
    EXPECT_TRUE(first.complete());
    EXPECT_EQ(column(User1), afterOlder);
    EXPECT_EQ(m_journal->run(newer.journalRun)->undoneBy, first.journalId);
    EXPECT_EQ(m_journal->run(first.journalId)->info.of, newer.journalRun);

    // The undo itself is not offered, nor the run it took back: next comes the older run.
    EXPECT_EQ(m_journal->lastUndoable(), older.journalRun);
    EXPECT_THROW(undo(first.journalId), Failure);
    EXPECT_THROW(undo(newer.journalRun), Failure);
    EXPECT_EQ(column(User1), afterOlder);

    EXPECT_EQ(undo(older.journalRun).contacts, 20);
    EXPECT_EQ(column(User1), QStringList(20, QString()));
    EXPECT_FALSE(m_journal->lastUndoable());
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

    // The run is not undone while one of its contacts is left: it is offered again.
    EXPECT_FALSE(report.complete());
    EXPECT_EQ(report.contactsLeft(), 1);
    EXPECT_EQ(m_journal->lastUndoable(), summary.journalRun);
    EXPECT_FALSE(m_journal->lastWithFailures()) << "an undo's locked contacts are not retried";

    const journal::UndoReport again = undo(summary.journalRun);
    EXPECT_EQ(again.contacts, 1);
    EXPECT_TRUE(again.locked.isEmpty());
    EXPECT_EQ(column(User1), QStringList(4, QString()));
    EXPECT_EQ(m_journal->run(summary.journalRun)->undoneBy, again.journalId);
    EXPECT_FALSE(m_journal->lastUndoable());
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
    m_journal->writeAhead();
    m_journal->contactDone();
    m_journal->finish({});
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

TEST_F(JournalledRunTest, EveryContactIsInTheJournalBeforeItIsWritten)
{
    open(250);
    numberButton();
    WatchedJournal watched(*m_journal, journalPath());
    const RunSummary summary = run(Scope::AllContacts, 0, {}, &watched);
    ASSERT_EQ(summary.written, 250);
    EXPECT_EQ(watched.unjournalled(), QStringList());
}

TEST_F(JournalledRunTest, JournalThatCannotTakeAChangeStopsTheRunBeforeThatContact)
{
    open(1000);
    numberButton();
    // A few pages more than the file holds now: the journal fills up partway through the run.
    m_journal->limitPages(m_journal->bytesInUse() / 4096 + 6);
    const RunSummary summary = run();
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_GT(summary.written, 0);
    EXPECT_GT(summary.notReached(), 0);

    const std::optional<journal::JournalRun> entry = m_journal->run(summary.journalRun);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->stand, journal::RunStand::Stopped);
    // Every contact written is in the journal, and nothing else was written.
    EXPECT_EQ(entry->contacts, summary.written);
    EXPECT_EQ(1000 - column(User1).count(QString()), summary.written);
    // Said once, with the file and the reason.
    const QStringList full = m_platform.messageTexts().filter(QStringLiteral("database or disk is full"));
    ASSERT_EQ(full.size(), 1) << m_platform.messageTexts().join(u'\n').toStdString();
    EXPECT_TRUE(full[0].contains(journalPath())) << full[0].toStdString();

    // With room again, the undo takes back every contact the run wrote.
    m_journal->limitPages(1 << 30);
    const journal::UndoReport report = undo(summary.journalRun);
    EXPECT_EQ(report.contacts, summary.written);
    EXPECT_TRUE(report.complete());
    EXPECT_EQ(column(User1), QStringList(1000, QString()));
}

TEST_F(JournalledRunTest, StoppedRunKeepsItsFailedAndUnreachedContactsForTheRetry)
{
    open(200);
    numberButton();
    const QString counter = m_folder.filePath(QStringLiteral("N.num"));
    WatchedJournal watched(*m_journal, journalPath());
    // Between the 50th and the 51st contact the counter is spoiled: the run stops at the 51st.
    watched.setBetweenContacts([&](int done) {
        if (done != 50)
            return;
        QFile file(counter);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("spoiled\r\n");
    });
    const RunSummary summary = run(Scope::AllContacts, 0, {}, &watched);
    ASSERT_TRUE(summary.stopped);
    ASSERT_EQ(summary.written, 50);
    ASSERT_EQ(summary.failed, 1);
    ASSERT_EQ(summary.notReached(), 149);

    const std::optional<journal::JournalRun> entry = m_journal->run(summary.journalRun);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->stand, journal::RunStand::Stopped);
    EXPECT_EQ(entry->failures, 1);
    EXPECT_EQ(entry->notReached, 149);
    EXPECT_EQ(m_journal->lastWithFailures(), summary.journalRun);
    // The retry covers exactly the contacts the run did not write.
    const QStringList left = m_journal->failures(summary.journalRun);
    const QStringList contacts = ids();
    const QStringList values = column(User1);
    QStringList empty;
    for (qsizetype i = 0; i < contacts.size(); ++i)
        if (values[i].isEmpty())
            empty << contacts[i];
    EXPECT_EQ(QSet<QString>(left.begin(), left.end()), QSet<QString>(empty.begin(), empty.end()));
    EXPECT_EQ(left.size(), 150);

    QFile repaired(counter);
    ASSERT_TRUE(repaired.open(QIODevice::WriteOnly | QIODevice::Truncate));
    repaired.write("51\r\n");
    repaired.close();
    const RunSummary retry = run(std::nullopt, summary.journalRun, left);
    EXPECT_EQ(retry.written, 150);
    EXPECT_FALSE(retry.stopped);
    EXPECT_FALSE(column(User1).contains(QString()));
    EXPECT_TRUE(m_journal->failures(summary.journalRun).isEmpty());
    EXPECT_FALSE(m_journal->lastWithFailures());
}

TEST_F(JournalledRunTest, UndoOfARunThatDidNotFinishSaysWhatItCouldNotTakeBack)
{
    open(200);
    numberButton();
    WatchedJournal watched(*m_journal, journalPath());
    watched.setBetweenContacts([&](int done) {
        if (done != 20)
            return;
        QFile file(m_folder.filePath(QStringLiteral("N.num")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("spoiled\r\n");
    });
    const RunSummary summary = run(Scope::AllContacts, 0, {}, &watched);
    ASSERT_EQ(summary.written, 20);
    const QString written = ids()[column(User1).indexOf(QStringLiteral("7"))];
    QProcess holder;
    lock(holder, written);

    const journal::UndoReport report = undo(summary.journalRun);
    EXPECT_TRUE(report.runUnfinished);
    EXPECT_EQ(report.contactsLeft(), 1);
    const QString text = undoReportText(report, m_session->messages());
    EXPECT_TRUE(
        text.contains(QStringLiteral("1 contact of run %1 could not be taken back: 1 locked by another "
                                     "user, 0 changed since the run, 0 no longer in the database.")
                          .arg(summary.journalRun)))
        << text.toStdString();
    holder.kill();
    holder.waitForFinished();

    const journal::UndoReport again = undo(summary.journalRun);
    EXPECT_TRUE(again.complete());
    const QString done = undoReportText(again, m_session->messages());
    EXPECT_TRUE(done.contains(QStringLiteral("Run %1 did not finish: every contact it wrote was taken back.")
                                  .arg(summary.journalRun)))
        << done.toStdString();
    EXPECT_EQ(column(User1), QStringList(200, QString()));
}

TEST_F(JournalledRunTest, FullContactDatabaseIsReportedOnceAsItIsAndStopsTheRun)
{
    open(2000);
    numberButton();
    // The contact database cannot grow: as on a full disk, a write that needs a new page fails.
    host::embedded::Connection& connection =
        dynamic_cast<host::embedded::EmbeddedDatabase&>(*m_database).connection();
    // No free pages left in the file either.
    connection.exec("VACUUM;");
    qint64 pages = 0;
    {
        host::embedded::Statement count = connection.prepare("PRAGMA page_count");
        ASSERT_TRUE(count.step());
        pages = count.integer(0);
    }
    const QByteArray limit = "PRAGMA max_page_count = " + QByteArray::number(pages) + ';';
    connection.exec(limit.constData());

    const RunSummary summary = run();
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_GT(summary.notReached(), 0);
    const QStringList messages = m_platform.messageTexts();
    ASSERT_EQ(messages.size(), 1) << messages.join(u'\n').toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("database or disk is full")))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(m_path)) << messages[0].toStdString();
    EXPECT_EQ(m_journal->run(summary.journalRun)->stand, journal::RunStand::Stopped);
}

} // namespace
} // namespace valdora::run

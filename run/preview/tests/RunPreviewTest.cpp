// The preview against the run over a real embedded database: for each scheme and overwrite rule, the
// value the preview shows for every target is the value the run then writes, and the preview leaves
// the database, the counter files, the button files and the progress values as they were.
#include "run/preview/RunPreview.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"
#include "host/tests/ContactColumns.h"
#include "host/tests/HostProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::run {
namespace {

using Keys = QList<QPair<QString, QString>>;

constexpr int Contacts = 12;
const QString User1 = QStringLiteral("User 1");
const QString User2 = QStringLiteral("User 2");

Keys overKeys(int over)
{
    Keys keys;
    for (int i = 0; i < 4; ++i)
        keys += {QStringLiteral("Over%1").arg(i), QString(i == over ? "1" : "0")};
    return keys;
}

struct PreviewCase {
    const char* name;
    /// The button files besides "~101.ini", which is the one run.
    QList<QPair<QString, Keys>> buttons;
};

class RunPreviewTest : public ::testing::TestWithParam<std::tuple<PreviewCase, int>> {
protected:
    RunPreviewTest()
        : m_session(m_platform, QStringLiteral("Valdora"), m_folder.path(), UserSettings(m_settings.path()),
                    TextLocale(QLocale(QStringLiteral("en_US"))))
    {
        QDir(m_folder.path()).mkpath(QStringLiteral("Settings"));
        m_session.setSettingsFile(m_folder.path() + QStringLiteral("/Settings/valdora.ini"));
        m_path = m_folder.path() + QStringLiteral("/Sample.dbf");
        host::createSampleDatabase(m_path, Contacts);
        m_database = host::createDatabase();
        m_database->OpenEx(m_path);
    }

    void writeButton(const QString& name, const Keys& keys)
    {
        const ButtonFile button = ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), name);
        for (const auto& [key, value] : keys)
            ASSERT_TRUE(button.write(key, value)) << key.toStdString();
    }
    QStringList ids() { return column(QStringLiteral("Unique Id")); }
    QStringList column(const QString& field) { return host::test::fieldOfEveryContact(*m_database, field); }
    void set(const QString& contact, const QString& field, const QString& value)
    {
        ASSERT_EQ(host::test::writeFieldOf(*m_database, contact, field, value), contact);
    }
    /// Every file under the program folder and the per-user settings, with its bytes. SQLite's
    /// shared-memory index is left out: every reader marks its reads there, and it holds no data.
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> found;
        for (const QString& root : {m_folder.path(), m_settings.path()}) {
            QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                if (path.endsWith(QStringLiteral("-shm")))
                    continue;
                QFile file(path);
                file.open(QIODevice::ReadOnly);
                found.insert(file.fileName(), file.readAll());
            }
        }
        return found;
    }

    QTemporaryDir m_folder;
    QTemporaryDir m_settings;
    ScriptedPlatform m_platform;
    ProgramSession m_session;
    QString m_path;
    std::unique_ptr<host::Database> m_database;
};

TEST_P(RunPreviewTest, WouldWriteIsWhatTheRunWritesAndNothingChanges)
{
    const auto& [c, over] = GetParam();
    for (const auto& [name, keys] : c.buttons)
        writeButton(name, keys + overKeys(over));
    const QStringList contacts = ids();
    // A third of the targets hold something already, a contact of those twice over.
    for (qsizetype i = 0; i < contacts.size(); i += 3) {
        set(contacts[i], User1, QStringLiteral("had %1").arg(i));
        set(contacts[i], User2, QStringLiteral("%1").arg(i));
    }
    const QMap<QString, QByteArray> before = files();

    FixedScopeChooser scopes(Scope::AllContacts);
    RunPreview preview(m_session, {m_database.get(), nullptr, nullptr},
                       ProgramProfile::valdora(m_session.locale()), &scopes);
    const PreviewResult result = preview.Preview_Button(QStringLiteral("~101.ini"));
    ASSERT_TRUE(result.summary.started);
    ASSERT_FALSE(result.rows.empty());
    EXPECT_TRUE(m_platform.messageTexts().isEmpty());
    EXPECT_TRUE(m_platform.startedPrograms().empty());
    const QMap<QString, QByteArray> after = files();
    EXPECT_EQ(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString() << " changed";

    ButtonRun run(m_session, {m_database.get(), nullptr, nullptr},
                  ProgramProfile::valdora(m_session.locale()), &scopes);
    const RunSummary summary = run.Process_Button(QStringLiteral("~101.ini"));
    EXPECT_EQ(summary.failed, 0);
    EXPECT_EQ(result.counts.wouldWrite, summary.written);
    QMap<QString, QStringList> written;
    for (const QString& field : {User1, User2})
        written.insert(field, column(field));
    for (const PreviewRow& row : result.rows) {
        const qsizetype index = contacts.indexOf(row.id);
        ASSERT_GE(index, 0);
        ASSERT_TRUE(written.contains(row.field)) << row.field.toStdString();
        EXPECT_EQ(row.value, written[row.field][index])
            << c.name << " Over" << over << ": " << row.field.toStdString() << " of contact " << index << " ("
            << previewActionText(row.action).toStdString() << ")";
    }
}

const Keys AutoNumber{{"Type", "0"},
                      {"Target", "User 1"},
                      {"Format", QString(QChar(0xF9)) + "|" + QChar(0xFA)},
                      {"AutoTextValue", "N"}};
const Keys Now{{"Type", "4"}, {"Target", "User 2"}, {"NowFormatDate0", "1"}};

INSTANTIATE_TEST_SUITE_P(
    SchemesAndRules, RunPreviewTest,
    ::testing::Combine(::testing::Values(PreviewCase{"AutoNumber", {{"~101.ini", AutoNumber}}},
                                         PreviewCase{"Now", {{"~101.ini", Now}}},
                                         PreviewCase{"Combo",
                                                     {{"~102.ini", AutoNumber},
                                                      {"~103.ini", Now},
                                                      {"~101.ini",
                                                       {{"Type", "5"},
                                                        {"Button0", "1"},
                                                        {"ButtonName0", "~102.ini"},
                                                        {"Button1", "1"},
                                                        {"ButtonName1", "~103.ini"}}}}}),
                       ::testing::Values(0, 1, 2, 3)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + "Over" + std::to_string(std::get<1>(info.param));
    });

class RunPreviewLockTest : public RunPreviewTest {};

TEST_F(RunPreviewLockTest, ContactHeldNowIsShownLockedAndUsesNoNumber)
{
    writeButton(QStringLiteral("~101.ini"), AutoNumber + overKeys(3));
    const QStringList contacts = ids();
    QProcess holder;
    ASSERT_TRUE(host::test::startLockHolder(holder, m_path, contacts[0], 60));
    FixedScopeChooser scopes(Scope::AllContacts);
    RunPreview preview(m_session, {m_database.get(), nullptr, nullptr},
                       ProgramProfile::valdora(m_session.locale()), &scopes);
    const PreviewResult result = preview.Preview_Button(QStringLiteral("~101.ini"));
    holder.kill();
    EXPECT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";
    ASSERT_EQ(result.rows.size(), static_cast<std::size_t>(Contacts));
    EXPECT_EQ(result.rows[0].action, PreviewAction::Locked);
    EXPECT_EQ(result.counts.lockedNow, 1);
    EXPECT_EQ(result.counts.wouldWrite, Contacts - 1);
    // The number the locked contact would not use goes to the next one.
    EXPECT_EQ(result.rows[1].value, QStringLiteral("N-1"));
}

} // namespace
} // namespace valdora::run

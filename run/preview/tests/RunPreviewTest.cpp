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

#include <algorithm>

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

/// A sample database of its own, with a program folder and per-user settings.
class PreviewDatabaseTest : public ::testing::Test {
protected:
    PreviewDatabaseTest()
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

class RunPreviewTest : public PreviewDatabaseTest,
                       public ::testing::WithParamInterface<std::tuple<PreviewCase, int>> {};

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

/// Names given to contacts (by their place in the sample) before a preview, and how many sample
/// contacts are added first.
struct OrderCase {
    const char* name;
    int added;
    QList<std::tuple<int, QString, QString>> names; ///< contact, company, contact name
};

class RunPreviewOrderTest : public PreviewDatabaseTest, public ::testing::WithParamInterface<OrderCase> {};

// The rows come in the order of all contacts (company, then contact name, without regard to case, then
// the unique id), and an AutoNumber hands out its numbers in that order.
TEST_P(RunPreviewOrderTest, RowsComeInTheOrderOfAllContacts)
{
    const OrderCase& c = GetParam();
    if (c.added > 0)
        host::addSampleContacts(m_path, c.added);
    const QStringList sample = ids();
    for (const auto& [index, company, contact] : c.names) {
        set(sample[index], QStringLiteral("Company"), company);
        set(sample[index], QStringLiteral("Contact"), contact);
    }
    struct Named {
        QString company;
        QString contact;
        QString id;
    };
    std::vector<Named> expected;
    const QStringList companies = column(QStringLiteral("Company"));
    const QStringList contacts = column(QStringLiteral("Contact"));
    const QStringList now = ids();
    for (qsizetype i = 0; i < now.size(); ++i)
        expected.push_back({companies[i], contacts[i], now[i]});
    std::sort(expected.begin(), expected.end(), [](const Named& left, const Named& right) {
        if (const int k = left.company.compare(right.company, Qt::CaseInsensitive))
            return k < 0;
        if (const int k = left.contact.compare(right.contact, Qt::CaseInsensitive))
            return k < 0;
        return left.id < right.id;
    });
    writeButton(QStringLiteral("~101.ini"), AutoNumber + overKeys(3));

    FixedScopeChooser scopes(Scope::AllContacts);
    RunPreview preview(m_session, {m_database.get(), nullptr, nullptr},
                       ProgramProfile::valdora(m_session.locale()), &scopes);
    const PreviewResult result = preview.Preview_Button(QStringLiteral("~101.ini"));
    ASSERT_EQ(result.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const PreviewRow& row = result.rows[i];
        EXPECT_EQ(row.id, expected[i].id) << "row " << i;
        EXPECT_EQ(row.company, expected[i].company) << "row " << i;
        EXPECT_EQ(row.contact, expected[i].contact) << "row " << i;
        EXPECT_EQ(row.value, QStringLiteral("N-%1").arg(i + 1)) << "row " << i;
        // Rows of one company share its name rather than each holding a copy.
        if (i > 0 && row.company == result.rows[i - 1].company) {
            EXPECT_EQ(row.company.constData(), result.rows[i - 1].company.constData()) << "row " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, RunPreviewOrderTest,
    ::testing::Values(
        OrderCase{"Sample", 0, {}},
        OrderCase{"TiesByUniqueId",
                  0,
                  {{0, "Acme", "anna"}, {1, "ACME", "Anna"}, {2, "acme", "ANNA"}, {3, "Acme", "Bob"}}},
        OrderCase{"EmptyNamesFirst", 0, {{4, "", "Zoe"}, {5, "", ""}, {6, "Acme", ""}, {7, "", "anna"}}},
        OrderCase{"AccentsAndCase", 0, {{8, "École", "x"}, {9, "ecole", "x"}, {10, "Ezra", "x"}}},
        OrderCase{"MoreThanAScreenful", 48, {{30, "", "Last"}, {50, "zzz", "First"}}}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return info.param.name; });

class RunPreviewLockTest : public PreviewDatabaseTest {};

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

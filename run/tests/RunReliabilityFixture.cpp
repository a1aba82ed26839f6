#include "RunReliabilityFixture.h"

#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"
#include "run/ProgramStartup.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

namespace valdora::run::test {

void RunReliabilityTest::useContacts(int contacts)
{
    ASSERT_TRUE(QFile::remove(m_database));
    host::createSampleDatabase(m_database, contacts);
}

void RunReliabilityTest::autoNumberButton(const QString& name, const QString& counterFile,
                                          const QString& over)
{
    writeButton(name, {{"Type", "0"},
                       {"Target", "User 1"},
                       {"Format", CounterMarker},
                       {"AutoIniFile", counterFile},
                       {"Over0", over == "Over0" ? "1" : "0"},
                       {"Over1", "0"},
                       {"Over2", "0"},
                       {"Over3", over == "Over3" ? "1" : "0"}});
}

QStringList RunReliabilityTest::contactIds() const
{
    return column(QStringLiteral("Unique Id"));
}

RunSummary RunReliabilityTest::runOnScreen(const QString& button,
                                           std::function<bool(const RunMember&)> confirm)
{
    const StartupHost objects = openHostObjects({&host::createApplication, &host::createDatabase});
    ButtonRun buttonRun(*m_session, {objects.database.get(), nullptr, objects.view.get()},
                        ProgramProfile::valdoraAuto(m_session->locale()));
    if (confirm)
        buttonRun.setConfirmWrite(std::move(confirm));
    return buttonRun.Process_Button(button);
}

QString RunReliabilityTest::integrity() const
{
    sqlite3* handle = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(QFile::encodeName(m_database).constData(), &handle, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(handle, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
            sqlite3_step(check) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
        sqlite3_finalize(check);
    }
    sqlite3_close(handle);
    return result;
}

QStringList RunReliabilityTest::temporariesIn(const QString& folder)
{
    QStringList found;
    const QStringList hidden = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : hidden) {
        if (name.startsWith(u'.') && !name.endsWith(QStringLiteral(".lock")))
            found << name;
    }
    return found;
}

} // namespace valdora::run::test

#pragma once

#include "core/testsupport/ScriptedPlatform.h"
#include "host/tests/RunningHostFixture.h"
#include "run/ButtonRun.h"
#include "settings/ProgramSession.h"

#include <QProcess>
#include <QStringList>

#include <functional>
#include <memory>

namespace valdora::run::test {

using Keys = QList<QPair<QString, QString>>;

/// The AutoNumber counter marker of a button's format.
inline const QString CounterMarker = QString(QChar(0xFA));

/// Valdora.exe --run as a user's script runs it, beside a running headless host on a database of a
/// chosen size: its own process, the program folder and per-user settings of the test.
class RunReliabilityTest : public valdora::test::RunningHostTest {
protected:
    void SetUp() override;

    /// Replaces the sample database by one of `contacts` sample contacts (before startHost).
    void useContacts(int contacts);
    void writeButton(const QString& name, const Keys& keys);
    /// An AutoNumber button of the bare counter into "User 1" with a counter file and an overwrite
    /// mode ("Over0" fill only empty, "Over3" always).
    void autoNumberButton(const QString& name, const QString& counterFile, const QString& over);

    /// Valdora.exe with these arguments, started (not waited for).
    std::unique_ptr<QProcess> startValdora(const QStringList& arguments) const;
    /// Valdora.exe with these arguments, to its end.
    valdora::test::CommandResult valdora(const QStringList& arguments) const;

    /// The ids of every contact in the default sort.
    QStringList contactIds() const;
    /// ValdoraAuto's run of a button on the contact on screen of the running host; `confirm` answers
    /// its confirmation screen.
    RunSummary runOnScreen(const QString& button, std::function<bool(const RunMember&)> confirm = {});

    /// A field of every contact in the default sort, read from the database file.
    QStringList column(const QString& field) const;
    /// SQLite's own integrity check of the database file: "ok" when sound.
    QString integrity() const;
    /// Hidden temporaries of an atomic replace left in a folder (lock companions are not such).
    static QStringList temporariesIn(const QString& folder);

    ScriptedPlatform m_platform;
    QString m_program;
    std::unique_ptr<ProgramSession> m_session;
};

} // namespace valdora::run::test

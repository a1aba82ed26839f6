#pragma once

#include "ProgramOnHostFixture.h"

#include "run/ButtonRun.h"

#include <QStringList>

#include <functional>

namespace valdora::run::test {

/// The AutoNumber counter marker of a button's format.
inline const QString CounterMarker = QString(QChar(0xFA));

/// Valdora.exe --run as a user's script runs it, beside a running headless host on a database of a
/// chosen size: its own process, the program folder and per-user settings of the test.
class RunReliabilityTest : public ProgramOnHostTest {
protected:
    /// Replaces the sample database by one of `contacts` sample contacts (before startHost).
    void useContacts(int contacts);
    /// An AutoNumber button of the bare counter into "User 1" with a counter file and an overwrite
    /// mode ("Over0" fill only empty, "Over3" always).
    void autoNumberButton(const QString& name, const QString& counterFile, const QString& over);

    /// The ids of every contact in the default sort.
    QStringList contactIds() const;
    /// ValdoraAuto's run of a button on the contact on screen of the running host; `confirm` answers
    /// its confirmation screen.
    RunSummary runOnScreen(const QString& button, std::function<bool(const RunMember&)> confirm = {});
    /// SQLite's own integrity check of the database file: "ok" when sound.
    QString integrity() const;
    /// Hidden temporaries of an atomic replace left in a folder (lock companions are not such).
    static QStringList temporariesIn(const QString& folder);
};

} // namespace valdora::run::test

#pragma once

#include <QString>
#include <QStringList>

namespace valdora {

/// ValdoraAuto's command line, both ways: the arguments with which Valdora hands it a button and the
/// run list it reads from its argument text. The trigger texts that make the host start it are
/// written by triggers/TriggerText.h.
namespace AutoCommandLine {

/// ValdoraAuto.exe in a program folder (given without a trailing separator): ValdoraAuto lies beside
/// the program that starts it or writes a trigger for it.
QString programPath(const QString& programFolder);

/// The arguments that hand one button to ValdoraAuto for the contact on screen: "*" and the button's
/// file name in one argument ("*~100.ini"), the direct mode.
QStringList directModeArguments(const QString& buttonFileName);

/// The argument text as the command line held it, from the arguments the program was given: they
/// are joined by single blanks and the blanks that followed the program are dropped; blanks inside
/// the text are kept.
QString argumentText(const QStringList& arguments);

/// What an argument text asks ValdoraAuto to run.
struct RunList {
    /// The text began with "*": complete file names follow, and no warning screen is shown.
    bool directMode = false;
    /// The entries in order. An entry that no character reached is empty and runs nothing; blanks
    /// are part of an entry ("~100, ~101" gives "~100" and " ~101").
    QStringList entries;

    /// The button file an entry names: the entry itself in direct mode, else the entry and ".ini";
    /// empty for an empty entry.
    QString buttonFileName(qsizetype index) const;

    friend bool operator==(const RunList&, const RunList&) = default;
};

/// Reads an argument text character by character: a leading "*" turns the direct mode on, each ","
/// moves on to the next entry, every other character is appended to the current one. A final ","
/// adds nothing; an empty text gives no entries.
RunList parseArgumentText(const QString& text);

} // namespace AutoCommandLine

} // namespace valdora

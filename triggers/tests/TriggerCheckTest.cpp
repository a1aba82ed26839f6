#include "FakeFields.h"
#include "ScriptedQuestions.h"

#include "triggers/TriggerCheck.h"
#include "triggers/TriggerCreation.h"

#include "core/testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace valdora::triggers::test {
namespace {

const QString Folder = QStringLiteral("/opt/Keelbrook");
const QString Buttons = QStringLiteral("/opt/Keelbrook/ValdoraAuto.exe ~100");
const QString Queue = QStringLiteral("/opt/Keelbrook/ValdoraAuto.exe ~100,~101");
const QString Macro = QStringLiteral("/home/u/macros/fill.mpr");

const QString OverwriteButtons = QStringLiteral("One or more Valdora buttons are already set to be triggered "
                                                "by this field.\r\nDo you want to overwrite?");
QString overwriteOther(const QString& text)
{
    return "A program or macro (" + text +
           ") is already set to be triggered by this field.\r\nDo you want to overwrite";
}
const QString AlreadyQueued = QStringLiteral("This button is already set to be triggered by this field!");

enum class Asked { Nothing, OverwriteButtons, OverwriteOther, AlreadyQueued, ConflictWindow };

struct CheckRow {
    const char* name;
    QString current;
    TriggerTarget target;
    bool yes;
    CheckResult conflictChoice;
    CheckCase found;
    Asked asked;
    CheckResult result;
};

TriggerTarget program(const QString& path)
{
    return TriggerTarget::programOrMacro(path);
}
TriggerTarget button(const char* identifier)
{
    return TriggerTarget::button(QString::fromLatin1(identifier));
}

class CheckTableTest : public ::testing::TestWithParam<CheckRow> {};

TEST_P(CheckTableTest, DecidesAndAsksAsItsRowSays)
{
    const CheckRow& row = GetParam();
    EXPECT_EQ(checkCase(row.current, row.target, Folder), row.found);

    ScriptedQuestions questions;
    questions.yes = row.yes;
    questions.conflictChoice = row.conflictChoice;
    KeelbrookTrace trace;
    EXPECT_EQ(check_trigger(7, row.current, row.target, Folder, questions, trace), row.result);
    EXPECT_EQ(trace.path(), u"check_trigger(7)/");

    const QStringList expectedQuestion = row.asked == Asked::OverwriteButtons ? QStringList{OverwriteButtons}
                                         : row.asked == Asked::OverwriteOther
                                             ? QStringList{overwriteOther(row.current)}
                                             : QStringList{};
    EXPECT_EQ(questions.asked, expectedQuestion);
    EXPECT_EQ(questions.told, row.asked == Asked::AlreadyQueued ? QStringList{AlreadyQueued} : QStringList{});
    EXPECT_EQ(questions.conflictWindows, row.asked == Asked::ConflictWindow ? 1 : 0);
}

constexpr auto N = CheckResult::Nothing;
constexpr auto Q = CheckResult::Queue;
constexpr auto W = CheckResult::Write;

INSTANTIATE_TEST_SUITE_P(
    Triggers, CheckTableTest,
    ::testing::Values(
        // Empty: whatever is chosen is written.
        CheckRow{"EmptyThenProgram", "", program(Macro), false, N, CheckCase::Empty, Asked::Nothing, W},
        CheckRow{"EmptyThenButton", "", button("~100"), false, N, CheckCase::Empty, Asked::Nothing, W},
        // Buttons queued, a program chosen: Yes overwrites, No keeps them.
        CheckRow{"ButtonsThenProgramYes", Buttons, program(Macro), true, N, CheckCase::ButtonsBeforeProgram,
                 Asked::OverwriteButtons, W},
        CheckRow{"ButtonsThenProgramNo", Buttons, program(Macro), false, N, CheckCase::ButtonsBeforeProgram,
                 Asked::OverwriteButtons, N},
        // The chosen button is there already.
        CheckRow{"SameButton", Buttons, button("~100"), true, W, CheckCase::ButtonAlreadyQueued,
                 Asked::AlreadyQueued, N},
        CheckRow{"SameButtonLastInQueue", Queue, button("~101"), true, W, CheckCase::ButtonAlreadyQueued,
                 Asked::AlreadyQueued, N},
        // Other buttons there: the conflict window's choice is the result.
        CheckRow{"OtherButtonAddToQueue", Buttons, button("~101"), false, Q, CheckCase::OtherButtonsQueued,
                 Asked::ConflictWindow, Q},
        CheckRow{"OtherButtonOverwrite", Buttons, button("~101"), false, W, CheckCase::OtherButtonsQueued,
                 Asked::ConflictWindow, W},
        CheckRow{"OtherButtonCancel", Buttons, button("~101"), true, N, CheckCase::OtherButtonsQueued,
                 Asked::ConflictWindow, N},
        CheckRow{"LongerIdentifierQueued", "/opt/Keelbrook/ValdoraAuto.exe ~1000", button("~100"), false, Q,
                 CheckCase::OtherButtonsQueued, Asked::ConflictWindow, Q},
        // Any other text: Yes overwrites, No keeps it.
        CheckRow{"MacroThenButtonYes", Macro, button("~100"), true, N, CheckCase::OtherText,
                 Asked::OverwriteOther, W},
        CheckRow{"MacroThenButtonNo", Macro, button("~100"), false, Q, CheckCase::OtherText,
                 Asked::OverwriteOther, N},
        CheckRow{"MacroThenProgramYes", Macro, program("/usr/bin/tool.exe"), true, N, CheckCase::OtherText,
                 Asked::OverwriteOther, W},
        CheckRow{"MacroThenProgramNo", Macro, program("/usr/bin/tool.exe"), false, N, CheckCase::OtherText,
                 Asked::OverwriteOther, N},
        // Buttons of another folder, or in other letters, are not recognised as buttons here.
        CheckRow{"ButtonsOfAnotherFolder", "/usr/x/ValdoraAuto.exe ~100", button("~100"), false, N,
                 CheckCase::OtherText, Asked::OverwriteOther, N},
        CheckRow{"ButtonsInCapitals", "/opt/Keelbrook/VALDORAAUTO.EXE ~100", button("~100"), true, N,
                 CheckCase::OtherText, Asked::OverwriteOther, W}),
    [](const auto& info) { return info.param.name; });

struct RefusalRow {
    const char* name;
    AddChoices choices;
    QString refusal;
};

const QString Hint = QStringLiteral("Click the browse button to select a program or macro...");
const QString SelectField = QStringLiteral("You need to select a field!");
const QString SelectTarget = QStringLiteral("You need to select a program or a Valdora button!");

class RefusalTest : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(RefusalTest, CreateNeedsAFieldAndWhatTheChosenOptionNames)
{
    const std::optional<QString> refusal = refusalOf(GetParam().choices, Hint);
    EXPECT_EQ(refusal.value_or(QString()), GetParam().refusal);
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, RefusalTest,
    ::testing::Values(
        RefusalRow{"RightAfterOpening", {0, TriggerKind::Exit, true, Hint, -1}, SelectTarget},
        RefusalRow{"NoField", {-1, TriggerKind::Exit, true, Macro, 0}, SelectField},
        RefusalRow{"EmptyProgramBox", {0, TriggerKind::Exit, true, "", -1}, SelectTarget},
        RefusalRow{"Program", {0, TriggerKind::Entry, true, Macro, -1}, ""},
        RefusalRow{"Button", {0, TriggerKind::Entry, false, Hint, 2}, ""},
        RefusalRow{"ButtonOptionWithoutButton", {0, TriggerKind::Entry, false, Macro, -1}, SelectTarget},
        // A button picked earlier does not make the hint a program to write.
        RefusalRow{"ProgramOptionWithHintAndAButton", {0, TriggerKind::Entry, true, Hint, 1}, SelectTarget}),
    [](const auto& info) { return info.param.name; });

struct CreationRow {
    const char* name;
    QString current;
    TriggerTarget target;
    bool yes;
    CheckResult conflictChoice;
    QString written; // "" when nothing is written
};

class CreationTest : public ::testing::TestWithParam<CreationRow> {};

TEST_P(CreationTest, WritesWhatTheCheckDecides)
{
    const CreationRow& row = GetParam();
    for (const TriggerKind kind : {TriggerKind::Entry, TriggerKind::Exit}) {
        FakeFields fields;
        fields.add(30, 1, QStringLiteral("Phone"));
        writeTrigger(fields, 30, kind, row.current);
        const QString other = QStringLiteral("other kind");
        writeTrigger(fields, 30, kind == TriggerKind::Entry ? TriggerKind::Exit : TriggerKind::Entry, other);
        ScriptedQuestions questions;
        questions.yes = row.yes;
        questions.conflictChoice = row.conflictChoice;
        KeelbrookTrace trace;

        const std::optional<RememberedTrigger> created =
            createTrigger(fields, 30, kind, row.target, Folder, questions, trace);

        const QString expected = row.written.isEmpty() ? row.current : row.written;
        EXPECT_EQ(readTrigger(fields, 30, kind), expected);
        EXPECT_EQ(
            readTrigger(fields, 30, kind == TriggerKind::Entry ? TriggerKind::Exit : TriggerKind::Entry),
            other);
        const std::optional<RememberedTrigger> expectedTrigger =
            row.written.isEmpty() ? std::nullopt : std::optional(RememberedTrigger{30, kind, row.written});
        EXPECT_EQ(created, expectedTrigger);
        EXPECT_EQ(trace.currently(), row.written.isEmpty() ? 2 : 3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, CreationTest,
    ::testing::Values(CreationRow{"FirstButton", "", button("~100"), false, N, Buttons},
                      CreationRow{"AddToQueue", Buttons, button("~101"), false, Q, Queue},
                      CreationRow{"Overwrite", Buttons, button("~101"), false, W,
                                  "/opt/Keelbrook/ValdoraAuto.exe ~101"},
                      CreationRow{"Cancel", Buttons, button("~101"), true, N, ""},
                      CreationRow{"AlreadyQueued", Queue, button("~100"), true, Q, ""},
                      CreationRow{"ProgramOverButtons", Buttons, program(Macro), true, N, Macro},
                      CreationRow{"ButtonOverMacroDeclined", Macro, button("~100"), false, N, ""},
                      CreationRow{"ButtonOverMacro", Macro, button("~100"), true, N, Buttons},
                      CreationRow{"QueueOnQueue", Queue, button("~103"), false, Q,
                                  "/opt/Keelbrook/ValdoraAuto.exe ~100,~101,~103"}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace valdora::triggers::test

#include "triggers/TriggerText.h"

#include "settings/AutoCommandLine.h"

#include "core/testsupport/QtPrinters.h"

#include <QMap>

#include <gtest/gtest.h>

namespace valdora::TriggerText {
namespace {

const QString Folder = QStringLiteral("/opt/Valdora");

QString nameOf(const QString& identifier)
{
    static const QMap<QString, QString> names{{QStringLiteral("~100"), QStringLiteral("Number")},
                                              {QStringLiteral("~101"), QStringLiteral("Date")},
                                              {QStringLiteral("~103"), QStringLiteral("Age")},
                                              {QStringLiteral("~1000"), QStringLiteral("Thousand")}};
    return names.value(identifier);
}

struct WriteCase {
    const char* name;
    QString folder;
    QStringList identifiers;
    QString text;
};

class WriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteTest, NamesTheProgramThenTheQueue)
{
    EXPECT_EQ(forButtons(GetParam().folder, GetParam().identifiers), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, WriteTest,
    ::testing::Values(
        WriteCase{"One", "/opt/Valdora", {"~100"}, "/opt/Valdora/ValdoraAuto.exe ~100"},
        WriteCase{"Queue", "/opt/Valdora", {"~100", "~103"}, "/opt/Valdora/ValdoraAuto.exe ~100,~103"},
        // No quotation marks even when the folder holds blanks.
        WriteCase{"BlankInFolder", "/home/u/My Tools", {"~100"}, "/home/u/My Tools/ValdoraAuto.exe ~100"}),
    [](const auto& info) { return info.param.name; });

TEST(TriggerTextTest, ButtonFileLosesOnlyItsExtension)
{
    EXPECT_EQ(forButtonFile(Folder, QStringLiteral("~100.ini")), u"/opt/Valdora/ValdoraAuto.exe ~100");
    // An ".ini" inside the name is part of the identifier: ValdoraAuto appends ".ini" to find the file.
    EXPECT_EQ(forButtonFile(Folder, QStringLiteral("~1.ini5.ini")), u"/opt/Valdora/ValdoraAuto.exe ~1.ini5");
}

TEST(TriggerTextTest, QueuesAButtonBehindTheOnesThere)
{
    EXPECT_EQ(withQueuedButton(forButtons(Folder, {QStringLiteral("~100")}), QStringLiteral("~101")),
              u"/opt/Valdora/ValdoraAuto.exe ~100,~101");
}

TEST(TriggerTextTest, TheArgumentsOfATriggerReadBackAsItsQueue)
{
    // The host passes what follows the program and its blank; ValdoraAuto reads it as its queue.
    const QString trigger = forButtons(Folder, {QStringLiteral("~100"), QStringLiteral("~103")});
    const QString arguments = trigger.mid(buttonTriggerPrefix(Folder).size());
    const AutoCommandLine::RunList list =
        AutoCommandLine::parseArgumentText(AutoCommandLine::argumentText({arguments}));
    EXPECT_FALSE(list.directMode);
    EXPECT_EQ(list.entries, (QStringList{QStringLiteral("~100"), QStringLiteral("~103")}));
}

struct RecognitionCase {
    const char* name;
    QString text;
    bool exactly;
    bool ignoringCase;
};

class RecognitionTest : public ::testing::TestWithParam<RecognitionCase> {};

TEST_P(RecognitionTest, FindsTheProgramOfThisFolder)
{
    EXPECT_EQ(isButtonTrigger(GetParam().text, Folder), GetParam().exactly);
    EXPECT_EQ(isButtonTrigger(GetParam().text, Folder, Qt::CaseInsensitive), GetParam().ignoringCase);
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, RecognitionTest,
    ::testing::Values(RecognitionCase{"Written", "/opt/Valdora/ValdoraAuto.exe ~100", true, true},
                      RecognitionCase{"Queue", "/opt/Valdora/ValdoraAuto.exe ~100,~101", true, true},
                      RecognitionCase{"InsideALongerText", "run /opt/Valdora/ValdoraAuto.exe ~100", true,
                                      true},
                      RecognitionCase{"OtherCase", "/opt/Valdora/VALDORAAUTO.EXE ~100", false, true},
                      RecognitionCase{"OtherFolder", "/usr/local/ValdoraAuto.exe ~100", false, false},
                      RecognitionCase{"NoQueue", "/opt/Valdora/ValdoraAuto.exe", false, false},
                      RecognitionCase{"TwoBlanks", "/opt/Valdora/ValdoraAuto.exe  ~100", false, false},
                      RecognitionCase{"Macro", "/home/u/fill.mpr", false, false},
                      RecognitionCase{"Empty", "", false, false}),
    [](const auto& info) { return info.param.name; });

struct QueueCase {
    const char* name;
    QString text;
    QString queue;
    QString identifier;
    bool queued;
};

class QueueTest : public ::testing::TestWithParam<QueueCase> {};

TEST_P(QueueTest, ReadsTheQueueAfterTheProgram)
{
    EXPECT_EQ(queueText(GetParam().text), GetParam().queue);
    EXPECT_EQ(isQueued(GetParam().text, GetParam().identifier), GetParam().queued);
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, QueueTest,
    ::testing::Values(
        QueueCase{"One", "/opt/Valdora/ValdoraAuto.exe ~100", "~100", "~100", true},
        QueueCase{"Last", "/opt/Valdora/ValdoraAuto.exe ~100,~101", "~100,~101", "~101", true},
        QueueCase{"Absent", "/opt/Valdora/ValdoraAuto.exe ~100,~101", "~100,~101", "~103", false},
        QueueCase{"BlankAfterComma", "/opt/Valdora/ValdoraAuto.exe ~100, ~101", "~100, ~101", "~101", true},
        // A longer identifier that begins like the chosen one does not hold it.
        QueueCase{"LongerIdentifier", "/opt/Valdora/ValdoraAuto.exe ~1000", "~1000", "~100", false},
        QueueCase{"FirstMatchOnly", "a.exe ~1 /opt/Valdora/ValdoraAuto.exe ~100",
                  "~1 /opt/Valdora/ValdoraAuto.exe ~100", "~100", false},
        // Without ".exe ~" the queue is the text from its fifth character on.
        QueueCase{"NoMatch", "/opt/Valdora/VALDORAAUTO.EXE ~100", "/Valdora/VALDORAAUTO.EXE ~100", "~100",
                  false}),
    [](const auto& info) { return info.param.name; });

struct CountCase {
    qsizetype characters;
    qsizetype count;
};

class CountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountTest, RoundsAQuarterHalfToEven)
{
    EXPECT_EQ(buttonCount(GetParam().characters), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Triggers, CountTest,
                         ::testing::Values(CountCase{0, 0}, CountCase{1, 0}, CountCase{2, 0}, CountCase{3, 1},
                                           CountCase{4, 1}, CountCase{5, 1}, CountCase{6, 2}, CountCase{7, 2},
                                           CountCase{8, 2}, CountCase{10, 2}, CountCase{11, 3},
                                           CountCase{14, 4}, CountCase{18, 4}, CountCase{22, 6}),
                         [](const auto& info) {
                             return "Characters" + std::to_string(info.param.characters);
                         });

struct DescribeCase {
    const char* name;
    QString text;
    QString description;
};

class DescribeTest : public ::testing::TestWithParam<DescribeCase> {};

TEST_P(DescribeTest, ShowsButtonsByTheirCaptions)
{
    EXPECT_EQ(describe(GetParam().text, Folder, nameOf), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, DescribeTest,
    ::testing::Values(
        DescribeCase{"OneButton", "/opt/Valdora/ValdoraAuto.exe ~100", "Valdora Button: Number"},
        DescribeCase{"TwoButtons", "/opt/Valdora/ValdoraAuto.exe ~100,~101", "Valdora Buttons: Number, Date"},
        DescribeCase{"ThreeButtons", "/opt/Valdora/ValdoraAuto.exe ~103,~100,~101",
                     "Valdora Buttons: Age, Number, Date"},
        DescribeCase{"SameButtonTwice", "/opt/Valdora/ValdoraAuto.exe ~100,~100",
                     "Valdora Buttons: Number, Number"},
        DescribeCase{"UnknownInQueue", "/opt/Valdora/ValdoraAuto.exe ~100,~999",
                     "Incorrect Valdora button syntax"},
        DescribeCase{"UnknownAlone", "/opt/Valdora/ValdoraAuto.exe ~999", "Incorrect Valdora button syntax"},
        // The whole tail is the identifier of a single button, a trailing "," included.
        DescribeCase{"TrailingComma", "/opt/Valdora/ValdoraAuto.exe ~100,",
                     "Incorrect Valdora button syntax"},
        // Identifiers sit at fixed places: a blank after a "," moves the next one off its place.
        DescribeCase{"BlankAfterComma", "/opt/Valdora/ValdoraAuto.exe ~100, ~101",
                     "Incorrect Valdora button syntax"},
        DescribeCase{"LongIdentifierAlone", "/opt/Valdora/ValdoraAuto.exe ~1000", "Valdora Button: Thousand"},
        DescribeCase{"LongIdentifierInQueue", "/opt/Valdora/ValdoraAuto.exe ~1000,~100",
                     "Incorrect Valdora button syntax"},
        DescribeCase{"EmptyQueue", "/opt/Valdora/ValdoraAuto.exe ~", "Valdora Buttons: "},
        // Letter case is ignored in recognising, not in finding ".exe ~".
        DescribeCase{"ProgramInCapitals", "/opt/Valdora/VALDORAAUTO.EXE ~100",
                     "Incorrect Valdora button syntax"},
        DescribeCase{"FolderInCapitals", "/OPT/VALDORA/ValdoraAuto.exe ~100", "Valdora Button: Number"},
        DescribeCase{"InsideALongerText", "run /opt/Valdora/ValdoraAuto.exe ~101", "Valdora Button: Date"},
        DescribeCase{"OtherFolder", "/usr/local/ValdoraAuto.exe ~100", "/usr/local/ValdoraAuto.exe ~100"},
        DescribeCase{"Macro", "/home/u/macros/fill.mpr", "/home/u/macros/fill.mpr"},
        DescribeCase{"Program", "/usr/bin/tool.exe", "/usr/bin/tool.exe"}, DescribeCase{"Empty", "", ""}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace valdora::TriggerText

// The list of the journal's runs: which run it starts with for a button, what Undo and Retry may act
// on, the model's rows and columns, and the window in the three languages.
#include "bar/runs/RunListWindow.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include "settings/MessageId.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace valdora::bar::test {

using namespace valdora::test;
namespace {

using journal::RunKind;
using journal::RunStand;
using Action = RunChoice::Action;

const QString Times = QStringLiteral("~100.ini");
const QString Plus = QStringLiteral("~101.ini");

ListedRun listed(qint64 id, const QString& button, RunStand stand, int pending, qint64 undoneBy = 0,
                 int failures = 0, RunKind kind = RunKind::Run)
{
    ListedRun run;
    run.run.id = id;
    run.run.info.kind = kind;
    run.run.info.button = button;
    run.run.info.scope =
        kind == RunKind::Retry ? QStringLiteral("failed contacts of run 1") : QStringLiteral("all");
    run.run.info.of = kind == RunKind::Retry ? 1 : 0;
    run.run.started = QDateTime(QDate(2026, 12, 9), QTime(10, 0).addSecs(60 * int(id)));
    run.run.stand = stand;
    run.run.contacts = 5;
    run.run.changes = 5;
    run.run.pending = pending;
    run.run.undoneBy = undoneBy;
    run.run.failures = failures;
    run.caption = button == Times ? QStringLiteral("Times") : QStringLiteral("Plus");
    return run;
}

/// Newest first, as the journal lists them: Plus ran last; Times ran before it, and once earlier still
/// (that run undone); a retry of run 1 left a contact failed.
std::vector<ListedRun> journalRuns()
{
    return {listed(6, Plus, RunStand::Finished, 5), listed(5, Times, RunStand::Interrupted, 3),
            listed(3, Times, RunStand::Finished, 0, 4),
            listed(2, Plus, RunStand::Finished, 1, 0, 1, RunKind::Retry),
            listed(1, Plus, RunStand::Stopped, 2, 0, 2)};
}

struct PreselectCase {
    const char* name;
    QString button;
    Action action;
    std::optional<qint64> expected;
};

void PrintTo(const PreselectCase& row, std::ostream* out)
{
    *out << row.name;
}

class Preselection : public ::testing::TestWithParam<PreselectCase> {};

TEST_P(Preselection, StartsWithTheNewestRunOfTheButtonThatTheActionCanUse)
{
    const PreselectCase& row = GetParam();
    EXPECT_EQ(preselectedRun(journalRuns(), row.button, row.action), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Preselection,
    ::testing::Values(PreselectCase{"UndoOfTimesSkipsTheNewerRunOfPlus", Times, Action::Undo, 5},
                      PreselectCase{"UndoOfPlus", Plus, Action::Undo, 6},
                      PreselectCase{"UndoFromTheTrayTakesTheNewestOfAny", QString(), Action::Undo, 6},
                      PreselectCase{"RetryOfPlusIsItsNewestRunWithFailures", Plus, Action::Retry, 2},
                      PreselectCase{"NoRunOfTimesToRetryChoosesNone", Times, Action::Retry, std::nullopt},
                      PreselectCase{"AButtonThatNeverRanChoosesNone", QStringLiteral("~102.ini"),
                                    Action::Undo, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunChoice, UndoAndRetryOnlyWhereTheyCanAct)
{
    EXPECT_TRUE(canUndo(listed(1, Times, RunStand::Finished, 1).run));
    EXPECT_TRUE(canUndo(listed(1, Times, RunStand::Interrupted, 1).run));
    EXPECT_FALSE(canUndo(listed(1, Times, RunStand::Running, 1).run)) << "a run still running";
    EXPECT_FALSE(canUndo(listed(1, Times, RunStand::Finished, 1, 2).run)) << "undone already";
    EXPECT_FALSE(canUndo(listed(1, Times, RunStand::Finished, 0).run)) << "nothing left to put back";
    EXPECT_FALSE(canUndo(listed(1, Times, RunStand::Finished, 1, 0, 0, RunKind::Undo).run)) << "an undo";
    EXPECT_TRUE(canRetry(listed(1, Times, RunStand::Stopped, 0, 0, 1).run));
    EXPECT_FALSE(canRetry(listed(1, Times, RunStand::Finished, 1).run));
    EXPECT_FALSE(canRetry(listed(1, Times, RunStand::Finished, 0, 0, 1, RunKind::Undo).run));
}

TEST(RunListModel, ShowsEachRunInItsColumns)
{
    RunListModel model(Messages(), journalRuns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(model.rowCount(), 5);
    ASSERT_EQ(model.columnCount(), RunListModel::ColumnCount);
    const auto cell = [&](int row, int column) { return model.index(row, column).data().toString(); };
    const QStringList header = [&] {
        QStringList captions;
        for (int c = 0; c < model.columnCount(); ++c)
            captions << model.headerData(c, Qt::Horizontal).toString();
        return captions;
    }();
    EXPECT_EQ(header, QStringList({"Run", "Button", "Contacts covered", "Started", "Contacts written",
                                   "How it ended", "Undone", "Failed"}));
    EXPECT_EQ((QStringList{cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3), cell(1, 4), cell(1, 5), cell(1, 6),
                           cell(1, 7)}),
              QStringList({"5", "Times", "All contacts", "2026-12-09 10:05:00", "5", "interrupted", "", ""}));
    EXPECT_EQ(cell(2, RunListModel::Undone), QStringLiteral("by run 4"));
    EXPECT_EQ(cell(3, RunListModel::Scope), QStringLiteral("failed contacts of run 1"));
    EXPECT_EQ(cell(4, RunListModel::State), QStringLiteral("stopped halfway"));
    EXPECT_EQ(cell(4, RunListModel::Failed), QStringLiteral("2"));
    EXPECT_EQ(model.index(3, 0).data(RunListModel::RunIdRole).toLongLong(), 2);
    EXPECT_EQ(model.rowOf(3), 2);
    EXPECT_EQ(model.rowOf(99), -1);
}

QPushButton* button(QWidget& window, const char* name)
{
    return window.findChild<QPushButton*>(QLatin1String(name));
}

void chooseRow(RunListWindow& window, int row)
{
    auto* table = window.findChild<QTableView*>(QStringLiteral("tblRuns"));
    table->selectRow(row);
}

TEST(RunListWindow, StartsWithThePreselectedRunAndUndoesIt)
{
    RunListWindow window(Messages(), journalRuns(), 5);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 5000)) << "the list did not show";
    EXPECT_EQ(window.chosenRun(), 5);
    EXPECT_TRUE(button(window, "cmdUndo")->isEnabled());
    EXPECT_FALSE(button(window, "cmdRetry")->isEnabled()) << "run 5 has no failed contacts";
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("lblChoose"))->isHidden());
    QTest::mouseClick(button(window, "cmdUndo"), Qt::LeftButton);
    ASSERT_TRUE(window.choice().has_value());
    EXPECT_EQ(window.choice()->run, 5);
    EXPECT_EQ(window.choice()->action, Action::Undo);
}

TEST(RunListWindow, WithNothingChosenNeitherButtonActs)
{
    RunListWindow window(Messages(), journalRuns(), std::nullopt);
    window.show();
    EXPECT_EQ(window.chosenRun(), std::nullopt);
    EXPECT_FALSE(button(window, "cmdUndo")->isEnabled());
    EXPECT_FALSE(button(window, "cmdRetry")->isEnabled());
    EXPECT_FALSE(window.findChild<QLabel*>(QStringLiteral("lblChoose"))->isHidden());

    // An undone run can only be looked at; a run with failed contacts offers its retry.
    chooseRow(window, 2);
    EXPECT_FALSE(button(window, "cmdUndo")->isEnabled());
    EXPECT_FALSE(button(window, "cmdRetry")->isEnabled());
    chooseRow(window, 4);
    EXPECT_TRUE(button(window, "cmdUndo")->isEnabled());
    EXPECT_TRUE(button(window, "cmdRetry")->isEnabled());
    QTest::mouseClick(button(window, "cmdRetry"), Qt::LeftButton);
    ASSERT_TRUE(window.choice().has_value());
    EXPECT_EQ(window.choice()->run, 1);
    EXPECT_EQ(window.choice()->action, Action::Retry);
}

TEST(RunListWindow, ClosedWithoutAChoice)
{
    RunListWindow window(Messages(), journalRuns(), 6);
    window.show();
    QTest::mouseClick(button(window, "cmdClose"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.choice(), std::nullopt);
}

class RunListLanguage : public ::testing::TestWithParam<Language> {};

TEST_P(RunListLanguage, TextsComeFromTheLanguageAndFit)
{
    const Language& language = GetParam();
    const Messages texts(MessageTable::valdora(), language.base);
    RunListWindow window(texts, journalRuns(), 5);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 5000)) << "the list did not show";
    EXPECT_EQ(window.windowTitle(), texts.get(OwnText::RunsTitle));
    EXPECT_EQ(button(window, "cmdUndo")->text(), texts.get(OwnText::RunsUndo));
    EXPECT_EQ(button(window, "cmdRetry")->text(), texts.get(OwnText::RunsRetry));
    EXPECT_EQ(button(window, "cmdClose")->text(), texts.get(OwnText::ClosePreview));
    const auto* table = window.findChild<QTableView*>(QStringLiteral("tblRuns"));
    EXPECT_EQ(table->model()->index(0, RunListModel::Scope).data().toString(),
              texts.get(MessageId::ApplyToAllContacts));
    // Every column's caption and cells are shown whole.
    for (int c = 0; c < RunListModel::ColumnCount - 1; ++c)
        EXPECT_GE(table->columnWidth(c), table->fontMetrics().horizontalAdvance(
                                             table->model()->headerData(c, Qt::Horizontal).toString()))
            << c;
    EXPECT_LE(window.width(), 1200) << "fits a screen 1280 pixels wide";
    expectNothingClipped(window);
    saveScreenshot(window, QStringLiteral("frmRuns-%1").arg(QString::fromLatin1(language.name)));
}

INSTANTIATE_TEST_SUITE_P(Languages, RunListLanguage, ::testing::Values(English, French, German),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::bar::test

// The preview window offscreen over a scripted preview: rows shown while they come, the counts, the
// changes-only filter, sorting numbers as numbers, the CSV export (and a file that cannot be written),
// running from it, closing it while it computes, and its texts in the three languages.
#include "bar/preview/PreviewWindow.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include "core/testsupport/ScriptedPlatform.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace valdora::bar::test {

using namespace valdora::test;
namespace {

using run::PreviewAction;
using run::PreviewRow;

std::vector<PreviewRow> sampleRows()
{
    return {
        {"1", "Ann Lee", "Lee & Co", "Amount", "", "12.00", PreviewAction::Write},
        {"2", "Bob Stone", "Stone, \"Ltd\"", "Amount", "9.50", "9.50", PreviewAction::Unchanged},
        {"3", "Cy Dale", "Dale", "Amount", "100.00", "100.00", PreviewAction::SkipNotEmpty},
        {"4", "Di Moor", "Moor", "Amount", "3.00", "3.00", PreviewAction::Locked},
        {"5", "Ed Fry", "Fry", "Amount", "7", "7 12.00", PreviewAction::Append},
    };
}

/// A preview that hands out its rows one by one, as the run's would, and ends where it is told to.
class ScriptedPreview {
public:
    explicit ScriptedPreview(std::vector<PreviewRow> rows) : m_rows(std::move(rows)) {}

    PreviewSource source()
    {
        return [this](const std::function<void(const PreviewRow&)>& observer,
                      const std::function<bool()>& stop) {
            run::PreviewResult result;
            result.summary.started = true;
            for (const PreviewRow& row : m_rows) {
                if (stop()) {
                    result.summary.stopped = true;
                    break;
                }
                if (pause)
                    pause();
                observer(row);
                result.rows.push_back(row);
            }
            result.counts = run::previewCounts(result.rows);
            ++calls;
            return result;
        };
    }

    std::function<void()> pause;
    int calls = 0;

private:
    std::vector<PreviewRow> m_rows;
};

class PreviewWindowTest : public ::testing::Test {
protected:
    QTableView& table() { return *window->findChild<QTableView*>(QStringLiteral("tblPreview")); }
    QString counts() { return window->findChild<QLabel*>(QStringLiteral("lblCounts"))->text(); }
    QPushButton& button(const char* name) { return *window->findChild<QPushButton*>(QLatin1String(name)); }

    QStringList column(int column)
    {
        QStringList cells;
        for (int row = 0; row < table().model()->rowCount(); ++row)
            cells << table().model()->index(row, column).data().toString();
        return cells;
    }

    void open(const Messages& texts = Messages())
    {
        window =
            std::make_unique<PreviewWindow>(texts, platform, QStringLiteral("Fill amount"), preview.source());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get())) << "the window was not shown within the wait";
        ASSERT_TRUE(QTest::qWaitFor([this] { return preview.calls > 0 && !window->computing(); }, 5000))
            << "timed out waiting for: preview.calls > 0 && !window->computing()";
    }

    ScriptedPlatform platform;
    ScriptedPreview preview{sampleRows()};
    std::unique_ptr<PreviewWindow> window;
};

TEST_F(PreviewWindowTest, TheFormBeforeItsRowsCome)
{
    window = std::make_unique<PreviewWindow>(Messages(), platform, QStringLiteral("Fill amount"),
                                             preview.source());
    EXPECT_EQ(window->objectName(), u"frmPreview");
    EXPECT_EQ(window->size(), QSize(900, 480));
    EXPECT_TRUE(window->isSizeGripEnabled());
    EXPECT_EQ(counts(), u"Computing... 0 contacts");
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("lblCounts"))->font().bold());
    // Nothing to run or export yet; Enter must not press a button the user did not choose.
    EXPECT_FALSE(button("cmdRun").isEnabled());
    EXPECT_FALSE(button("cmdExport").isEnabled());
    for (const char* name : {"cmdExport", "cmdRun", "cmdClose"})
        EXPECT_FALSE(button(name).autoDefault()) << name;
    EXPECT_EQ(table().editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(table().selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(table().verticalHeader()->isVisible());
    EXPECT_TRUE(table().horizontalHeader()->stretchLastSection());
    const QStringList order{"tblPreview", "chkChangesOnly", "cmdExport", "cmdRun", "cmdClose"};
    EXPECT_EQ(tabOrder(table(), order), order);
}

TEST_F(PreviewWindowTest, ShowsEveryRowTheCountsAndOffersTheRun)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Preview: Fill amount"));
    EXPECT_EQ(counts(), QStringLiteral("2 contacts would be written, 2 unchanged, 1 locked now"));
    EXPECT_EQ(column(0), QStringList({"Ann Lee", "Bob Stone", "Cy Dale", "Di Moor", "Ed Fry"}));
    EXPECT_EQ(column(5),
              QStringList({"write", "unchanged", "skip (the target is not empty)", "locked now", "append"}));
    EXPECT_TRUE(button("cmdRun").isEnabled());
    EXPECT_TRUE(button("cmdExport").isEnabled());
    saveScreenshot(*window, QStringLiteral("preview-English"));

    QTest::mouseClick(&button("cmdRun"), Qt::LeftButton);
    EXPECT_TRUE(window->runChosen());
    EXPECT_EQ(window->QDialog::result(), QDialog::Accepted);
}

TEST_F(PreviewWindowTest, ChangesOnlyAndSortingByAnyColumn)
{
    open();
    window->findChild<QCheckBox*>(QStringLiteral("chkChangesOnly"))->setChecked(true);
    EXPECT_EQ(column(0), QStringList({"Ann Lee", "Ed Fry"}));
    window->findChild<QCheckBox*>(QStringLiteral("chkChangesOnly"))->setChecked(false);

    // Numbers sort as numbers: 100.00 after 9.50, not before it.
    table().sortByColumn(4, Qt::AscendingOrder);
    EXPECT_EQ(column(4), QStringList({"3.00", "9.50", "12.00", "100.00", "7 12.00"}));
    table().sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(column(0).first(), QStringLiteral("Ed Fry"));
    // The header click sorts too.
    QHeaderView* header = table().horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    EXPECT_EQ(column(1).first(), QStringLiteral("Dale"));
}

TEST_F(PreviewWindowTest, ExportWritesWhatTheTableShowsAsCsv)
{
    open();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("preview.csv"));
    window->findChild<QCheckBox*>(QStringLiteral("chkChangesOnly"))->setChecked(true);
    platform.answerNextSaveFile(path);
    QTest::mouseClick(&button("cmdExport"), Qt::LeftButton);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBF"
                                         "Contact,Company,Field,Present value,Would write,Action\r\n"
                                         "Ann Lee,Lee & Co,Amount,,12.00,write\r\n"
                                         "Ed Fry,Fry,Amount,7,7 12.00,append\r\n"));
    EXPECT_TRUE(platform.messageTexts().isEmpty());

    // A cancelled dialog writes nothing; a folder that is not there says so and loses nothing shown.
    platform.answerNextSaveFile(std::nullopt);
    QTest::mouseClick(&button("cmdExport"), Qt::LeftButton);
    platform.answerNextSaveFile(folder.filePath(QStringLiteral("missing/preview.csv")));
    QTest::mouseClick(&button("cmdExport"), Qt::LeftButton);
    ASSERT_EQ(platform.messageTexts().size(), 1);
    EXPECT_TRUE(platform.messageTexts().first().startsWith(
        QStringLiteral("The file %1 could not be written: ").arg(folder.filePath("missing/preview.csv"))))
        << platform.messageTexts().first().toStdString();
    EXPECT_EQ(column(0).size(), 2);
}

TEST_F(PreviewWindowTest, RowsShowWhileTheyComeAndClosingStopsThePreview)
{
    std::vector<PreviewRow> many;
    for (int i = 0; i < 400; ++i)
        many.push_back(
            {QString::number(i), QStringLiteral("C%1").arg(i), "", "Amount", "", "1", PreviewAction::Write});
    preview = ScriptedPreview(many);
    int given = 0;
    int shownAtFifty = -1;
    preview.pause = [&] {
        // Slow enough that the window hands rows to the table several times.
        QTest::qWait(1);
        if (++given == 50)
            shownAtFifty = window->findChild<QTableView*>(QStringLiteral("tblPreview"))->model()->rowCount();
        if (given == 200)
            window->reject();
    };
    window = std::make_unique<PreviewWindow>(Messages(), platform, QStringLiteral("Many"), preview.source());
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.calls > 0; }, 10000))
        << "timed out waiting for: preview.calls > 0";
    EXPECT_GE(shownAtFifty, 1) << "the first rows are on screen before the preview ends";
    EXPECT_LT(given, 400) << "the close stopped the preview";
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->runChosen());
}

TEST_F(PreviewWindowTest, APreviewThatDidNotStartClosesAtOnce)
{
    window = std::make_unique<PreviewWindow>(Messages(), platform, QStringLiteral("Broken"),
                                             [](const auto&, const auto&) { return run::PreviewResult{}; });
    window->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 5000))
        << "timed out waiting for: !window->isVisible()";
    EXPECT_FALSE(window->runChosen());
}

class PreviewWindowLanguage : public PreviewWindowTest, public ::testing::WithParamInterface<Language> {};

TEST_P(PreviewWindowLanguage, ReadsInTheUsersLanguageWithNothingClipped)
{
    open(Messages(MessageTable::valdora(), GetParam().base));
    const Messages texts(MessageTable::valdora(), GetParam().base);
    EXPECT_EQ(button("cmdRun").text(), texts.get(OwnText::RunFromPreview));
    EXPECT_EQ(table().model()->headerData(4, Qt::Horizontal).toString(),
              texts.get(OwnText::ColumnWouldWrite));
    EXPECT_EQ(column(5).first(), texts.get(OwnText::ActionWrite));
    expectNothingClipped(*window);
    saveScreenshot(*window, QStringLiteral("preview-%1").arg(QLatin1String(GetParam().name)));
}

INSTANTIATE_TEST_SUITE_P(Languages, PreviewWindowLanguage, ::testing::Values(English, French, German),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::bar::test

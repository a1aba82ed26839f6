// The bar's preview as a user takes it, with the real windows offscreen against a running headless host:
// a click on a button, "Preview..." in the scope dialog, the preview window with what the run would
// write, then a run from it (which writes exactly that) or a close that goes back to the question.
#include "bar/dialogs/WindowScopeChooser.h"
#include "bar/preview/PreviewWindow.h"
#include "bar/windows/MainBar.h"
#include "bar/windows/WindowBarScreens.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include "BarOnHostTest.h"
#include "BarScriptedScreens.h"
#include "RunningHostFactories.h"

#include "core/testsupport/QtPrinters.h"
#include "run/tests/ProgramOnHostFixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

const QString Amount = QStringLiteral("Amount");

class BarPreviewTest : public test::BarOnHostTest {
protected:
    void SetUp() override
    {
        BarOnHostTest::SetUp();
        m_screens = std::make_unique<WindowBarScreens>(*m_session);
        m_scopes = std::make_unique<WindowScopeChooser>(m_session->messages());
        // Half of the contacts hold 12.00 already: the preview tells them apart.
        multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
        m_bar = std::make_unique<MainBar>(BarParts{*m_session, *m_screens, *m_scopes,
                                                   test::runningHostFactories(),
                                                   std::make_unique<test::ScriptedIcon>(false)});
        ASSERT_TRUE(m_bar->Form_Load()) << m_platform.messageTexts().join(" | ").toStdString();
        m_screens->setBar(m_bar.get());
        m_scopes->setParentWindow(m_bar.get());
    }

    void TearDown() override
    {
        m_bar.reset();
        m_scopes.reset();
        m_screens.reset();
        BarOnHostTest::TearDown();
    }

    void clickFill()
    {
        QTest::mouseClick(m_bar->findChild<QPushButton*>(QStringLiteral("cmdButton_0")), Qt::LeftButton);
    }

    std::unique_ptr<WindowBarScreens> m_screens;
    std::unique_ptr<WindowScopeChooser> m_scopes;
    std::unique_ptr<MainBar> m_bar;
};

/// The column of the preview's table.
QStringList previewColumn(QWidget& preview, int column)
{
    const QAbstractItemModel* model = preview.findChild<QTableView*>(QStringLiteral("tblPreview"))->model();
    QStringList cells;
    for (int row = 0; row < model->rowCount(); ++row)
        cells << model->index(row, column).data().toString();
    return cells;
}

/// Runs `action` once the preview window has computed its rows. It does not wait in place: the
/// window computes in the event loop that calls it, and a wait there would hold the computation.
void whenComputed(QWidget& preview, std::function<void()> action)
{
    auto* poll = new QTimer(&preview);
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &preview, action, since] {
        auto& window = static_cast<PreviewWindow&>(preview);
        if (since->elapsed() > 20000) {
            ADD_FAILURE() << "the preview did not end";
            poll->stop();
            window.reject();
            return;
        }
        if (window.computing() || !window.found().summary.started)
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start(10);
}

TEST_F(BarPreviewTest, ARunFromThePreviewWritesWhatItShowed)
{
    const QStringList before = column(Amount);
    QStringList wouldWrite;
    QString counts;
    QStringList beforeRun;
    bool previewed = false;
    valdora::test::inNextModal(QStringLiteral("dlgLookup"), [&](QWidget& scope) {
        valdora::test::click(scope, QStringLiteral("Label12")); // all contacts
        valdora::test::inNextModal(QStringLiteral("frmPreview"), [&](QWidget& preview) {
            previewed = true;
            whenComputed(preview, [&] {
                counts = preview.findChild<QLabel*>(QStringLiteral("lblCounts"))->text();
                wouldWrite = previewColumn(preview, 4);
                beforeRun = column(Amount);
                valdora::test::saveScreenshot(preview, QStringLiteral("bar-preview"));
                valdora::test::click(preview, QStringLiteral("cmdRun"));
            });
        });
        valdora::test::click(scope, QStringLiteral("cmdPreview"));
    });
    clickFill();
    ASSERT_TRUE(previewed);
    EXPECT_EQ(beforeRun, before) << "the preview writes nothing";
    EXPECT_EQ(counts, QStringLiteral("5 contacts would be written, 0 unchanged, 0 locked now"));
    EXPECT_EQ(wouldWrite, QStringList(5, QStringLiteral("12.00")));
    EXPECT_EQ(column(Amount), wouldWrite);
}

TEST_F(BarPreviewTest, ClosingThePreviewGoesBackToTheQuestion)
{
    const QStringList before = column(Amount);
    bool backInQuestion = false;
    valdora::test::inNextModal(QStringLiteral("dlgLookup"), [&](QWidget& scope) {
        valdora::test::inNextModal(QStringLiteral("frmPreview"), [&](QWidget& preview) {
            whenComputed(preview, [&] {
                // The current contact only: one row.
                EXPECT_EQ(previewColumn(preview, 4).size(), 1);
                valdora::test::click(preview, QStringLiteral("cmdClose"));
            });
        });
        valdora::test::click(scope, QStringLiteral("Label10")); // the current contact
        valdora::test::click(scope, QStringLiteral("cmdPreview"));
        backInQuestion = scope.isVisible();
        valdora::test::click(scope, QStringLiteral("CancelButton"));
    });
    clickFill();
    EXPECT_TRUE(backInQuestion);
    EXPECT_EQ(column(Amount), before);
}

} // namespace
} // namespace valdora::bar

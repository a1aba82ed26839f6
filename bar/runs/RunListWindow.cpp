#include "RunListWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace valdora::bar {

namespace {

/// Rows shown without scrolling; more scroll.
constexpr int RowsShown = 10;
constexpr int MinimumWidth = 560;

} // namespace

RunListWindow::RunListWindow(const Messages& texts, std::vector<ListedRun> runs,
                             std::optional<qint64> preselected, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRuns"));
    setWindowTitle(texts.get(OwnText::RunsTitle));
    m_model = new RunListModel(texts, std::move(runs), this);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tblRuns"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->resizeColumnsToContents();
    m_table->setWordWrap(false);

    m_hint = new QLabel(texts.get(OwnText::RunsNoneChosen), this);
    m_hint->setObjectName(QStringLiteral("lblChoose"));
    m_undo = new QPushButton(texts.get(OwnText::RunsUndo), this);
    m_undo->setObjectName(QStringLiteral("cmdUndo"));
    m_retry = new QPushButton(texts.get(OwnText::RunsRetry), this);
    m_retry->setObjectName(QStringLiteral("cmdRetry"));
    auto* close = new QPushButton(texts.get(OwnText::ClosePreview), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setAutoDefault(false);
    m_retry->setAutoDefault(false);
    m_undo->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_hint);
    buttons->addStretch();
    buttons->addWidget(m_undo);
    buttons->addWidget(m_retry);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);

    connect(m_undo, &QPushButton::clicked, this, [this] { choose(RunChoice::Action::Undo); });
    connect(m_retry, &QPushButton::clicked, this, [this] { choose(RunChoice::Action::Retry); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RunListWindow::updateButtons);

    if (preselected) {
        if (const int row = m_model->rowOf(*preselected); row >= 0) {
            m_table->selectRow(row);
            m_table->scrollTo(m_model->index(row, 0));
        }
    }
    updateButtons();
    m_table->setFocus();

    fitToColumns();
}

void RunListWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitToColumns();
}

void RunListWindow::fitToColumns()
{
    // Wide enough for every column, tall enough for a few runs without scrolling.
    m_table->resizeColumnsToContents();
    const QHeaderView* header = m_table->horizontalHeader();
    int columns = 0;
    for (int column = 0; column < m_model->columnCount(); ++column)
        columns += std::max(m_table->columnWidth(column), header->sectionSizeHint(column));
    const int tableWidth =
        columns + 2 * m_table->frameWidth() + m_table->verticalScrollBar()->sizeHint().width();
    m_table->setMinimumWidth(tableWidth);
    const int rowHeight = m_table->verticalHeader()->defaultSectionSize();
    const int shown = std::clamp(m_model->rowCount(), 3, RowsShown);
    m_table->setMinimumHeight(header->sizeHint().height() + shown * rowHeight + 2 * m_table->frameWidth());
    resize(std::max({MinimumWidth, sizeHint().width(), width()}), std::max(sizeHint().height(), height()));
}

std::optional<qint64> RunListWindow::chosenRun() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return m_model->runAt(rows.first().row()).run.id;
}

void RunListWindow::updateButtons()
{
    const std::optional<qint64> run = chosenRun();
    const int row = run ? m_model->rowOf(*run) : -1;
    m_undo->setEnabled(row >= 0 && canUndo(m_model->runAt(row).run));
    m_retry->setEnabled(row >= 0 && canRetry(m_model->runAt(row).run));
    m_hint->setVisible(row < 0);
}

void RunListWindow::choose(RunChoice::Action action)
{
    const std::optional<qint64> run = chosenRun();
    if (!run || !canDo(m_model->runAt(m_model->rowOf(*run)).run, action))
        return;
    m_choice = RunChoice{*run, action};
    accept();
}

} // namespace valdora::bar

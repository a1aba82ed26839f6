#include "PreviewWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace valdora::bar {

namespace {

/// Rows are handed to the table at most this often while the preview computes, so that the window
/// stays responsive and the computation is not slowed by repainting.
constexpr int FlushMs = 100;

} // namespace

PreviewWindow::PreviewWindow(const Messages& texts, Platform& platform, const QString& buttonCaption,
                             PreviewSource source, QWidget* parent)
    : QDialog(parent), m_texts(texts), m_platform(platform), m_caption(buttonCaption),
      m_source(std::move(source))
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(texts.get(OwnText::PreviewTitle).arg(buttonCaption));
    setSizeGripEnabled(true);

    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("lblCounts"));
    m_counts->setTextFormat(Qt::PlainText);
    QFont bold = m_counts->font();
    bold.setBold(true);
    m_counts->setFont(bold);

    m_model = new PreviewTableModel(texts, this);
    m_filter = new PreviewFilter(this);
    m_filter->setSourceModel(m_model);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tblPreview"));
    m_table->setModel(m_filter);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);

    m_changesOnly = new QCheckBox(texts.get(OwnText::ChangesOnly), this);
    m_changesOnly->setObjectName(QStringLiteral("chkChangesOnly"));
    m_export = new QPushButton(texts.get(OwnText::ExportCsv), this);
    m_export->setObjectName(QStringLiteral("cmdExport"));
    m_run = new QPushButton(texts.get(OwnText::RunFromPreview), this);
    m_run->setObjectName(QStringLiteral("cmdRun"));
    m_close = new QPushButton(texts.get(OwnText::ClosePreview), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton* button : {m_export, m_run, m_close})
        button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_changesOnly);
    buttons->addStretch(1);
    buttons->addWidget(m_export);
    buttons->addWidget(m_run);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_counts);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    setTabOrder(m_table, m_changesOnly);
    setTabOrder(m_changesOnly, m_export);
    setTabOrder(m_export, m_run);
    setTabOrder(m_run, m_close);

    connect(m_changesOnly, &QCheckBox::toggled, m_filter, &PreviewFilter::setChangesOnly);
    connect(m_export, &QPushButton::clicked, this, &PreviewWindow::exportCsv);
    connect(m_run, &QPushButton::clicked, this, [this] {
        m_runChosen = true;
        accept();
    });
    connect(m_close, &QPushButton::clicked, this, &PreviewWindow::reject);

    m_counts->setText(texts.get(OwnText::PreviewComputing, {{1, 0}}).arg(0));
    m_run->setEnabled(false);
    m_export->setEnabled(false);
    resize(900, 480);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    // Computed once the window is on screen, so that its first rows show while the rest come.
    QTimer::singleShot(0, this, &PreviewWindow::compute);
}

void PreviewWindow::compute()
{
    m_computing = true;
    m_close->setText(m_texts.get(OwnText::StopPreview));
    m_sinceFlush.start();
    m_result =
        m_source([this](const run::PreviewRow& row) { take(row); }, [this] { return m_stopRequested; });
    flush();
    m_computing = false;
    m_close->setText(m_texts.get(OwnText::ClosePreview));
    // A preview that did not start has said why (a message): there is nothing to show.
    if (m_closeWhenStopped || !m_result.summary.started) {
        QDialog::reject();
        return;
    }
    showCounts();
    // Fitted again now that many rows are there: the first row alone would cut longer names.
    m_table->resizeColumnsToContents();
    m_table->setSortingEnabled(true);
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_run->setEnabled(true);
    m_export->setEnabled(true);
    m_run->setDefault(true);
    m_run->setFocus();
}

void PreviewWindow::take(const run::PreviewRow& row)
{
    // A contact's rows come together (one per member of a Combo).
    if (m_contactsSeen == 0 || row.id != m_lastContact) {
        ++m_contactsSeen;
        m_lastContact = row.id;
    }
    m_pending.push_back(row);
    // The first row is shown at once; later ones in batches.
    if (m_model->rowCount() == 0 || m_sinceFlush.elapsed() >= FlushMs)
        flush();
}

void PreviewWindow::flush()
{
    const bool first = m_model->rowCount() == 0 && !m_pending.empty();
    m_model->append(std::exchange(m_pending, {}));
    if (first)
        m_table->resizeColumnsToContents();
    if (m_computing)
        m_counts->setText(m_texts.get(OwnText::PreviewComputing, {{1, m_contactsSeen}}).arg(m_contactsSeen));
    m_sinceFlush.restart();
    if (m_computing)
        QApplication::processEvents();
}

void PreviewWindow::showCounts()
{
    const run::PreviewCounts& counts = m_result.counts;
    QString text = m_texts
                       .get(OwnText::PreviewCounts,
                            {{1, counts.wouldWrite}, {2, counts.unchanged}, {3, counts.lockedNow}})
                       .arg(counts.wouldWrite)
                       .arg(counts.unchanged)
                       .arg(counts.lockedNow);
    if (m_result.summary.stopped)
        text +=
            QStringLiteral("  -  ") +
            m_texts
                .get(OwnText::PreviewStopped, {{1, counts.wouldWrite + counts.unchanged + counts.lockedNow}})
                .arg(counts.wouldWrite + counts.unchanged + counts.lockedNow);
    m_counts->setText(text);
}

void PreviewWindow::reject()
{
    if (m_computing) {
        m_stopRequested = true;
        m_closeWhenStopped = true;
        return;
    }
    QDialog::reject();
}

void PreviewWindow::exportCsv()
{
    const std::optional<QString> path =
        m_platform.askSaveFile({.title = m_texts.get(OwnText::ExportTitle),
                                .filter = m_texts.get(OwnText::CsvFilter),
                                .folder = QDir::homePath(),
                                .fileName = m_caption + QStringLiteral(".csv")});
    if (!path || path->isEmpty())
        return;
    // What the table shows, in its order; with a byte-order mark, so that spreadsheets read the accents.
    const QByteArray csv = "\xEF\xBB\xBF" + run::previewCsv(m_filter->shownRows(), m_texts).toUtf8();
    QSaveFile file(*path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() && file.commit();
    if (!written)
        m_platform.showMessage({.text = m_texts.get(OwnText::ExportFailed).arg(*path, file.errorString()),
                                .title = windowTitle(),
                                .icon = MessageIcon::Exclamation});
}

} // namespace valdora::bar

#include "PreviewWindow.h"

#include "ui_frmPreview.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QSaveFile>
#include <QTimer>

namespace valdora::bar {

namespace {

/// Rows are handed to the table at most this often while the preview computes, so that the window
/// stays responsive and the computation is not slowed by repainting.
constexpr int FlushMs = 100;

} // namespace

PreviewWindow::PreviewWindow(const Messages& texts, Platform& platform, const QString& buttonCaption,
                             PreviewSource source, QWidget* parent)
    : QDialog(parent), m_texts(texts), m_platform(platform), m_caption(buttonCaption),
      m_source(std::move(source)), m_ui(std::make_unique<Ui::frmPreview>())
{
    m_ui->setupUi(this);
    setWindowTitle(texts.get(OwnText::PreviewTitle).arg(buttonCaption));

    m_model = new PreviewTableModel(texts, this);
    m_filter = new PreviewFilter(this);
    m_filter->setSourceModel(m_model);
    m_ui->tblPreview->setModel(m_filter);
    // The rows are one line of the font in use, which the form cannot know.
    m_ui->tblPreview->verticalHeader()->setDefaultSectionSize(m_ui->tblPreview->fontMetrics().height() + 6);
    m_ui->tblPreview->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);

    m_ui->chkChangesOnly->setText(texts.get(OwnText::ChangesOnly));
    m_ui->cmdExport->setText(texts.get(OwnText::ExportCsv));
    m_ui->cmdRun->setText(texts.get(OwnText::RunFromPreview));
    m_ui->cmdClose->setText(texts.get(OwnText::ClosePreview));

    connect(m_ui->chkChangesOnly, &QCheckBox::toggled, m_filter, &PreviewFilter::setChangesOnly);
    connect(m_ui->cmdExport, &QPushButton::clicked, this, &PreviewWindow::exportCsv);
    connect(m_ui->cmdRun, &QPushButton::clicked, this, [this] {
        m_runChosen = true;
        accept();
    });
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &PreviewWindow::reject);

    m_ui->lblCounts->setText(texts.get(OwnText::PreviewComputing, {{1, 0}}).arg(0));
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
    m_ui->cmdClose->setText(m_texts.get(OwnText::StopPreview));
    m_sinceFlush.start();
    m_result =
        m_source([this](const run::PreviewRow& row) { take(row); }, [this] { return m_stopRequested; });
    flush();
    m_computing = false;
    m_ui->cmdClose->setText(m_texts.get(OwnText::ClosePreview));
    // A preview that did not start has said why (a message): there is nothing to show.
    if (m_closeWhenStopped || !m_result.summary.started) {
        QDialog::reject();
        return;
    }
    showCounts();
    // Fitted again now that many rows are there: the first row alone would cut longer names.
    m_ui->tblPreview->resizeColumnsToContents();
    m_ui->tblPreview->setSortingEnabled(true);
    m_ui->tblPreview->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_ui->cmdRun->setEnabled(true);
    m_ui->cmdExport->setEnabled(true);
    m_ui->cmdRun->setDefault(true);
    m_ui->cmdRun->setFocus();
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
        m_ui->tblPreview->resizeColumnsToContents();
    if (m_computing)
        m_ui->lblCounts->setText(
            m_texts.get(OwnText::PreviewComputing, {{1, m_contactsSeen}}).arg(m_contactsSeen));
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
    m_ui->lblCounts->setText(text);
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

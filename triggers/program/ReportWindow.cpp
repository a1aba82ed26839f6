#include "ReportWindow.h"

#include "KeelbrookTexts.h"
#include "TriggerListing.h"
#include "TriggerRemoval.h"
#include "ui_frmReport.h"

#include "settings/MessageTable.h"

#include <QCloseEvent>
#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>

namespace valdora::keelbrook {

namespace {

std::array<QString, ReportModel::ColumnCount> baseHeaders(const KeelbrookState& state)
{
    return {state.text(MessageId::ReportFieldColumn), texts::TypeHeader,
            state.text(MessageId::ReportTargetColumn), texts::FieldIdHeader};
}

/// Turns a label's mouse release into a call: the link label has no click of its own.
class ClickFilter final : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> onClick)
        : QObject(parent), m_onClick(std::move(onClick))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_onClick();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

ReportWindow::ReportWindow(KeelbrookState& state, std::function<void()> addTrigger,
                           std::function<void()> closing, QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::frmReport>()), m_state(state), m_model(baseHeaders(state)),
      m_addTrigger(std::move(addTrigger)), m_closing(std::move(closing))
{
    m_ui->setupUi(this);
    m_ui->ListView1->setModel(&m_model);
    QHeaderView* header = m_ui->ListView1->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(ReportModel::DescriptionColumn, QHeaderView::Stretch);
    connect(header, &QHeaderView::sectionClicked, this, &ReportWindow::ListView1_ColumnClick);
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &ReportWindow::cmdAdd_Click);
    connect(m_ui->cmdRemove, &QPushButton::clicked, this, &ReportWindow::cmdRemove_Click);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &ReportWindow::cmdClose_Click);
    m_ui->lblLink->installEventFilter(new ClickFilter(m_ui->lblLink, [this] { lblLink_Click(); }));
    Form_Load();
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::Form_Load()
{
    setWindowTitle(m_state.text(MessageId::TriggerReportTitle));
    m_ui->Label2->setText(m_state.text(MessageId::ActiveDatabase));
    m_ui->Label1->setText(m_state.text(MessageId::TriggersOfDatabase));
    m_ui->cmdAdd->setText(m_state.text(MessageId::AddATrigger));
    m_ui->cmdRemove->setText(m_state.text(MessageId::RemoveTrigger));
    m_ui->cmdClose->setText(m_state.text(MessageId::IntegrateClose));
    m_ui->lblMore->setText(m_state.text(MessageId::MoreAt));
    m_ui->lblLink->setText(MessageTable::makerWebPage());
    m_ui->txtDB->setText(m_state.databasePath());

    Listing listing = listTriggers(m_state);
    m_model.setRows(std::move(listing.rows));
    QHeaderView* header = m_ui->ListView1->header();
    for (int column : {ReportModel::FieldColumn, ReportModel::TypeColumn, ReportModel::FieldIdColumn})
        m_ui->ListView1->resizeColumnToContents(column);
    header->resizeSection(ReportModel::FieldColumn,
                          std::max(header->sectionSize(ReportModel::FieldColumn), 140));
    if (listing.selectedRow)
        selectRow(*listing.selectedRow);
}

std::optional<int> ReportWindow::selectedRow() const
{
    const QModelIndexList rows = m_ui->ListView1->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first().row();
}

void ReportWindow::selectRow(int row)
{
    const QModelIndex index = m_model.index(row, 0);
    m_ui->ListView1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
    m_ui->ListView1->scrollTo(index);
}

void ReportWindow::ListView1_ColumnClick(int column)
{
    m_model.sortByHeader(column);
}

void ReportWindow::cmdRemove_Click()
{
    const RemovalResult result = cmdRemove(m_state, m_model, selectedRow());
    if (result.end != RemovalEnd::Removed)
        return;
    if (result.select) {
        selectRow(*result.select);
        m_ui->ListView1->setFocus();
    } else {
        m_ui->cmdRemove->setEnabled(false);
    }
}

void ReportWindow::cmdAdd_Click()
{
    m_towardsAdd = true;
    close();
    if (m_addTrigger)
        m_addTrigger();
}

void ReportWindow::cmdClose_Click()
{
    close();
}

void ReportWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // The close box ends the program as the Close button does: a report closed any other way than
    // towards the add window would leave the program running with no window to reach.
    if (!m_towardsAdd && m_closing)
        m_closing();
}

void ReportWindow::lblLink_Click()
{
    m_state.session().platform().openDocument(MessageTable::makerWebPage());
}

} // namespace valdora::keelbrook

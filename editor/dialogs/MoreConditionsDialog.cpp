#include "MoreConditionsDialog.h"

#include "DialogPlacement.h"
#include "ui_frmMoreCond.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStringListModel>

namespace valdora::editor {

MoreConditionsDialog::MoreConditionsDialog(const Messages& messages, const FieldListModel& fields,
                                           QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmMoreCond>())
{
    m_ui->setupUi(this);
    setWindowTitle(messages.get(MessageId::SchemeCondition));
    m_ui->fra1->setTitle(messages.get(MessageId::SchemeCondition));
    m_ui->cmdClose->setText(messages.get(MessageId::Ok));
    m_ui->cmdCancel->setText(messages.get(MessageId::Cancel));

    QStringListModel* sourceFields = makeSourceFieldModel(fields, *this);
    m_rows.reserve(ButtonKey::ConditionCount - ConditionPageRows);
    for (int index = ConditionPageRows; index < ButtonKey::ConditionCount; ++index)
        m_rows.emplace_back(*m_ui->rowsLayout, index - ConditionPageRows, index, messages, *sourceFields);
    // The comparison and the value are what a user types most: they take the room to spare.
    m_ui->rowsLayout->setColumnStretch(3, 1);
    m_ui->rowsLayout->setColumnStretch(5, 1);
    // The rows are made after the buttons, so Tab is told to visit the rows first.
    QWidget::setTabOrder(m_rows.back().txtValueTab1(), m_ui->cmdClose);
    QWidget::setTabOrder(m_ui->cmdClose, m_ui->cmdCancel);

    connect(m_ui->cmdClose, &QPushButton::clicked, this, &MoreConditionsDialog::accept);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &MoreConditionsDialog::reject);
}

MoreConditionsDialog::~MoreConditionsDialog() = default;

void MoreConditionsDialog::load(const ConditionKeys& keys) const
{
    for (const ConditionRowWidgets& row : m_rows)
        row.load(keys);
}

void MoreConditionsDialog::store(ConditionKeys& keys) const
{
    for (const ConditionRowWidgets& row : m_rows)
        row.store(keys);
}

MoreConditions::MoreConditions(const Messages& messages, const FieldListModel& fields,
                               const ConditionKeys& fileRows, QWidget* parent)
    : m_messages(messages), m_fields(fields), m_fileRows(fileRows), m_parent(parent)
{}

MoreConditions::~MoreConditions() = default;

bool MoreConditions::show(EditorState& state)
{
    if (!m_dialog)
        m_dialog = std::make_unique<MoreConditionsDialog>(m_messages, m_fields);
    m_dialog->load(state.condition);
    placeOver(*m_dialog, m_parent.data());
    if (m_dialog->exec() == QDialog::Accepted) {
        m_dialog->store(state.condition);
        return true;
    }
    // Unloaded: the entries are gone, and the rows are the file's again until the next opening.
    for (std::size_t index = ConditionPageRows; index < state.condition.rows.size(); ++index)
        state.condition.rows[index] = m_fileRows.rows[index];
    m_dialog.reset();
    return false;
}

} // namespace valdora::editor

#include "MoreMembersDialog.h"

#include "DialogPlacement.h"
#include "ui_frmMoreCombo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStringListModel>

namespace valdora::editor {

MoreMembersDialog::MoreMembersDialog(const Messages& messages, const QList<ComboMember>& members,
                                     QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmMoreCombo>())
{
    m_ui->setupUi(this);
    setWindowTitle(messages.get(MessageId::SchemeCombo));
    m_ui->fra1->setTitle(messages.get(MessageId::SchemeCombo));
    m_ui->cmdClose->setText(messages.get(MessageId::Ok));
    m_ui->cmdCancel->setText(messages.get(MessageId::Cancel));

    QStringListModel* captions = makeMemberCaptionModel(members, *this);
    m_rows.reserve(ButtonKey::ComboCount - ComboPageRows);
    for (int index = ComboPageRows; index < ButtonKey::ComboCount; ++index)
        m_rows.emplace_back(*m_ui->rowsLayout, index - ComboPageRows, index, members, *captions);
    m_ui->rowsLayout->setColumnStretch(1, 1);
    // The rows are made after the buttons, so Tab is told to visit the rows first.
    QWidget::setTabOrder(m_rows.back().cmbButton(), m_ui->cmdClose);
    QWidget::setTabOrder(m_ui->cmdClose, m_ui->cmdCancel);

    connect(m_ui->cmdClose, &QPushButton::clicked, this, &MoreMembersDialog::accept);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &MoreMembersDialog::reject);
}

MoreMembersDialog::~MoreMembersDialog() = default;

void MoreMembersDialog::load(const ComboKeys& keys) const
{
    for (const ComboMemberRowWidgets& row : m_rows)
        row.load(keys);
}

void MoreMembersDialog::store(ComboKeys& keys) const
{
    for (const ComboMemberRowWidgets& row : m_rows)
        row.store(keys);
}

MoreMembers::MoreMembers(const Messages& messages, const ComboKeys& fileRows, QWidget* parent)
    : m_messages(messages), m_fileRows(fileRows), m_parent(parent)
{}

MoreMembers::~MoreMembers() = default;

bool MoreMembers::show(EditorState& state)
{
    if (!m_dialog)
        m_dialog = std::make_unique<MoreMembersDialog>(m_messages, state.comboMembers);
    m_dialog->load(state.combo);
    placeOver(*m_dialog, m_parent.data());
    if (m_dialog->exec() == QDialog::Accepted) {
        m_dialog->store(state.combo);
        return true;
    }
    // Unloaded: the entries are gone, and the rows are the file's again until the next opening.
    for (std::size_t index = ComboPageRows; index < state.combo.members.size(); ++index)
        state.combo.members[index] = m_fileRows.members[index];
    m_dialog.reset();
    return false;
}

} // namespace valdora::editor

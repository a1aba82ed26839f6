#include "ComboMemberRow.h"

#include "RowGrid.h"
#include "RowName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QStringListModel>

#include <stdexcept>

namespace valdora::editor {

namespace {

int checkedIndex(int index)
{
    if (index < 0 || index >= ButtonKey::ComboCount)
        throw std::invalid_argument("a member row's index lies outside the members");
    return index;
}

} // namespace

QStringListModel* makeMemberCaptionModel(const QList<ComboMember>& members, QObject& owner)
{
    QStringList captions;
    captions.reserve(members.size());
    for (const ComboMember& member : members)
        captions.append(member.caption);
    return new QStringListModel(captions, &owner);
}

ComboMemberRowWidgets::ComboMemberRowWidgets(QGridLayout& grid, int gridRow, int index,
                                             const QList<ComboMember>& members,
                                             QStringListModel& memberCaptions)
    : m_index(checkedIndex(index)), m_members(members)
{
    QWidget& owner = gridOwner(grid);

    // The row's check box has no caption of its own: the list beside it names the member.
    m_chkButton = new QCheckBox(&owner);
    m_chkButton->setObjectName(rowName("chkButton", index));

    m_cmbButton = new QComboBox(&owner);
    m_cmbButton->setObjectName(rowName("cmbButton", index));
    m_cmbButton->setModel(&memberCaptions);
    m_cmbButton->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cmbButton->setMinimumContentsLength(14);
    m_cmbButton->setCurrentIndex(-1);

    grid.addWidget(m_chkButton, gridRow, 0);
    grid.addWidget(m_cmbButton, gridRow, 1);
}

void ComboMemberRowWidgets::load(const ComboKeys& keys) const
{
    const ComboSlot& slot = keys.members[static_cast<std::size_t>(m_index)];
    m_chkButton->setChecked(slot.inUse);
    int chosen = -1;
    if (!slot.buttonFileName.isEmpty()) {
        for (qsizetype position = 0; position < m_members.size(); ++position) {
            if (m_members[position].fileName == slot.buttonFileName) {
                chosen = static_cast<int>(position);
                break;
            }
        }
    }
    m_cmbButton->setCurrentIndex(chosen < m_cmbButton->count() ? chosen : -1);
}

void ComboMemberRowWidgets::store(ComboKeys& keys) const
{
    ComboSlot& slot = keys.members[static_cast<std::size_t>(m_index)];
    slot.inUse = m_chkButton->isChecked();
    const int chosen = m_cmbButton->currentIndex();
    slot.buttonFileName = chosen >= 0 && chosen < m_members.size() ? m_members[chosen].fileName : QString();
}

} // namespace valdora::editor

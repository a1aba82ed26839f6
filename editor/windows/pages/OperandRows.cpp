#include "OperandRows.h"

#include "PageControls.h"

#include "editor/dialogs/RowGrid.h"
#include "settings/MessageTable.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>

namespace valdora::editor {

OperandRows::OperandRows(QGridLayout& grid, int count, const OperandNames& names,
                         const RegisterControl& registerControl)
    : QObject(&gridOwner(grid))
{
    QWidget& page = gridOwner(grid);
    for (int i = 0; i < count; ++i) {
        Row& row = m_rows.emplace_back();
        row.optCalcText = named<QRadioButton>(page, names.optText, i);
        row.txtCalc = named<QLineEdit>(page, names.text, i);
        row.optCalcField = named<QRadioButton>(page, names.optField, i);
        row.cmbField = named<QComboBox>(page, names.field, i);
        // Each operand chooses between its own constant and its own field.
        row.group = new QButtonGroup(&page);
        row.group->addButton(row.optCalcText);
        row.group->addButton(row.optCalcField);
        row.cmbField->installEventFilter(this);
        grid.addWidget(row.optCalcText, 2 * i, 0);
        grid.addWidget(row.txtCalc, 2 * i, 1);
        grid.addWidget(row.optCalcField, 2 * i, 2);
        grid.addWidget(row.cmbField, 2 * i, 3);
        registerControl(checkNameOf(names.text, i), row.txtCalc);
        registerControl(checkNameOf(names.field, i), row.cmbField);

        QRadioButton* constant = row.optCalcText;
        QRadioButton* fieldOption = row.optCalcField;
        QObject::connect(row.txtCalc, &QLineEdit::textEdited, constant,
                         [constant] { constant->setChecked(true); });
        QObject::connect(row.cmbField, &QComboBox::activated, fieldOption,
                         [fieldOption] { fieldOption->setChecked(true); });
    }
    grid.setColumnStretch(1, 1);
    grid.setColumnStretch(3, 2);
}

bool OperandRows::eventFilter(QObject* watched, QEvent* event)
{
    // Opening an operand's field list chooses the field for that operand.
    if (event->type() == QEvent::MouseButtonPress) {
        for (const Row& row : m_rows) {
            if (watched == row.cmbField)
                row.optCalcField->setChecked(true);
        }
    }
    return QObject::eventFilter(watched, event);
}

void OperandRows::setCaptions(const Messages& messages) const
{
    for (const Row& row : m_rows) {
        row.optCalcText->setText(messages.get(MessageId::ConditionValue));
        row.optCalcField->setText(messages.get(MessageId::AutoNumberField));
    }
}

void OperandRows::showFields(QAbstractItemModel& sourceFields) const
{
    for (const Row& row : m_rows)
        showFieldList(*row.cmbField, sourceFields);
}

void OperandRows::appendTabOrder(QList<QWidget*>& chain, std::size_t index) const
{
    const Row& row = m_rows.at(index);
    chain << row.optCalcText << row.txtCalc << row.optCalcField << row.cmbField;
}

void OperandRows::loadRow(const Row& row, const Operand& operand)
{
    row.txtCalc->setText(operand.constant);
    selectText(*row.cmbField, operand.field.name);
    row.group->setExclusive(false);
    row.optCalcText->setChecked(operand.source == Operand::Constant);
    row.optCalcField->setChecked(operand.source == Operand::Field);
    row.group->setExclusive(true);
}

void OperandRows::storeRow(const Row& row, Operand& operand)
{
    operand.constant = row.txtCalc->text();
    operand.field = {row.cmbField->currentText(), {}, {}};
    operand.source = row.optCalcText->isChecked()    ? Operand::Constant
                     : row.optCalcField->isChecked() ? Operand::Field
                                                     : NoChoice;
}

} // namespace valdora::editor

#include "LookupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace valdora::host::app {

LookupDialog::LookupDialog(const QStringList& fieldNames, QWidget* parent)
    : QDialog(parent), m_field(new QComboBox), m_match(new QComboBox), m_value(new QLineEdit)
{
    setWindowTitle(tr("Lookup"));
    m_field->addItems(fieldNames);
    m_match->addItem(tr("equals"), int(LookupMatch::Equals));
    m_match->addItem(tr("contains"), int(LookupMatch::Contains));
    m_match->addItem(tr("starts with"), int(LookupMatch::StartsWith));
    m_match->addItem(tr("all contacts"), int(LookupMatch::All));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Field"), m_field);
    layout->addRow(tr("Compare"), m_match);
    layout->addRow(tr("Value"), m_value);
    layout->addRow(buttons);
}

LookupMatch LookupDialog::match() const
{
    return LookupMatch(m_match->currentData().toInt());
}

QString LookupDialog::fieldName() const
{
    return m_field->currentText();
}

QString LookupDialog::value() const
{
    return m_value->text();
}

} // namespace valdora::host::app

#include "FieldDefinitionDialog.h"

#include "host/DatabaseTools.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace valdora::host::app {

FieldDefinitionDialog::FieldDefinitionDialog(HostApplication& application, QWidget* parent)
    : QDialog(parent), m_app(application), m_table(new QTableWidget(0, 6)), m_name(new QLineEdit),
      m_type(new QComboBox), m_decimals(new QSpinBox), m_entry(new QLineEdit), m_exit(new QLineEdit)
{
    setWindowTitle(tr("Define fields"));
    resize(760, 480);
    m_table->setHorizontalHeaderLabels(
        {tr("Id"), tr("Name"), tr("Type"), tr("Decimals"), tr("Entry trigger"), tr("Exit trigger")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setStretchLastSection(true);
    const std::pair<qint16, QString> types[] = {
        {FieldType::Character, tr("Character")}, {FieldType::Numeric, tr("Numeric")},
        {FieldType::Currency, tr("Currency")},   {FieldType::Date, tr("Date")},
        {FieldType::Time, tr("Time")},           {FieldType::Url, tr("Web address")}};
    for (const auto& [code, name] : types)
        m_type->addItem(name, int(code));
    m_decimals->setRange(0, 10);

    auto* add = new QGroupBox(tr("New field"));
    auto* addLayout = new QFormLayout(add);
    addLayout->addRow(tr("Name"), m_name);
    addLayout->addRow(tr("Type"), m_type);
    addLayout->addRow(tr("Decimals"), m_decimals);
    auto* addButton = new QPushButton(tr("&Add field"));
    addLayout->addRow(addButton);

    auto* triggers = new QGroupBox(tr("Triggers of the selected field"));
    auto* triggerLayout = new QFormLayout(triggers);
    triggerLayout->addRow(tr("Entry"), m_entry);
    triggerLayout->addRow(tr("Exit"), m_exit);
    auto* saveButton = new QPushButton(tr("&Save triggers"));
    triggerLayout->addRow(saveButton);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(add);
    layout->addWidget(triggers);
    layout->addWidget(close);

    connect(addButton, &QPushButton::clicked, this, &FieldDefinitionDialog::addField);
    connect(saveButton, &QPushButton::clicked, this, &FieldDefinitionDialog::saveTriggers);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &FieldDefinitionDialog::showSelected);
    refresh();
}

void FieldDefinitionDialog::attempt(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        QMessageBox::warning(this, windowTitle(), failure.description());
    }
    refresh();
}

void FieldDefinitionDialog::refresh()
{
    const FieldList& fields = m_app.fields();
    const QList<FieldId> ids = m_app.fieldIds();
    m_table->setRowCount(int(ids.size()));
    for (int row = 0; row < ids.size(); ++row) {
        const FieldId id = ids.at(row);
        const QStringList cells{QString::number(id),
                                fields.Label(id),
                                QString::number(fields.Type(id)),
                                QString::number(fields.DecimalPlaces(id)),
                                fields.EntryTrigger(id),
                                fields.ExitTrigger(id)};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
}

FieldId FieldDefinitionDialog::selected() const
{
    const auto rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? FieldId(0) : FieldId(m_table->item(rows.first().row(), 0)->text().toShort());
}

void FieldDefinitionDialog::showSelected()
{
    const FieldId id = selected();
    m_entry->setText(id > 0 ? m_app.fields().EntryTrigger(id) : QString());
    m_exit->setText(id > 0 ? m_app.fields().ExitTrigger(id) : QString());
}

void FieldDefinitionDialog::addField()
{
    attempt([this] {
        auto* fields = dynamic_cast<ToolFieldList*>(&m_app.fields());
        if (fields == nullptr)
            throw HostFailure(ErrorNumber::InvalidProcedureCall, tr("This database cannot add fields"));
        if (m_name->text().trimmed().isEmpty())
            throw HostFailure(ErrorNumber::InvalidProcedureCall, tr("A new field needs a name"));
        fields->addField(m_name->text().trimmed(), qint16(m_type->currentData().toInt()),
                         qint16(m_decimals->value()));
        m_name->clear();
    });
}

void FieldDefinitionDialog::saveTriggers()
{
    const FieldId id = selected();
    if (id <= 0)
        return;
    attempt([this, id] {
        m_app.fields().EntryTrigger(id, m_entry->text());
        m_app.fields().ExitTrigger(id, m_exit->text());
    });
}

} // namespace valdora::host::app

#pragma once

#include "HostApplication.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace valdora::host::app {

/// The field definitions of the open database: every field with its type, decimals and triggers;
/// adds a field (name, type, decimals) and sets the entry and exit triggers of the selected one.
class FieldDefinitionDialog : public QDialog {
    Q_OBJECT
public:
    FieldDefinitionDialog(HostApplication& application, QWidget* parent = nullptr);

private:
    void refresh();
    void showSelected();
    void addField();
    void saveTriggers();
    FieldId selected() const;
    void attempt(const std::function<void()>& action);

    HostApplication& m_app;
    QTableWidget* m_table;
    QLineEdit* m_name;
    QComboBox* m_type;
    QSpinBox* m_decimals;
    QLineEdit* m_entry;
    QLineEdit* m_exit;
};

} // namespace valdora::host::app

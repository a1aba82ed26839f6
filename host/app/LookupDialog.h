#pragma once

#include "HostApplication.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace valdora::host::app {

/// Asks for a lookup by one field's value: the field, how to compare, the value; or all contacts.
class LookupDialog : public QDialog {
    Q_OBJECT
public:
    LookupDialog(const QStringList& fieldNames, QWidget* parent = nullptr);

    LookupMatch match() const;
    QString fieldName() const;
    QString value() const;

private:
    QComboBox* m_field;
    QComboBox* m_match;
    QLineEdit* m_value;
};

} // namespace valdora::host::app

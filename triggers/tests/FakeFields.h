#pragma once

#include "host/FieldList.h"

#include <QMap>

namespace valdora::triggers::test {

/// A field list in memory: fields by id, each with a type, a label and its two triggers. Like the
/// host, it refuses to read or write the triggers of an id that names no field.
class FakeFields final : public host::FieldList {
public:
    struct Field {
        qint16 type = 1;
        QString label;
        QString entry;
        QString exit;
    };

    void add(host::FieldId id, qint16 type, const QString& label)
    {
        m_fields.insert(id, {type, label, {}, {}});
    }
    /// Makes Count report more fields than there are.
    void overstateCount(qint16 extra) { m_extraCount = extra; }
    Field& at(host::FieldId id) { return m_fields[id]; }

    qint16 Count(Where) const override { return qint16(m_fields.size() + m_extraCount); }
    bool Exists(const QString&, Where) const override { return false; }
    host::FieldId FieldID(const QString&, Where) const override { return -1; }
    host::FieldId Id(qint16 number, Where) const override { return m_fields.contains(number) ? number : -1; }
    qint16 Type(host::FieldId id, Where) const override { return m_fields.value(id, {-1, {}, {}, {}}).type; }
    qint16 DecimalPlaces(host::FieldId, Where) const override { return 0; }
    QString Label(host::FieldId id, Where where) const override { return field(id, where).label; }
    QString EntryTrigger(host::FieldId id, Where where) const override { return field(id, where).entry; }
    void EntryTrigger(host::FieldId id, const QString& text, Where where) override
    {
        field(id, where);
        m_fields[id].entry = text;
    }
    QString ExitTrigger(host::FieldId id, Where where) const override { return field(id, where).exit; }
    void ExitTrigger(host::FieldId id, const QString& text, Where where) override
    {
        field(id, where);
        m_fields[id].exit = text;
    }

private:
    const Field& field(host::FieldId id, Where where) const
    {
        const auto found = m_fields.constFind(id);
        if (found == m_fields.constEnd())
            throw host::HostFailure(host::HostError::UnknownField, QStringLiteral("no field %1").arg(id),
                                    where);
        return *found;
    }

    QMap<host::FieldId, Field> m_fields;
    qint16 m_extraCount = 0;
};

} // namespace valdora::triggers::test

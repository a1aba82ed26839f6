#pragma once

#include "host/FieldList.h"

#include <QList>

#include <map>

namespace valdora::editor::test {

/// A host field list held in memory: fields by id, each with its label, type and decimal places.
/// `count` may be set above the fields present, as a host may report; `fails` makes every call
/// throw, as the host does without an open database.
class FakeFieldList : public host::FieldList {
public:
    struct Field {
        QString label;
        qint16 type = 1;
        qint16 decimals = 0;
    };

    void add(host::FieldId id, QString label, qint16 type = 1, qint16 decimals = 0)
    {
        m_fields[id] = {std::move(label), type, decimals};
        count = static_cast<qint16>(m_fields.size());
    }

    qint16 count = 0;
    bool fails = false;

    qint16 Count(Where where) const override
    {
        check(where);
        return count;
    }
    bool Exists(const QString& name, Where where) const override { return FieldID(name, where) != -1; }
    host::FieldId FieldID(const QString& name, Where where) const override
    {
        check(where);
        for (const auto& [id, field] : m_fields) {
            if (!name.isEmpty() && field.label.compare(name, Qt::CaseInsensitive) == 0)
                return id;
        }
        return -1;
    }
    host::FieldId Id(qint16 number, Where where) const override
    {
        check(where);
        return m_fields.count(number) ? number : host::FieldId(-1);
    }
    qint16 Type(host::FieldId id, Where where) const override
    {
        check(where);
        return m_fields.count(id) ? m_fields.at(id).type : qint16(-1);
    }
    qint16 DecimalPlaces(host::FieldId id, Where where) const override
    {
        check(where);
        return m_fields.count(id) ? m_fields.at(id).decimals : qint16(0);
    }
    QString Label(host::FieldId id, Where where) const override
    {
        check(where);
        return m_fields.count(id) ? m_fields.at(id).label : QString();
    }
    QString EntryTrigger(host::FieldId, Where) const override { return {}; }
    void EntryTrigger(host::FieldId, const QString&, Where) override {}
    QString ExitTrigger(host::FieldId, Where) const override { return {}; }
    void ExitTrigger(host::FieldId, const QString&, Where) override {}

    mutable int calls = 0;

private:
    void check(const Where& where) const
    {
        ++calls;
        if (fails)
            throw host::HostFailure(3021, QStringLiteral("No current record."), where);
    }

    std::map<host::FieldId, Field> m_fields;
};

} // namespace valdora::editor::test

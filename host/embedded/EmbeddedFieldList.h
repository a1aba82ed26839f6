#pragma once

#include "Connection.h"
#include "host/common/CachedFieldList.h"

namespace valdora::host::embedded {

/// The field definitions of one database file, kept in memory.
class EmbeddedFieldList final : public CachedFieldList {
public:
    explicit EmbeddedFieldList(Connection& connection, Where where = Where::current());

private:
    Fields readFields(Where where) const override;
    QString readTrigger(FieldId id, Trigger trigger, Where where) const override;
    void writeTrigger(FieldId id, Trigger trigger, const QString& text, Where where) override;
    FieldId storeField(const QString& name, qint16 type, qint16 decimals, Where where) override;

    Connection& m_connection;
};

} // namespace valdora::host::embedded

#include "ViewFieldReader.h"

namespace valdora::engine {

namespace {

qint16 storedNumber(const QString& text, const QString& key, Where where)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < -32768 || value > 32767)
        throw Failure(ErrorNumber::TypeMismatch,
                      QStringLiteral("Type mismatch (key %1 holds \"%2\")").arg(key, text), where);
    return static_cast<qint16>(value);
}

} // namespace

FieldRef ViewFieldReader::resolve(const FieldChoice& field, const FieldKey& key, FieldUse,
                                  const QString& idDefault, Where where)
{
    const qint16 id = storedNumber(field.id.isEmpty() ? idDefault : field.id, key.id(), where);
    const QString typeText = field.type.isEmpty() ? QStringLiteral("-1") : field.type;
    bool ok = false;
    const int type = typeText.trimmed().toInt(&ok);
    const qint16 storedType = ok ? static_cast<qint16>(type) : qint16(-1);
    if (id == -2)
        return {FieldRefState::NotUpgraded, id, storedType};
    return {id > 0 ? FieldRefState::Found : FieldRefState::Unnamed, id, storedType};
}

std::optional<QString> ViewFieldReader::read(host::FieldId id, Where where)
{
    QString value = m_view.GetField(id, where);
    if (value.isEmpty() && m_view.GetLastError() == host::HostError::ViewFieldUnknown)
        return std::nullopt;
    return value;
}

} // namespace valdora::engine

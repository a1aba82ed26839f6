#include "EditorHost.h"

#include "core/Failure.h"

namespace valdora::editor {

std::optional<qint16> liveFieldType(const host::FieldList* fields, const QString& name)
{
    if (name.isEmpty())
        return qint16(-1);
    if (!fields)
        return std::nullopt;
    try {
        const host::FieldId id = fields->FieldID(name);
        if (id == -1)
            return std::nullopt;
        return fields->Type(id);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

} // namespace valdora::editor

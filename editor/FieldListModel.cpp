#include "FieldListModel.h"

#include <algorithm>
#include <array>
#include <limits>

namespace valdora::editor {

namespace {

// Host type codes a scheme cannot read from.
constexpr std::array<qint16, 5> NotSourceTypes{7, 10, 11, 12, 14};
// Slots of the database's own bookkeeping fields.
constexpr std::array<qint16, 4> NotSourceSlots{125, 201, 202, 203};

// The ids that may be targets, as closed ranges; the last one is open above.
struct IdRange {
    int first;
    int last;
};
constexpr std::array<IdRange, 7> TargetIds{{{7, 24},
                                            {27, 40},
                                            {45, 77},
                                            {94, 124},
                                            {126, 199},
                                            {204, 499},
                                            {503, std::numeric_limits<host::FieldId>::max()}}};

template <class Array, class Value> bool contains(const Array& values, Value value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

} // namespace

FieldListModel FieldListModel::fromHost(const host::FieldList& hostFields)
{
    QList<FieldEntry> fields;
    try {
        const int count = hostFields.Count();
        for (int slot = 1; fields.size() < count && slot <= std::numeric_limits<host::FieldId>::max();
             ++slot) {
            const auto number = static_cast<host::FieldId>(slot);
            const host::FieldId id = hostFields.Id(number);
            if (id == -1)
                continue;
            fields.append({hostFields.Label(id), id, hostFields.Type(id), hostFields.DecimalPlaces(id)});
        }
    } catch (const host::HostFailure&) {
        // No database open: the lists stay empty.
        return {};
    }
    return FieldListModel(std::move(fields));
}

bool FieldListModel::isSourceField(qint16 slot, qint16 type)
{
    return !contains(NotSourceTypes, type) && !contains(NotSourceSlots, slot);
}

bool FieldListModel::isTargetField(host::FieldId id)
{
    return std::any_of(TargetIds.begin(), TargetIds.end(),
                       [id](const IdRange& range) { return id >= range.first && id <= range.last; });
}

QStringList FieldListModel::Field_List(FieldListMode mode) const
{
    QStringList names;
    for (const FieldEntry& field : m_fields) {
        if (mode == FieldListMode::Source ? isSourceField(field.id, field.type) : isTargetField(field.id))
            names.append(field.name);
    }
    return names;
}

bool FieldListModel::offers(FieldListMode mode, const QString& name) const
{
    return !name.isEmpty() && Field_List(mode).contains(name);
}

std::optional<FieldEntry> FieldListModel::find(const QString& name) const
{
    if (name.isEmpty())
        return std::nullopt;
    const auto found = std::find_if(m_fields.begin(), m_fields.end(),
                                    [&](const FieldEntry& field) { return field.name == name; });
    return found == m_fields.end() ? std::nullopt : std::optional(*found);
}

FieldChoice FieldListModel::choiceOf(const QString& name) const
{
    const std::optional<FieldEntry> field = find(name);
    if (!field)
        return {name, QStringLiteral("-1"), QStringLiteral("-1")};
    return {name, QString::number(field->id), QString::number(field->type)};
}

} // namespace valdora::editor

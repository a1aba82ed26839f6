#include "FieldChoices.h"

#include <algorithm>
#include <array>
#include <limits>

namespace valdora::triggers {

namespace {

constexpr std::array<qint16, 7> TypesWithoutTrigger{0, 7, 10, 11, 12, 13, 14};
constexpr std::array<qint16, 4> IndexesWithoutTrigger{125, 201, 202, 203};

} // namespace

bool canCarryTrigger(qint16 index, qint16 type)
{
    return std::find(TypesWithoutTrigger.cbegin(), TypesWithoutTrigger.cend(), type) ==
               TypesWithoutTrigger.cend() &&
           std::find(IndexesWithoutTrigger.cbegin(), IndexesWithoutTrigger.cend(), index) ==
               IndexesWithoutTrigger.cend();
}

QList<TriggerFieldChoice> Field_List(const host::FieldList& fields, KeelbrookTrace& trace)
{
    trace.enter(QStringLiteral("Field_List"));
    QList<TriggerFieldChoice> choices;
    const qint16 count = fields.Count();
    trace.reach(1);
    qint16 counted = 0;
    // The last index a 16-bit field id can name ends the search too: a count larger than the fields
    // there are would otherwise keep it going for ever.
    for (qint16 index = 1; counted < count; ++index) {
        const host::FieldId id = fields.Id(index);
        if (id != -1) {
            ++counted;
            if (canCarryTrigger(index, fields.Type(index)))
                choices.append({id, fields.Label(id)});
        }
        if (index == std::numeric_limits<qint16>::max())
            break;
    }
    trace.reach(2);
    return choices;
}

} // namespace valdora::triggers

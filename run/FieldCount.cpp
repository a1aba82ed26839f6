#include "FieldCount.h"

#include "settings/UserKey.h"

#include <limits>

namespace valdora::run {

int countFields(const host::FieldList& fields)
{
    const int count = fields.Count();
    int found = 0;
    int last = 0;
    // Ids are 16-bit, so the scan ends even when the list counts more fields than it can give.
    for (int number = 1; number <= std::numeric_limits<qint16>::max(); ++number) {
        if (fields.Id(static_cast<qint16>(number)) != -1) {
            ++found;
            last = number;
        }
        if (found >= count)
            break;
    }
    return last;
}

void storeMaxFields(const UserSettings& settings, int maxFields)
{
    settings.set(Application::Valdora, UserKey::Settings, UserKey::MaxFields, QString::number(maxFields));
}

int storedMaxFields(const UserSettings& settings, int whenAbsent)
{
    return settings
        .get(Application::Valdora, UserKey::Settings, UserKey::MaxFields, QString::number(whenAbsent))
        .toInt();
}

} // namespace valdora::run

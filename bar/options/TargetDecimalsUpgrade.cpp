#include "TargetDecimalsUpgrade.h"

#include "host/HostTypes.h"
#include "settings/ButtonFile.h"
#include "settings/ButtonReaders.h"

#include <limits>

namespace valdora::bar {

namespace {
/// The first version whose buttons keep the decimals of a numeric target.
const QString FirstVersionWithTargetDecimals = QStringLiteral("310");
} // namespace

bool targetDecimalsDue(const QString& storedVersion)
{
    // The version has always been compared as text.
    return QString::compare(storedVersion, FirstVersionWithTargetDecimals) < 0;
}

int upgradeTargetDecimals(const IniLib& ini, const QString& buttonFolder, const QStringList& buttonFiles,
                          const host::FieldList& fields)
{
    int written = 0;
    for (const QString& fileName : buttonFiles) {
        const ButtonFile button = ButtonFile::inFolder(ini, buttonFolder, fileName);
        bool isNumber = false;
        const int id = readTarget(button).id.trimmed().toInt(&isNumber);
        if (!isNumber || id <= 0 || id > std::numeric_limits<host::FieldId>::max())
            continue;
        qint16 decimals = 0;
        try {
            if (fields.Type(host::FieldId(id)) != host::FieldType::Numeric)
                continue;
            decimals = fields.DecimalPlaces(host::FieldId(id));
        } catch (const host::HostFailure&) {
            continue;
        }
        if (!button.write(ButtonKey::TargetDecimals, QString::number(decimals)))
            throw Failure(ErrorNumber::PathFileAccessError,
                          standardDescription(ErrorNumber::PathFileAccessError) + QStringLiteral(": ") +
                              button.path());
        ++written;
    }
    return written;
}

} // namespace valdora::bar

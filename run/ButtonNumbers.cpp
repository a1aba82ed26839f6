#include "ButtonNumbers.h"

#include "core/Failure.h"

#include <limits>

namespace valdora::run {

qint16 wholeNumber(const ButtonFile& button, const QString& key, const QString& stored, qint16 defaultValue)
{
    const QString text = stored.trimmed();
    if (text.isEmpty())
        return defaultValue;
    bool whole = false;
    const int number = text.toInt(&whole);
    if (whole && number >= std::numeric_limits<qint16>::min() && number <= std::numeric_limits<qint16>::max())
        return static_cast<qint16>(number);
    throw Failure(ErrorNumber::TypeMismatch,
                  QStringLiteral("The button %1 has the %2 \"%3\", which is not a whole number; check the "
                                 "settings for this button")
                      .arg(button.fileName(), key, text.left(40)));
}

} // namespace valdora::run

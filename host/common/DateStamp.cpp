#include "DateStamp.h"

#include <QDateTime>

namespace valdora::host {

QString currentStamp()
{
    // Formatting a local time is costly and the text changes once a second: keep the last one.
    thread_local qint64 second = -1;
    thread_local QString text;
    const qint64 current = QDateTime::currentSecsSinceEpoch();
    if (current != second) {
        second = current;
        text = QDateTime::fromSecsSinceEpoch(current).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return text;
}

} // namespace valdora::host

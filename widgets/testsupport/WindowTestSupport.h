#pragma once

#include "settings/MessageTable.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <ostream>

namespace valdora::test {

/// A language of the message table, for table-driven tests.
struct Language {
    const char* name;
    qint16 base; ///< 300, 1300 or 2300
};

inline const Language English{"English", 300};
inline const Language French{"French", 1300};
inline const Language German{"German", 2300};

void PrintTo(const Language& language, std::ostream* out);

/// The text of an English row number in the given language, straight from the table.
QString rowText(const Language& language, int englishRow);

/// Saves a picture of the window into the screenshot folder of the build.
void saveScreenshot(QWidget& window, const QString& name);

/// Fails for every shown label or button of the window whose text does not fit its size.
void expectNothingClipped(const QWidget& window);

/// The object names of the window's widgets in the order Tab visits them, starting at `first` and
/// keeping only the names in `wanted`.
QStringList tabOrder(QWidget& first, const QStringList& wanted);

/// Runs `action` on the modal window that is about to open, once it is shown.
void inNextModal(std::function<void(QWidget&)> action);
/// The same for the modal window of that object name, once it is the active one (another modal
/// window, such as the one that opens it, may be active before).
void inNextModal(const QString& objectName, std::function<void(QWidget&)> action);

/// Clicks the named button (or the label, which has no click of its own) of a window.
void click(QWidget& window, const QString& name);

} // namespace valdora::test

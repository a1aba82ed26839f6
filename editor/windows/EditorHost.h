#pragma once

#include "host/FieldList.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace valdora::editor {

/// What the editor needs of the bar that opened it: its buttons, the open database, the host's field
/// list, and the bar's reactions to a save and to a launch of Keelbrook. The editor knows no more of
/// the bar than this.
class EditorHost {
public:
    virtual ~EditorHost() = default;

    /// The button files on the bar, in its order.
    virtual QStringList buttonFiles() const = 0;
    /// The last button file listed or created (of any database): a new button is numbered after it.
    virtual QString lastButtonFile() const = 0;
    /// The open database's path as the host reports it; throws Failure when the host cannot give it.
    virtual QString databasePath() const = 0;
    /// The field definitions of the open database; nullptr without one (the field lists stay empty).
    virtual const host::FieldList* fields() const = 0;
    /// The bar shows the saved button: a new one is added, a changed one takes its caption.
    virtual void buttonSaved(const QString& fileName, bool newButton) = 0;
    /// Sets the bar's launch-Keelbrook flag.
    virtual void setLaunchKeelbrook() = 0;
    /// Starts the bar's shutdown once the editor has closed (the host closes, then Keelbrook starts
    /// when its flag is set).
    virtual void startShutdown() = 0;

    /// Whether the bar offers the settings-file location and integration windows.
    virtual bool offersOptions() const { return false; }
    /// The settings-file location window over `parent`.
    virtual void settingsLocation(QWidget* /*parent*/) {}
    /// The integration window over `parent`; true when the user asked for the host's restart (the
    /// bar's flag is then set, and the editor starts the shutdown once it has closed).
    virtual bool integrate(QWidget* /*parent*/) { return false; }
    /// The bar's start-up and close options over `parent`: they are the bar's, so the bar shows them.
    virtual void startOptions(QWidget* /*parent*/) {}
    /// The language choice over `parent`, shown by the bar, whose start-up asks the same question.
    virtual void languages(QWidget* /*parent*/) {}
};

/// The host's type code of the field of this name, asked of the host when it is needed: -1 for the
/// empty name (no target), nullopt when the host cannot give it or knows no such field.
std::optional<qint16> liveFieldType(const host::FieldList* fields, const QString& name);

} // namespace valdora::editor

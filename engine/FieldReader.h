#pragma once

#include "host/HostTypes.h"
#include "host/UserList.h"
#include "settings/ButtonModel.h"

#include <QString>

#include <optional>

namespace valdora::engine {

/// What a field reference of a button file came to.
enum class FieldRefState {
    Unnamed,     ///< no field chosen (an empty name, or an id that is not above 0)
    Missing,     ///< a field is named but the open database has none of that name
    Found,       ///< a field of the database
    NotUpgraded, ///< the file predates the stored field ids (the id key is absent)
};

/// A field reference resolved once per run: its id and host type code.
struct FieldRef {
    FieldRefState state = FieldRefState::Unnamed;
    host::FieldId id = -1;
    qint16 type = -1;
};

/// The keys that name one field in a button file: "<base><index>" holds the field name,
/// "<base>ID<index>" and "<base>Type<index>" its id and type ("CalcField2", "CalcFieldID2",
/// "CalcFieldType2"; without an index "DateField", "DateFieldID", "DateFieldType").
struct FieldKey {
    QString base;
    int index = -1;

    QString name() const { return base + suffix(); }
    QString id() const { return ButtonKey::idOf(base) + suffix(); }
    QString type() const { return ButtonKey::typeOf(base) + suffix(); }

private:
    QString suffix() const { return index >= 0 ? QString::number(index) : QString(); }
};

/// Whether a scheme insists that a named field exists.
enum class FieldUse { Required, Optional };

/// How the engine reaches the fields of a contact. Valdora resolves field names through the host's
/// field list and reads the contact table after making the contact current; ValdoraAuto takes field
/// ids and types from the "...ID"/"...Type" keys and reads the contact on screen through the view.
class FieldReader {
public:
    virtual ~FieldReader() = default;

    /// Makes a contact the one that reads address; false when the host cannot reach it (the caller
    /// then shows message 474). A reader of the contact on screen always succeeds.
    virtual bool makeCurrent(const host::ContactId& id, Where where = Where::current()) = 0;
    /// Resolves the field that a button file names, read under `key` (whose name a failure names). A
    /// Required field with an empty name is Missing for the name-based reader. `idDefault` is what an
    /// absent or empty id reads as for the id-based reader ("-2" marks a file saved before field ids
    /// were stored); an absent or empty type reads as "-1".
    virtual FieldRef resolve(const FieldChoice& field, const FieldKey& key, FieldUse use,
                             const QString& idDefault = QStringLiteral("-1"),
                             Where where = Where::current()) = 0;
    /// A field of the current contact; nullopt when the host does not know the field.
    virtual std::optional<QString> read(host::FieldId id, Where where = Where::current()) = 0;
    /// The users of the database, for turning a user id into a name; nullptr when this reader has
    /// none (user-type fields are then used as they are stored).
    virtual host::UserList* users() = 0;
    /// True when a condition on the field named "Record Manager" compares the user's name rather than
    /// the stored user id.
    virtual bool translatesRecordManager() const = 0;
};

} // namespace valdora::engine

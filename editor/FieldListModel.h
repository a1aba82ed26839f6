#pragma once

#include "host/FieldList.h"
#include "settings/ButtonModel.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace valdora::editor {

/// Which fields a field list of the editor offers.
enum class FieldListMode {
    /// Fields a scheme reads (the AutoNumber field part, conditions, operands, the Age date field).
    Source = 0,
    /// Fields a button may write: the target list.
    Target = 1,
};

/// One field of the open database as the host's field list reports it.
struct FieldEntry {
    QString name; ///< the field's label, the name the lists show and the button files store
    host::FieldId id = -1;
    qint16 type = -1;    ///< the host's type code
    qint16 decimals = 0; ///< the host's decimal places (kept for numeric targets)

    bool operator==(const FieldEntry&) const = default;
};

/// The fields of the open database, read from the host once when the editor opens; every field list
/// of the editor and of its dialogs is filled from this one value.
class FieldListModel {
public:
    FieldListModel() = default;
    explicit FieldListModel(QList<FieldEntry> fields) : m_fields(std::move(fields)) {}

    /// Walks the host's field slots 1, 2, 3, ... until as many fields as the host counts have been
    /// found (a slot holds a field when its Id is not -1). The walk ends at the last slot a field id
    /// can name, so a count larger than the fields present cannot make it endless. Without an open
    /// database (the host fails) the model is empty.
    static FieldListModel fromHost(const host::FieldList& fields);

    /// All fields, in slot order.
    const QList<FieldEntry>& fields() const { return m_fields; }

    /// The names a list of this mode offers, in slot order.
    QStringList Field_List(FieldListMode mode) const;
    /// True when a list of this mode offers this name (exactly as shown).
    bool offers(FieldListMode mode, const QString& name) const;

    /// The field of this name; nullopt for the empty name and for a name the host does not know.
    std::optional<FieldEntry> find(const QString& name) const;
    /// The three stored keys of a field reference: its name, id and type as decimal text. A name the
    /// host does not know (the empty one included) gets the host's answer for it: id and type -1.
    FieldChoice choiceOf(const QString& name) const;

    /// Whether a field of this slot and type is offered as a source field.
    static bool isSourceField(qint16 slot, qint16 type);
    /// Whether a field of this id may be a target.
    static bool isTargetField(host::FieldId id);

private:
    QList<FieldEntry> m_fields;
};

} // namespace valdora::editor

#include "ContactColumns.h"

#include "host/ContactTable.h"

namespace valdora::host::test {

QStringList fieldOfEveryContact(Database& database, const QString& field)
{
    ContactTable& contacts = database.Contact();
    const FieldId id = contacts.Fields().FieldID(field);
    contacts.Query(QString());
    QStringList values;
    for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
        values << contacts.Data(id);
    return values;
}

QString writeFieldOf(Database& database, const QString& contact, const QString& field, const QString& value)
{
    ContactTable& contacts = database.Contact();
    contacts.Goto(contact);
    contacts.Edit();
    contacts.SetDataEx({contacts.Fields().FieldID(field)}, {value});
    return contacts.Update();
}

} // namespace valdora::host::test

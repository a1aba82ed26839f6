#pragma once

#include "auto/AutoProgram.h"

#include <QMap>
#include <QStringList>

#include <memory>

namespace valdora::autorun::test {

/// A host in the test's memory: one contact on screen with a few fields, and a log of every call the
/// program makes, in order, so that tests can check what is asked and when.
struct FakeHostState {
    QStringList calls;
    int registerResult = 1;
    bool hostRunning = true;
    bool databaseOpen = true;
    QString databasePath = QStringLiteral("/data/Contacts/sales.vdb");
    QString contactId = QStringLiteral("ID0000000001");
    QMap<host::FieldId, QString> fields;
    /// The value typed into a field and not saved yet; Command(104) saves it.
    std::optional<std::pair<host::FieldId, QString>> typed;

    /// The factories a program under test creates its host objects with.
    AutoHostFactories factories();
};

} // namespace valdora::autorun::test

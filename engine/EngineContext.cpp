#include "EngineContext.h"

namespace valdora::engine {

ButtonFile EngineContext::keys(const QString& buttonFileName) const
{
    return ButtonFile(session.ini(), session.buttonFilePath(buttonFileName));
}

ButtonValue EngineContext::memberButton(const QString& buttonFileName, Scheme scheme) const
{
    // No folder for the editor's default counter file: the engine names its own by the button file
    // (AutoNumberScheme::defaultCounterFile) and never takes that key from here.
    return loadButtonAs(keys(buttonFileName), scheme, {});
}

bool EngineContext::reachContact(const host::ContactId& id, Where where)
{
    if (reader.makeCurrent(id, where))
        return true;
    session.showMessage(session.messages().get(MessageId::ContactNotReachable));
    unloadRequested = true;
    return false;
}

std::optional<QString> EngineContext::fieldValue(host::FieldId id, Where where)
{
    const QString computed = fieldValues.value(id);
    if (!computed.isEmpty())
        return computed;
    return reader.read(id, where);
}

void EngineContext::showInvalidData()
{
    showBadData(session.messages().get(MessageId::InvalidButtonData));
}

void EngineContext::showBadData(const QString& text)
{
    memberFailed = true;
    session.showMessage(text);
}

} // namespace valdora::engine

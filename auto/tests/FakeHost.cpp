#include "FakeHost.h"

namespace valdora::autorun::test {

namespace {

class FakeEventControl final : public host::EventControl {
public:
    explicit FakeEventControl(FakeHostState& state) : m_state(state) {}
    int Register(int flags) override
    {
        m_state.calls << QStringLiteral("Register(%1)").arg(flags);
        return m_state.registerResult;
    }
    void Unregister() override { m_state.calls << QStringLiteral("Unregister"); }
    bool IsHostRunning() override
    {
        m_state.calls << QStringLiteral("IsHostRunning");
        return m_state.hostRunning;
    }

private:
    FakeHostState& m_state;
};

class FakeView final : public host::ContactView {
public:
    explicit FakeView(FakeHostState& state) : m_state(state) {}
    host::ContactId GetCurrentID(Where) const override
    {
        m_state.calls << QStringLiteral("GetCurrentID");
        return m_state.contactId;
    }
    QString GetField(host::FieldId id, Where) override
    {
        m_state.calls << QStringLiteral("GetField(%1)").arg(id);
        m_lastError = m_state.fields.contains(id) ? 0 : host::HostError::ViewFieldUnknown;
        return m_state.fields.value(id);
    }
    void SetField(host::FieldId id, const QString& value, Where) override
    {
        m_state.calls << QStringLiteral("SetField(%1,%2)").arg(id).arg(value);
        m_state.fields[id] = value;
    }
    int GetLastError() const override { return m_lastError; }
    bool hasUnsavedChanges(Where = Where::current()) const override { return false; }

private:
    FakeHostState& m_state;
    int m_lastError = 0;
};

class FakeApplication final : public host::Application {
public:
    explicit FakeApplication(FakeHostState& state) : m_state(state) {}
    void OpenFile(const QString& path, Where) override
    {
        m_state.calls << QStringLiteral("OpenFile(%1)").arg(path);
    }
    bool IsDBOpen(Where) const override
    {
        m_state.calls << QStringLiteral("IsDBOpen");
        return m_state.databaseOpen;
    }
    QString GetOpenDBName(Where) const override
    {
        m_state.calls << QStringLiteral("GetOpenDBName");
        return m_state.databasePath;
    }
    std::unique_ptr<host::ContactView> CreateView(int kind, const QString& name, Where) override
    {
        m_state.calls << QStringLiteral("CreateView(%1,%2)").arg(kind).arg(name);
        return std::make_unique<FakeView>(m_state);
    }
    void SaveCurrentLookup(const QString&, Where) override {}
    QString GetAppPath(Where) const override { return {}; }
    void Command(int command, Where) override
    {
        m_state.calls << QStringLiteral("Command(%1)").arg(command);
        if (command == 104 && m_state.typed) {
            m_state.fields[m_state.typed->first] = m_state.typed->second;
            m_state.typed.reset();
        }
    }

private:
    FakeHostState& m_state;
};

} // namespace

AutoHostFactories FakeHostState::factories()
{
    return {[this] { return std::make_unique<FakeEventControl>(*this); },
            [this] { return std::make_unique<FakeApplication>(*this); }};
}

} // namespace valdora::autorun::test

#include "PreviewRoad.h"

#include "run/FieldCount.h"
#include "run/ScopeContacts.h"
#include "run/TargetDecimals.h"

#include "engine/TableFieldReader.h"
#include "engine/ValueEngine.h"
#include "settings/ButtonReaders.h"

namespace valdora::run {

PreviewRoad::PreviewRoad(const RoadParts& parts, ScopeChooser* scopes, RowSink sink,
                         std::function<bool()> stopRequested)
    : ContactRoad(parts), m_scopes(scopes), m_sink(std::move(sink)), m_stopRequested(std::move(stopRequested))
{}

host::ContactTable& PreviewRoad::contacts() const
{
    return host().database->Contact();
}

std::unique_ptr<engine::FieldReader> PreviewRoad::open(int& maxFields)
{
    host::ContactTable& table = contacts();
    maxFields = countFields(table.Fields());
    return std::make_unique<engine::TableFieldReader>(table, host().database->Users());
}

bool PreviewRoad::resolveTarget(RunMember& member, const ButtonFile& /*button*/)
{
    return resolveNamedTarget(member, contacts().Fields());
}

bool PreviewRoad::gatherContacts(const ButtonFile& button, RunSummary& /*summary*/)
{
    const bool otherDatabase = readSavedWithDB(button) != host().database->GetDatabasePath();
    const std::optional<Scope> scope =
        m_scopes ? m_scopes->chooseScope(otherDatabase) : std::optional<Scope>(Scope::AllContacts);
    if (!scope)
        return false;
    std::vector<host::ContactId>& ids = state().contactIds;
    if (*scope == Scope::CurrentContact)
        ids.push_back(host().view ? host().view->GetCurrentID() : host::ContactId());
    else
        ids = contactsOfScope(session(), host(), *scope);
    return true;
}

void PreviewRoad::startContact(const host::ContactId& id)
{
    m_contact = id;
    m_computed.assign(state().members.size(), QString());
    // No lock is taken: a contact held now is shown as such, its values as they stand.
    m_locked = !state().reader->makeCurrent(id) || contacts().isLocked();
}

void PreviewRoad::decimalsBeforeValidate(RunMember& member, bool single)
{
    engine::FieldValueTable& values = state().fieldValues;
    QString computed = values.value(member.target);
    if (!single) {
        applyHostDecimals(member, computed);
        values.setValue(member.target, computed);
    }
    const auto index = static_cast<std::size_t>(&member - state().members.data());
    if (index < m_computed.size())
        m_computed[index] = computed;
}

void PreviewRoad::decimalsAfterValidate(RunMember& member, bool single)
{
    if (single)
        applyHostDecimals(member, member.value);
}

void PreviewRoad::applyHostDecimals(const RunMember& member, QString& value) const
{
    if (member.targetFieldType == host::FieldType::Numeric ||
        member.targetFieldType == host::FieldType::Currency)
        value = inDecimalPlaces(session().locale(), value, member.decimals);
}

void PreviewRoad::writeContact(RunSummary& summary)
{
    RunState& run = state();
    const bool used = run.anyValueUsed();
    if (m_stopRequested && m_stopRequested()) {
        stopAt(summary);
        return;
    }
    // The numbers are counted as the run would take them: only a contact that would be written uses
    // its number.
    if (!m_locked && !run.takeNumbers()) {
        stopAt(summary);
        return;
    }
    host::ContactTable& table = contacts();
    const QString contact = table.Data(host::FieldNumber::Contact);
    // All contacts come in the order of their companies: the rows of one company share its name
    // rather than each holding a copy, in a preview that keeps every row.
    QString company = table.Data(host::FieldNumber::Company);
    if (company == m_company)
        company = m_company;
    else
        m_company = company;
    for (std::size_t j = 0; j < run.members.size(); ++j) {
        const RunMember& member = run.members[j];
        if (!member.computesValue())
            continue;
        const PreviewAction action =
            m_locked ? PreviewAction::Locked
                     : previewAction(member.rule, member.present, m_computed[j], member.value);
        m_sink({m_contact, contact, company, member.targetName, member.present, member.value, action});
    }
    run.releaseAfterWrite();
    summary.countContact(m_locked, used);
}

} // namespace valdora::run

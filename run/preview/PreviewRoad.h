#pragma once

#include "PreviewRow.h"

#include "run/ContactRoad.h"
#include "run/ScopeChooser.h"

#include <functional>

namespace valdora::run {

/// The road of a preview: the contacts of the chosen scope, the targets and decimal places as the bar's
/// run takes them, and for each contact a row per target instead of a write. It changes nothing: no
/// field, no record lock, no progress value, no "TargetDecimals", no error log.
class PreviewRoad final : public ContactRoad {
public:
    using RowSink = std::function<void(PreviewRow)>;

    PreviewRoad(const RoadParts& parts, ScopeChooser* scopes, RowSink sink,
                std::function<bool()> stopRequested = {});

    std::unique_ptr<engine::FieldReader> open(int& maxFields) override;
    bool refusesMissingButton(const QString&, const ButtonFile&) override { return false; }
    bool resolveTarget(RunMember& member, const ButtonFile& button) override;
    bool gatherContacts(const ButtonFile& button, RunSummary& summary) override;
    void startContact(const host::ContactId& id) override;
    void decimalsBeforeValidate(RunMember& member, bool single) override;
    void decimalsAfterValidate(RunMember& member, bool single) override;
    void writeContact(RunSummary& summary) override;
    void abandonRecord() override {}

private:
    host::ContactTable& contacts() const;
    void applyHostDecimals(const RunMember& member, QString& value) const;

    ScopeChooser* m_scopes;
    RowSink m_sink;
    std::function<bool()> m_stopRequested;
    host::ContactId m_contact;
    bool m_locked = false;
    /// The company of the last row, whose text the next rows of the same company share.
    QString m_company;
    /// The computed value of each member before Validate combined it with the target.
    std::vector<QString> m_computed;
};

} // namespace valdora::run

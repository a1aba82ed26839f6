#pragma once

#include "engine/EngineOptions.h"

#include "core/TextLocale.h"

namespace valdora::run {

/// How a program reaches the contacts of a run. Each road brings its own field reader, its way of
/// resolving a target field, of gathering the contacts and of writing a contact.
enum class ContactRoadKind {
    /// Valdora's bar: the contact table of the open database. Targets by name through the field list,
    /// the contacts of the chosen scope, one held and committed record per contact, an error log.
    Bar,
    /// ValdoraAuto: the contact on screen through the contact view. Targets from "TargetID" and
    /// "TargetType", one SetField per used member, no commit check and no error log.
    OnScreen,
};

/// Everything that tells the programs' runs apart, stated once per program. The engine's part (module
/// name, member count, separators, counter naming) is the engine's own options; the run reads the
/// module and its combo slots from there.
struct ProgramProfile {
    engine::EngineOptions engine;
    ContactRoadKind road = ContactRoadKind::Bar;

    /// Module name of the failure reports: "frmMain" or "frmAutoMain".
    const char* module() const { return engine.module; }
    /// Combo slots a run reads: every member the engine keeps lists for.
    int comboSlots() const { return engine.memberCount; }

    /// Valdora's bar in the given locale.
    static ProgramProfile valdora(const TextLocale& locale);
    /// ValdoraAuto in the given locale.
    static ProgramProfile valdoraAuto(const TextLocale& locale);
};

} // namespace valdora::run

#include "settings/MessageId.h"
#include "settings/MessageTable.h"

#include <gtest/gtest.h>

#include <QSet>

#include <ostream>

namespace valdora {
namespace {

struct NamedRow {
    MessageId id;
    int englishNumber;
};

void PrintTo(const NamedRow& row, std::ostream* out)
{
    *out << row.englishNumber;
}

// Every name of the table with the English row it stands for: a name that drifts to another row
// shows up here.
constexpr NamedRow NamedRows[] = {
    {MessageId::SupportRequest, 300},
    {MessageId::Ok, 301},
    {MessageId::Cancel, 302},
    {MessageId::MoreAt, 303},
    {MessageId::Help, 304},
    {MessageId::EmailUs, 306},
    {MessageId::AlreadyRunning, 307},
    {MessageId::OpenDatabaseFirst, 308},
    {MessageId::RunHostFirst, 309},
    {MessageId::HostEventsNotRegistered, 310},
    {MessageId::RestartHostOrRegister, 311},
    {MessageId::MakerPageMenuItem, 312},
    {MessageId::IntegrateTitle, 313},
    {MessageId::LaunchOptions, 314},
    {MessageId::RemoveToolbarIcon, 315},
    {MessageId::AddToolbarIcon, 316},
    {MessageId::IntegrateClose, 317},
    {MessageId::RemoveToolsMenuItem, 318},
    {MessageId::AddToolsMenuItem, 319},
    {MessageId::RestartHostForChanges, 320},
    {MessageId::RestartHostNow, 321},
    {MessageId::IntegrationFailed, 322},
    {MessageId::ClickToLaunch, 323},
    {MessageId::SoftwarePage, 324},
    {MessageId::OptionsMenu, 325},
    {MessageId::LanguagesMenu, 326},
    {MessageId::IntegrateMenu, 327},
    {MessageId::HelpMenu, 328},
    {MessageId::OnlineHelpMenu, 329},
    {MessageId::LoadingPleaseWait, 345},
    {MessageId::OnlineHelpPage, 346},
    {MessageId::LanguageTitle, 348},
    {MessageId::PickYourLanguage, 349},
    {MessageId::TruncateDigitsMissing, 353},
    {MessageId::SaveContactBeforeUsing, 354},
    {MessageId::InvalidButtonData, 355},
    {MessageId::ContactLockedTail, 356},
    {MessageId::ConsultErrorLog, 357},
    {MessageId::CouldNotWrite, 358},
    {MessageId::ToField, 359},
    {MessageId::ConfirmDeleteButton, 360},
    {MessageId::SchemeMissing, 361},
    {MessageId::SchemeNotOnScreen, 362},
    {MessageId::ProceedAnyway, 363},
    {MessageId::CaptionMissing, 364},
    {MessageId::CaptionTaken, 365},
    {MessageId::ChooseAnotherCaption, 366},
    {MessageId::TargetFieldMissing, 367},
    {MessageId::StartAtEmpty, 368},
    {MessageId::CheckedCondition, 369},
    {MessageId::ScopeCurrentContact, 370},
    {MessageId::ScopeCurrentLookup, 371},
    {MessageId::ScopeAllContacts, 372},
    {MessageId::ConditionWithoutOperator, 373},
    {MessageId::NoConditionChecked, 374},
    {MessageId::NoButtonChecked, 375},
    {MessageId::CheckedItemNumber, 376},
    {MessageId::ToolbarViews, 377},
    {MessageId::ViewContacts, 378},
    {MessageId::ViewContactList, 379},
    {MessageId::ViewGroups, 380},
    {MessageId::ViewTaskList, 381},
    {MessageId::ViewCalendars, 382},
    {MessageId::ViewEmail, 383},
    {MessageId::ClickToEdit, 384},
    {MessageId::ClickToRun, 385},
    {MessageId::ToolsMenuViews, 386},
    {MessageId::ItemWithoutButton, 387},
    {MessageId::AppendSeparatorRejected, 388},
    {MessageId::Placeholder389, 389},
    {MessageId::Placeholder390, 390},
    {MessageId::Placeholder391, 391},
    {MessageId::Placeholder392, 392},
    {MessageId::SystemTrayTitle, 393},
    {MessageId::StartWithBar, 394},
    {MessageId::StartInTray, 395},
    {MessageId::CloseToTrayExitWithHost, 396},
    {MessageId::StartupOptions, 397},
    {MessageId::CloseOption, 398},
    {MessageId::TrayShowBar, 399},
    {MessageId::TrayClose, 400},
    {MessageId::TextValueRejected, 409},
    {MessageId::NonNumericSeparatorRejected, 410},
    {MessageId::ProblemWithValueNumber, 411},
    {MessageId::InvalidValueRejected, 412},
    {MessageId::DateRejected, 413},
    {MessageId::SelectTimeOnly, 414},
    {MessageId::SeparatorInDateField, 415},
    {MessageId::AutoNumberInDateField, 416},
    {MessageId::CalculationCannotBeDate, 417},
    {MessageId::DateFormatRejected, 418},
    {MessageId::UrlTargetField, 419},
    {MessageId::InvalidDataCheckSettings, 420},
    {MessageId::TargetFieldTypeOpen, 421},
    {MessageId::TargetFieldTypeIncompatible, 422},
    {MessageId::DatabaseLocked, 423},
    {MessageId::StartOptionWithBar, 424},
    {MessageId::StartOptionInTray, 425},
    {MessageId::CloseOptionToTray, 426},
    {MessageId::KeepOnlyFirst, 427},
    {MessageId::Digits, 428},
    {MessageId::ConvertToUppercase, 429},
    {MessageId::ButtonCaption, 430},
    {MessageId::TargetField, 431},
    {MessageId::SelectScheme, 432},
    {MessageId::SchemeAutoNumber, 433},
    {MessageId::SchemeCondition, 434},
    {MessageId::SchemeAddSubtract, 435},
    {MessageId::SchemeMultiplyDivide, 436},
    {MessageId::SchemeNow, 437},
    {MessageId::SchemeCombo, 438},
    {MessageId::OverwritingConditions, 439},
    {MessageId::TenCharactersMax, 440},
    {MessageId::ValueToCopy, 441},
    {MessageId::CombineButtons, 442},
    {MessageId::AutoNumberIntroduction, 443},
    {MessageId::Position, 444},
    {MessageId::StartAt, 445},
    {MessageId::AutoNumberField, 446},
    {MessageId::AutoNumberText, 447},
    {MessageId::AutoNumberSeparator, 448},
    {MessageId::OutputPreview, 449},
    {MessageId::LeadingZerosHint, 450},
    {MessageId::FieldOptionsButton, 451},
    {MessageId::NeverOverwrite, 452},
    {MessageId::AppendWithSeparator, 453},
    {MessageId::OverwriteUnlessEmpty, 454},
    {MessageId::AlwaysOverwrite, 455},
    {MessageId::AddButton, 456},
    {MessageId::Apply, 457},
    {MessageId::New, 458},
    {MessageId::ConditionIf, 459},
    {MessageId::ConditionThen, 460},
    {MessageId::ConditionValue, 461},
    {MessageId::ConditionOr, 462},
    {MessageId::InvalidCalculationReplacement, 463},
    {MessageId::LeaveBlankForNoData, 464},
    {MessageId::DateAndTimeNow, 465},
    {MessageId::Format, 466},
    {MessageId::DateOnly, 467},
    {MessageId::DateAndTime, 468},
    {MessageId::TimeOnly, 469},
    {MessageId::ComboOrderNote, 470},
    {MessageId::SystemTrayMenu, 471},
    {MessageId::ZeroNotValid, 472},
    {MessageId::RestartValdoraForChanges, 473},
    {MessageId::ContactNotReachable, 474},
    {MessageId::IgnoreWhileDefiningField, 475},
    {MessageId::EmailErrorReport, 476},
    {MessageId::ComboMemberMissing, 477},
    {MessageId::AgeBetweenTodayAnd, 478},
    {MessageId::AgeYearsOnly, 479},
    {MessageId::AgeYearsAndMonths, 480},
    {MessageId::AgeDays, 481},
    {MessageId::AgeIfNotDate, 482},
    {MessageId::AgeIfNoData, 483},
    {MessageId::Years, 484},
    {MessageId::Months, 485},
    {MessageId::EmptyInsteadOfZero, 486},
    {MessageId::NextContactAndBack, 487},
    {MessageId::Scope, 488},
    {MessageId::ThisDatabaseOnly, 489},
    {MessageId::AllDatabases, 490},
    {MessageId::AutomaticTriggering, 491},
    {MessageId::SettingsButton, 492},
    {MessageId::WarningOptions, 493},
    {MessageId::PromptForConfirmation, 494},
    {MessageId::OneSecondSplash, 495},
    {MessageId::NoWarning, 496},
    {MessageId::TwoWaysToFire, 497},
    {MessageId::ManualMode, 498},
    {MessageId::ManualModeExplained, 499},
    {MessageId::AutomaticMode, 500},
    {MessageId::AutomaticModeExplained, 501},
    {MessageId::TriggerSetupExplained, 502},
    {MessageId::LaunchKeelbrook, 503},
    {MessageId::LaunchKeelbrookExplained, 504},
    {MessageId::ManualStillPossible, 505},
    {MessageId::AutoUpdateFollowingField, 506},
    {MessageId::ProceedQuestion, 507},
    {MessageId::Yes, 508},
    {MessageId::No, 509},
    {MessageId::ConfirmationNoteHead, 510},
    {MessageId::AutomaticUpdateTitle, 511},
    {MessageId::Updating, 514},
    {MessageId::MissingButtonHead, 515},
    {MessageId::MissingButtonTail, 516},
    {MessageId::ChangeTriggerSettingsHead, 517},
    {MessageId::ChangeTriggerSettingsField, 518},
    {MessageId::ChangeTriggerSettingsTail, 519},
    {MessageId::UpgradeNotResaved, 520},
    {MessageId::IncompleteUpgrade, 521},
    {MessageId::ButtonSuffix, 522},
    {MessageId::ChooseDatabase, 523},
    {MessageId::LogonDatabase, 524},
    {MessageId::UserName, 525},
    {MessageId::Password, 526},
    {MessageId::CancelForOtherDatabase, 527},
    {MessageId::TriggerConflictQuestion, 528},
    {MessageId::AddToQueue, 529},
    {MessageId::Overwrite, 530},
    {MessageId::ActiveDatabase, 531},
    {MessageId::TriggersOfDatabase, 532},
    {MessageId::AddATrigger, 533},
    {MessageId::RemoveTrigger, 534},
    {MessageId::DatabaseLabel, 535},
    {MessageId::FieldLabel, 536},
    {MessageId::TriggerTypeLabel, 537},
    {MessageId::TriggerEntry, 538},
    {MessageId::TriggerExit, 539},
    {MessageId::TriggeredTargetLabel, 540},
    {MessageId::ProgramOrMacro, 541},
    {MessageId::BrowseForProgram, 542},
    {MessageId::ValdoraButton, 543},
    {MessageId::CreateTrigger, 544},
    {MessageId::AddTriggerTitle, 545},
    {MessageId::ConflictCheckingTitle, 546},
    {MessageId::LoginTitle, 547},
    {MessageId::TriggerReportTitle, 548},
    {MessageId::CloseHostBeforeKeelbrook, 549},
    {MessageId::ReportFieldColumn, 550},
    {MessageId::ReportTargetColumn, 551},
    {MessageId::DeleteTriggerHead, 552},
    {MessageId::DeleteTriggerMiddle, 553},
    {MessageId::TriggeredButtonHead, 554},
    {MessageId::TriggeredButtonDatabaseLocked, 555},
    {MessageId::CannotUpdateTarget, 556},
    {MessageId::CannotRegisterHostEvents, 557},
    {MessageId::DatabaseNotReopened, 558},
    {MessageId::ManualOrAutomatic, 559},
    {MessageId::SettingsTitle, 560},
    {MessageId::ManualTriggerSetup, 561},
    {MessageId::CopySyntax, 562},
    {MessageId::CloseValdoraForDefineFields, 563},
    {MessageId::TriggerSyntaxTitle, 564},
    {MessageId::BarMenuSettings, 565},
    {MessageId::BarMenuTriggerSyntax, 566},
    {MessageId::BarMenuColor, 567},
    {MessageId::BarMenuBold, 568},
    {MessageId::BarMenuDeleteButton, 569},
    {MessageId::BarMenuShowBar, 570},
    {MessageId::BarMenuClose, 571},
    {MessageId::NoItemSelected, 572},
    {MessageId::TruncateFieldData, 573},
    {MessageId::AutoNumberSchemeTitle, 574},
    {MessageId::SchemeAge, 575},
    {MessageId::ApplyToCurrentContact, 577},
    {MessageId::ApplyToCurrentLookup, 578},
    {MessageId::ApplyToAllContacts, 579},
    {MessageId::ApplyTo, 580},
    {MessageId::AutoNumberSortOrder, 581},
    {MessageId::AutoNumberSortExplained, 582},
    {MessageId::CannotBeUndone, 583},
    {MessageId::FieldOptionsTitle, 584},
    {MessageId::ChangeDefaultLocation, 585},
    {MessageId::SettingsFileLocation, 587},
};

class NamedMessage : public testing::TestWithParam<NamedRow> {};

TEST_P(NamedMessage, StandsForItsEnglishRow)
{
    EXPECT_EQ(englishNumber(GetParam().id), GetParam().englishNumber);
    const Messages english(MessageTable::valdora(), 300);
    EXPECT_EQ(english.get(GetParam().id), *MessageTable::valdora().row(GetParam().englishNumber));
}

TEST_P(NamedMessage, FetchesTheSameRowAsItsEnglishNumberInEveryLanguage)
{
    for (const qint16 base : {qint16(300), qint16(1300), qint16(2300)}) {
        const Messages messages(MessageTable::valdora(), base);
        EXPECT_EQ(messages.get(GetParam().id),
                  *MessageTable::valdora().row(base + GetParam().englishNumber - 300))
            << base;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRow, NamedMessage, testing::ValuesIn(NamedRows));

TEST(MessageId, EveryRowOfTheTableHasOneName)
{
    QSet<int> named;
    for (const NamedRow& row : NamedRows)
        named.insert(row.englishNumber);
    EXPECT_EQ(named.size(), qsizetype(std::size(NamedRows)));

    QSet<int> english;
    for (int number : MessageTable::valdora().numbers())
        if (number < 1000)
            english.insert(number);
    EXPECT_EQ(named, english);
}

struct SpotRow {
    const char* name;
    qint16 languageBase;
    MessageId id;
    const char* text;
};

void PrintTo(const SpotRow& row, std::ostream* out)
{
    *out << row.name;
}

class MessageInLanguage : public testing::TestWithParam<SpotRow> {};

TEST_P(MessageInLanguage, ResolvesInItsLanguage)
{
    const Messages messages(MessageTable::valdora(), GetParam().languageBase);
    EXPECT_EQ(messages.get(GetParam().id), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, MessageInLanguage,
    testing::Values(SpotRow{"EnglishOk", 300, MessageId::Ok, "&OK"},
                    SpotRow{"EnglishCouldNotWrite", 300, MessageId::CouldNotWrite, "Could not write"},
                    SpotRow{"EnglishToField", 300, MessageId::ToField, "to field"},
                    SpotRow{"EnglishYears", 300, MessageId::Years, "years"},
                    SpotRow{"EnglishMissingButtonHead", 300, MessageId::MissingButtonHead, "The button "},
                    SpotRow{"EnglishUpgrade", 300, MessageId::IncompleteUpgrade, "Incomplete upgrade"},
                    SpotRow{"FrenchOk", 1300, MessageId::Ok, "&OK"},
                    SpotRow{"FrenchYears", 1300, MessageId::Years, "ans"},
                    SpotRow{"FrenchMonths", 1300, MessageId::Months, "mois"},
                    SpotRow{"FrenchCouldNotWrite", 1300, MessageId::CouldNotWrite, "Impossible d'écrire"},
                    SpotRow{"FrenchMissingButtonTail", 1300, MessageId::MissingButtonTail, " n'existe pas."},
                    SpotRow{"GermanMonths", 2300, MessageId::Months, "Monate"},
                    SpotRow{"GermanToField", 2300, MessageId::ToField, "in Feld"},
                    SpotRow{"GermanYears", 2300, MessageId::Years, "Jahre"},
                    SpotRow{"GermanUpdating", 2300, MessageId::Updating, "Aktualisierung"},
                    SpotRow{"GermanButtonSuffix", 2300, MessageId::ButtonSuffix, " Schaltfläche."}),
    [](const testing::TestParamInfo<SpotRow>& info) { return std::string(info.param.name); });

TEST(MessageId, KeelbrooksCopyHasItsOwnWordingUnderTheSameNames)
{
    const Messages keelbrook(MessageTable::keelbrook(), 300);
    EXPECT_EQ(keelbrook.get(MessageId::SchemeAddSubtract), QStringLiteral("Add/Substract"));
    EXPECT_EQ(keelbrook.get(MessageId::LeadingZerosHint),
              QStringLiteral("You may enter trailing zeros. Ex: 00001"));
    EXPECT_EQ(keelbrook.get(MessageId::AutomaticTriggering), QStringLiteral("Automatic Triggering"));
    EXPECT_EQ(keelbrook.get(MessageId::SettingsFileLocation), QString());
}

} // namespace
} // namespace valdora

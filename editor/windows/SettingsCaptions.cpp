#include "SettingsCaptions.h"

#include "settings/MessageTable.h"
#include "settings/OverwriteMode.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>

#include <array>

namespace valdora::editor {

namespace {

const QString LabelColon = QStringLiteral(" :");

using enum MessageId;

// In the order the window shows them: menus, the common part, then page by page.
const std::array Rows{
    CaptionRow{"mnuOptions", OptionsMenu},
    CaptionRow{"mnuIniFile", SettingsFileLocation},
    CaptionRow{"mnuStart", SystemTrayMenu},
    CaptionRow{"mnuLanguage", LanguagesMenu},
    CaptionRow{"mnuIntegrate", IntegrateMenu},
    CaptionRow{"mnuHelp", HelpMenu},
    CaptionRow{"mnuOnline", OnlineHelpMenu},

    CaptionRow{"lblButtonCaption", ButtonCaption, true},
    CaptionRow{"Label9", TenCharactersMax},
    CaptionRow{"Frame1", TargetField, true},
    CaptionRow{"Frame3", OverwritingConditions, true},
    CaptionRow{"optOver_0", rowOf(OverwriteMode::NeverOverwrite).caption},
    CaptionRow{"optOver_1", rowOf(OverwriteMode::Append).caption},
    CaptionRow{"optOver_2", rowOf(OverwriteMode::OverwriteUnlessEmpty).caption},
    CaptionRow{"optOver_3", rowOf(OverwriteMode::AlwaysOverwrite).caption},
    CaptionRow{"Frame15", Scope},
    CaptionRow{"optScope_0", ThisDatabaseOnly},
    CaptionRow{"optScope_1", AllDatabases},
    CaptionRow{"Frame16", AutomaticTriggering},
    CaptionRow{"lblWarningOptions", WarningOptions},
    CaptionRow{"optAutoWarning_0", PromptForConfirmation},
    CaptionRow{"optAutoWarning_1", OneSecondSplash},
    CaptionRow{"optAutoWarning_2", NoWarning},
    CaptionRow{"cmdTrigger", SettingsButton},
    CaptionRow{"cmdCancel", Cancel},

    // AutoNumber.
    CaptionRow{"Label5", AutoNumberIntroduction},
    CaptionRow{"lblPosition", Position},
    CaptionRow{"lblPart_0", FieldLabel},
    CaptionRow{"lblPart_1", AutoNumberText},
    CaptionRow{"lblPart_2", StartAt},
    CaptionRow{"lblNumberHint", LeadingZerosHint},
    CaptionRow{"lblSeparator", AutoNumberSeparator},
    CaptionRow{"lblOutputCaption", OutputPreview},
    CaptionRow{"Command1", FieldOptionsButton},
    CaptionRow{"cmdAutoNumber", ChangeDefaultLocation},
    CaptionRow{"cmdSave", OwnText::EditorSaveElsewhere},

    // Condition, Add/Subtract and Multiply/Divide.
    CaptionRow{"cmdMoreCond", OwnText::EditorMore},
    CaptionRow{"chkZero", EmptyInsteadOfZero},
    CaptionRow{"lblInvalidAdd", InvalidCalculationReplacement},
    CaptionRow{"lblLeaveBlankAdd", LeaveBlankForNoData},
    CaptionRow{"lblInvalid", InvalidCalculationReplacement},
    CaptionRow{"lblLeaveBlank", LeaveBlankForNoData},

    // Now.
    CaptionRow{"lblNow", DateAndTimeNow},
    CaptionRow{"lblDays", OwnText::EditorDays},
    CaptionRow{"fraFormat", Format, true},
    CaptionRow{"optFormat_0", DateOnly},
    CaptionRow{"optFormat_1", DateAndTime},
    CaptionRow{"optFormat_2", TimeOnly},

    // Age.
    CaptionRow{"lblAgeBetween", AgeBetweenTodayAnd},
    CaptionRow{"fraAgeFormat", Format, true},
    CaptionRow{"optAge_0", AgeYearsOnly},
    CaptionRow{"optAge_1", AgeYearsAndMonths},
    CaptionRow{"optAge_2", AgeDays},
    CaptionRow{"lblInvalidAge", AgeIfNotDate},
    CaptionRow{"lblBlankAge", AgeIfNoData},

    // Combo.
    CaptionRow{"lblCombine", CombineButtons, true},
    CaptionRow{"cmdMoreCombo", OwnText::EditorMore},
    CaptionRow{"Label2", ComboOrderNote},
};

} // namespace

std::span<const CaptionRow> settingsCaptionRows()
{
    return Rows;
}

QString captionText(const CaptionRow& row, const Messages& messages)
{
    const QString text = std::visit([&messages](auto id) { return messages.get(id); }, row.text);
    return row.colon ? text + LabelColon : text;
}

bool setCaption(QObject& object, const QString& text)
{
    if (auto* box = qobject_cast<QGroupBox*>(&object))
        box->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(&object))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(&object))
        label->setText(text);
    else if (auto* action = qobject_cast<QAction*>(&object))
        action->setText(text);
    else
        return false;
    return true;
}

} // namespace valdora::editor

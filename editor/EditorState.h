#pragma once

#include "AutoNumberOutput.h"
#include "FieldListModel.h"

#include "settings/ButtonModel.h"
#include "settings/IniLib.h"
#include "settings/MessageTable.h"
#include "settings/OverwriteMode.h"
#include "settings/SchemeTable.h"

#include "core/TextLocale.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <optional>

namespace valdora::editor {

/// The index of a scheme's page in the editor's tabbed control, as its row in the scheme table says.
constexpr int editorPageIndex(Scheme scheme)
{
    return SchemeTable[static_cast<std::size_t>(codeOf(scheme))].editorPage;
}

/// The pages of the editor's tabbed control, named by the scheme each shows; their order on screen
/// is the scheme table's (Age and Combo sit on pages 5 and 6 while their codes are 6 and 5).
enum class EditorPage : int {
    AutoNumber = editorPageIndex(Scheme::AutoNumber),
    Condition = editorPageIndex(Scheme::Condition),
    AddSubtract = editorPageIndex(Scheme::AddSubtract),
    MultiplyDivide = editorPageIndex(Scheme::MultiplyDivide),
    Now = editorPageIndex(Scheme::Now),
    Age = editorPageIndex(Scheme::Age),
    Combo = editorPageIndex(Scheme::Combo),
};

/// The page that shows a scheme; the AutoNumber page for a button without a scheme.
EditorPage pageOf(Scheme scheme);
/// The scheme a page shows.
Scheme schemeOnPage(EditorPage page);

/// A button a Combo member row offers: only buttons on the bar that are not Combo buttons.
struct ComboMember {
    QString fileName;
    QString caption;

    bool operator==(const ComboMember&) const = default;
};

/// The AutoNumber page beyond the keys of the other pages.
struct AutoNumberPage {
    /// The positions, the field part's name, the text, "Start at" and the separator.
    AutoNumberEntries entries;
    /// The counter file ("AutoIniFile"); empty for a button without a caption.
    QString counterFile;
    /// True when the counter file is one the user chose rather than the default that follows the
    /// caption; a chosen file is kept at the save.
    bool counterFileChosen = false;
    /// The field options: intTruncateA, intTruncateDigitsA and intCapsA.
    int intTruncateA = 0;
    int intTruncateDigitsA = 254;
    int intCapsA = 0;

    bool operator==(const AutoNumberPage&) const = default;
};

/// Everything the editor shows, as a value: the common area, the seven pages (each loaded from the
/// button file, whatever scheme it holds) and the rows of the two "More..." dialogs. Field
/// references hold the name the list shows; an empty name is a list without a choice.
struct EditorState {
    QString fileName; ///< the button file edited; empty for a new button
    bool newButton = false;
    QString caption;                                                        ///< txtButtonName
    QString target;                                                         ///< cmbTarget
    std::optional<OverwriteMode> overwrite = OverwriteMode::NeverOverwrite; ///< optOver, nullopt for none
    int scope = 0;                                                          ///< optScope
    int autoWarning = 0;                                                    ///< optAutoWarning
    QString appendSeparator;                                                ///< txtAppendSep
    /// chkType, indexed by scheme code.
    std::array<bool, SchemeTable.size()> typeTicked{};
    EditorPage page = EditorPage::AutoNumber; ///< the page on screen

    AutoNumberPage autoNumber;
    ConditionKeys condition; ///< rows 0-4 on the page, 5-19 in the conditions dialog
    AddSubtractKeys addSubtract;
    MultiplyDivideKeys multiplyDivide;
    NowKeys now;
    AgeKeys age;
    ComboKeys combo; ///< rows 0-7 on the page, 8-19 in the members dialog
    /// What every Combo member row offers, in the bar's order (the member map).
    QList<ComboMember> comboMembers;

    /// The scheme of the highest ticked chkType box; Missing when none is ticked.
    Scheme chosenScheme() const;
    /// The AutoNumber preview and pattern of the current entries.
    AutoNumberOutput output() const { return Update_Output(autoNumber.entries); }

    bool operator==(const EditorState&) const = default;
};

/// What the editor is loaded from.
struct EditorSources {
    const IniLib& ini;
    QString buttonFolder;  ///< ends with the separator
    QString programFolder; ///< ends with the separator: a counter file without "AutoIniFile" lies here
    /// The folder new counter files go to ("Settings"/"IniFolder"), ending with the separator.
    QString counterFolder;
    const Messages& messages;
    const TextLocale& locale;
    const FieldListModel& fields;
    QStringList barFiles; ///< the button files on the bar, in its order
};

/// The editor for a new button: the caption reads the table's "New", and every other entry has the
/// default of an absent key, with "This database only" chosen.
EditorState newEditorState(const EditorSources& sources);
/// The editor for the button in `fileName` of the button folder (Form_Load and Tab_Load).
EditorState loadEditorState(const EditorSources& sources, const QString& fileName);

} // namespace valdora::editor

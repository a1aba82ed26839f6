#pragma once

#include "EditorState.h"

#include "settings/MessageTable.h"

#include "core/TextLocale.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace valdora::editor {

/// A check of the save that failed: the text to show, the control to focus (empty when none), the
/// page that holds it and, for a row of a "More..." dialog, the dialog ("frmMoreCond" or
/// "frmMoreCombo"; empty for a control of the editor itself).
struct SaveFailure {
    QString message;
    QString control;
    std::optional<EditorPage> page; ///< nullopt for the common area and for no control
    QString dialog;

    bool operator==(const SaveFailure&) const = default;
};

/// The two questions the save asks with Yes and No; No ends the save, Yes goes on.
enum class SaveQuestion {
    SchemeNotOnScreen, ///< the chosen scheme is not the page on screen
    UrlTarget,         ///< the target is a web address field
};

/// A question to ask before the checks can go on.
struct SaveAsk {
    SaveQuestion question;
    QString message;

    bool operator==(const SaveAsk&) const = default;
};

/// The questions already answered Yes.
struct SaveAnswers {
    bool proceedOffPage = false;
    bool acceptUrlTarget = false;
};

/// What the checks see beside the editor.
struct SaveCheckContext {
    const Messages& messages;
    const TextLocale& locale;
    /// The captions of the buttons on the bar: a new button's caption must differ from each.
    QStringList barCaptions;
    /// The target's host type code: -1 for no target; nullopt when the host cannot give it.
    std::optional<qint16> targetType;
};

/// The outcome of the checks: all passed (std::monostate), the first failure, or a question.
using SaveCheckResult = std::variant<std::monostate, SaveFailure, SaveAsk>;

/// The target type for the checks: -1 for an empty target (what the host answers for no field),
/// the field's type, or nullopt for a name the host does not know.
std::optional<qint16> targetTypeOf(const FieldListModel& fields, const QString& target);

/// Runs the save's checks in their order on the editor's entries and returns the first that fails,
/// or the next question not yet answered Yes. Nothing is changed. A text the button file cannot hold
/// (Windows-1252) is refused after the checks of the entries, before the checks of the target's type.
SaveCheckResult checkSave(const EditorState& state, const SaveCheckContext& context,
                          SaveAnswers answers = {});

/// The text of a type message: "The target field type (", the type's word, ") is incompatible with
/// your settings.", a line break and `text`. The word is "numeric" (5), "currency" (6), "date" (8)
/// or "time" (9), empty for any other code.
QString Message_WrongType(const Messages& messages, qint16 typeCode, const QString& text);

} // namespace valdora::editor

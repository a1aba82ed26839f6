#pragma once

#include "run/OverwriteRule.h"

#include "host/HostTypes.h"
#include "settings/MessageTable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace valdora::run {

/// What a run's overwrite rule would do to one target.
enum class PreviewAction {
    Write,        ///< fill an empty target
    Append,       ///< append to what the target holds
    Overwrite,    ///< replace what the target holds
    Unchanged,    ///< the value it would write is what the target holds
    Keep,         ///< the computed value is empty: the target keeps what it holds
    SkipNotEmpty, ///< the rule fills only empty targets and this one is not
    Locked,       ///< another user holds the contact now: the run would fail on it
};

/// One row of a preview: one target of one contact (a Combo has a row per member).
struct PreviewRow {
    host::ContactId id;
    QString contact; ///< field 26
    QString company; ///< field 25
    QString field;   ///< the target's name
    QString present;
    QString value; ///< what the run would leave in the target
    PreviewAction action = PreviewAction::Unchanged;

    /// The run would change the target.
    bool changes() const { return value != present && action != PreviewAction::Locked; }
};

/// The counts at the top of a preview, in contacts.
struct PreviewCounts {
    int wouldWrite = 0; ///< contacts with a target that would change
    int unchanged = 0;  ///< contacts the run would leave as they are
    int lockedNow = 0;  ///< contacts held by another user now
};

/// What the rule did with a computed value, told from the present value, the value and the result.
PreviewAction previewAction(const OverwriteRule& rule, const QString& present, const QString& computed,
                            const QString& result);
/// The preview's columns: contact, company, field, present value, the value it would write, action.
constexpr int PreviewColumnCount = 6;

/// The action as the preview shows it ("write", "append", ...), in the language of `texts`.
QString previewActionText(PreviewAction action, const Messages& texts = Messages());
/// The preview's column captions, in the language of `texts`: contact, company, field, present value,
/// the value it would write, action.
QStringList previewColumns(const Messages& texts = Messages());
/// The counts of these rows, contact by contact.
PreviewCounts previewCounts(const std::vector<PreviewRow>& rows);
/// The rows as CSV with a header line (RFC 4180: fields quoted where needed, CRLF line ends), captions
/// and actions in the language of `texts`.
QString previewCsv(const std::vector<PreviewRow>& rows, const Messages& texts = Messages());
/// One cell of a row, in the order of the columns (0: contact .. 5: action).
QString previewCell(const PreviewRow& row, int column, const Messages& texts = Messages());
/// One row's cells, in the order of the columns.
QStringList previewCells(const PreviewRow& row, const Messages& texts = Messages());

} // namespace valdora::run

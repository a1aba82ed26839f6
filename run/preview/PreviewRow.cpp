#include "PreviewRow.h"

namespace valdora::run {

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// True when the mode whose text the rule leaves does this to a filled target; false without a mode.
bool modeDoes(const OverwriteRule& rule, FilledTargetAction action)
{
    if (const std::optional<OverwriteMode> mode = rule.mode())
        return rowOf(*mode).filledTarget == action;
    return false;
}

} // namespace

PreviewAction previewAction(const OverwriteRule& rule, const QString& present, const QString& computed,
                            const QString& result)
{
    if (result == present) {
        if (present.isEmpty() || computed == present)
            return PreviewAction::Unchanged;
        if (computed.isEmpty())
            return PreviewAction::Keep;
        return modeDoes(rule, FilledTargetAction::Skip) ? PreviewAction::SkipNotEmpty
                                                        : PreviewAction::Unchanged;
    }
    if (present.isEmpty())
        return PreviewAction::Write;
    if (modeDoes(rule, FilledTargetAction::Append) && result == present + rule.separator + computed)
        return PreviewAction::Append;
    return PreviewAction::Overwrite;
}

QString previewActionText(PreviewAction action, const Messages& texts)
{
    switch (action) {
    case PreviewAction::Write:
        return texts.get(OwnText::ActionWrite);
    case PreviewAction::Append:
        return texts.get(OwnText::ActionAppend);
    case PreviewAction::Overwrite:
        return texts.get(OwnText::ActionOverwrite);
    case PreviewAction::Unchanged:
        return texts.get(OwnText::ActionUnchanged);
    case PreviewAction::Keep:
        return texts.get(OwnText::ActionKeep);
    case PreviewAction::SkipNotEmpty:
        return texts.get(OwnText::ActionSkipNotEmpty);
    case PreviewAction::Locked:
        return texts.get(OwnText::ActionLocked);
    }
    return QString();
}

QStringList previewColumns(const Messages& texts)
{
    return {texts.get(OwnText::ColumnContact),    texts.get(OwnText::ColumnCompany),
            texts.get(OwnText::ColumnField),      texts.get(OwnText::ColumnPresent),
            texts.get(OwnText::ColumnWouldWrite), texts.get(OwnText::ColumnAction)};
}

QString previewCell(const PreviewRow& row, int column, const Messages& texts)
{
    switch (column) {
    case 0:
        return row.contact;
    case 1:
        return row.company;
    case 2:
        return row.field;
    case 3:
        return row.present;
    case 4:
        return row.value;
    default:
        return previewActionText(row.action, texts);
    }
}

QStringList previewCells(const PreviewRow& row, const Messages& texts)
{
    QStringList cells;
    for (int column = 0; column < PreviewColumnCount; ++column)
        cells << previewCell(row, column, texts);
    return cells;
}

PreviewCounts previewCounts(const std::vector<PreviewRow>& rows)
{
    PreviewCounts counts;
    for (std::size_t i = 0; i < rows.size();) {
        bool changes = false;
        bool locked = false;
        std::size_t j = i;
        for (; j < rows.size() && rows[j].id == rows[i].id; ++j) {
            changes = changes || rows[j].changes();
            locked = locked || rows[j].action == PreviewAction::Locked;
        }
        if (locked)
            ++counts.lockedNow;
        else if (changes)
            ++counts.wouldWrite;
        else
            ++counts.unchanged;
        i = j;
    }
    return counts;
}

QString previewCsv(const std::vector<PreviewRow>& rows, const Messages& texts)
{
    const auto line = [](const QStringList& fields) {
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field);
        return quoted.join(u',') + QStringLiteral("\r\n");
    };
    QString text = line(previewColumns(texts));
    for (const PreviewRow& row : rows)
        text += line(previewCells(row, texts));
    return text;
}

} // namespace valdora::run

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

} // namespace

PreviewAction previewAction(const OverwriteRule& rule, const QString& present, const QString& computed,
                            const QString& result)
{
    if (result == present) {
        if (present.isEmpty() || computed == present)
            return PreviewAction::Unchanged;
        if (computed.isEmpty())
            return PreviewAction::Keep;
        if (rule.fillEmpty && !rule.append && !rule.overwrite && !rule.alwaysWrite)
            return PreviewAction::SkipNotEmpty;
        return PreviewAction::Unchanged;
    }
    if (present.isEmpty())
        return PreviewAction::Write;
    if (rule.append && result == present + rule.separator + computed)
        return PreviewAction::Append;
    return PreviewAction::Overwrite;
}

QString previewActionText(PreviewAction action)
{
    switch (action) {
    case PreviewAction::Write:
        return QStringLiteral("write");
    case PreviewAction::Append:
        return QStringLiteral("append");
    case PreviewAction::Overwrite:
        return QStringLiteral("overwrite");
    case PreviewAction::Unchanged:
        return QStringLiteral("unchanged");
    case PreviewAction::Keep:
        return QStringLiteral("keep (nothing computed)");
    case PreviewAction::SkipNotEmpty:
        return QStringLiteral("skip (the target is not empty)");
    case PreviewAction::Locked:
        return QStringLiteral("locked now");
    }
    return QString();
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

QString previewCsv(const std::vector<PreviewRow>& rows)
{
    QString text = QStringLiteral("Contact,Company,Field,Present value,Would write,Action\r\n");
    for (const PreviewRow& row : rows) {
        const QStringList fields{row.contact, row.company, row.field,
                                 row.present, row.value,   previewActionText(row.action)};
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field);
        text += quoted.join(u',') + QStringLiteral("\r\n");
    }
    return text;
}

} // namespace valdora::run

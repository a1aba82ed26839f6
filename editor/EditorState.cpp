#include "EditorState.h"

#include "engine/CounterStartValue.h"

#include <QFileInfo>

namespace valdora::editor {

namespace {

constexpr int OperatorCount = 8; // " =" to "Starts"

// A list choice as the list can show it: NoChoice when the stored position lies outside the list.
int listChoice(int stored, int count)
{
    return stored >= 0 && stored < count ? stored : NoChoice;
}

// A field list selects the entry equal to the stored name, and shows no choice when it has none.
void selectField(const FieldListModel& fields, FieldListMode mode, FieldChoice& field)
{
    field = {fields.offers(mode, field.name) ? field.name : QString(), {}, {}};
}

template <std::size_t N> void selectOperands(const FieldListModel& fields, std::array<Operand, N>& operands)
{
    for (Operand& operand : operands)
        selectField(fields, FieldListMode::Source, operand.field);
}

template <class Keys> Keys schemeKeys(const ButtonFile& file, Scheme scheme, const QString& programFolder)
{
    return std::get<Keys>(loadSchemeKeys(file, scheme, programFolder));
}

void loadAutoNumber(const EditorSources& sources, const ButtonFile& file, const QString& caption,
                    AutoNumberPage& page)
{
    const auto keys = schemeKeys<AutoNumberKeys>(file, Scheme::AutoNumber, sources.programFolder);
    AutoNumberEntries& entries = page.entries;
    entries.positions.field = keys.fieldPosition >= 0 && keys.fieldPosition <= 3 ? keys.fieldPosition : 0;
    entries.positions.text = keys.textPosition >= 0 && keys.textPosition <= 3 ? keys.textPosition : 0;
    entries.positions.number =
        keys.numberPosition >= 0 && keys.numberPosition <= 2 ? keys.numberPosition + 1 : 1;
    FieldChoice field = keys.field;
    selectField(sources.fields, FieldListMode::Source, field);
    entries.fieldName = field.name;
    entries.text = keys.text;
    entries.separator = keys.separator;
    page.intTruncateA = keys.truncate ? 1 : 0;
    page.intTruncateDigitsA = keys.truncateDigits;
    page.intCapsA = keys.upperCase ? 1 : 0;
    if (caption.isEmpty())
        return;
    page.counterFile = keys.counterFile;
    // A stored path other than the default for this caption was chosen by the user: it stays.
    page.counterFileChosen = !file.read(ButtonKey::AutoIniFile).isEmpty() &&
                             keys.counterFile != defaultCounterFilePath(sources.counterFolder, caption);
    if (!QFileInfo(page.counterFile).isFile()) {
        entries.number = QStringLiteral("1");
        return;
    }
    // A file that cannot be read, or does not hold a number, leaves "Start at" as it was.
    if (const std::optional<QString> number =
            engine::CounterFile::startValue(page.counterFile, sources.locale))
        entries.number = *number;
}

void loadCondition(const EditorSources& sources, const ButtonFile& file, ConditionKeys& keys)
{
    keys = schemeKeys<ConditionKeys>(file, Scheme::Condition, sources.programFolder);
    for (ConditionRow& row : keys.rows) {
        selectField(sources.fields, FieldListMode::Source, row.field);
        row.op = listChoice(row.op, OperatorCount);
    }
}

void loadAddSubtract(const EditorSources& sources, const ButtonFile& file, AddSubtractKeys& keys)
{
    keys = schemeKeys<AddSubtractKeys>(file, Scheme::AddSubtract, sources.programFolder);
    selectOperands(sources.fields, keys.operands);
    for (int& op : keys.operators)
        op = listChoice(op, 2);
}

void loadMultiplyDivide(const EditorSources& sources, const ButtonFile& file, MultiplyDivideKeys& keys)
{
    keys = schemeKeys<MultiplyDivideKeys>(file, Scheme::MultiplyDivide, sources.programFolder);
    selectOperands(sources.fields, keys.operands);
    keys.op = listChoice(keys.op, 2);
}

void loadAge(const EditorSources& sources, const ButtonFile& file, AgeKeys& keys)
{
    keys = schemeKeys<AgeKeys>(file, Scheme::Age, sources.programFolder);
    selectField(sources.fields, FieldListMode::Source, keys.dateField);
}

// The Combo rows offer the bar's buttons that are not Combo buttons (a file without "Type" counts as
// one). A row selects the member its file names when that is offered, else the offered button of the
// same caption.
void loadCombo(const EditorSources& sources, const ButtonFile& file, EditorState& state)
{
    state.comboMembers.clear();
    for (const QString& barFile : sources.barFiles) {
        const ButtonFile member = ButtonFile::inFolder(sources.ini, sources.buttonFolder, barFile);
        if (member.read(ButtonKey::Type, QStringLiteral("5")) != u"5")
            state.comboMembers.append({barFile, member.read(ButtonKey::Name)});
    }
    state.combo = schemeKeys<ComboKeys>(file, Scheme::Combo, sources.programFolder);
    for (ComboSlot& slot : state.combo.members) {
        const QString stored = slot.buttonFileName;
        slot.buttonFileName.clear();
        if (stored.isEmpty())
            continue;
        for (const ComboMember& member : state.comboMembers) {
            if (member.fileName == stored) {
                slot.buttonFileName = stored;
                break;
            }
        }
        if (!slot.buttonFileName.isEmpty())
            continue;
        const QString caption =
            ButtonFile::inFolder(sources.ini, sources.buttonFolder, stored).read(ButtonKey::Name);
        for (const ComboMember& member : state.comboMembers) {
            if (!caption.isEmpty() && member.caption == caption) {
                slot.buttonFileName = member.fileName;
                break;
            }
        }
    }
}

EditorState load(const EditorSources& sources, const ButtonFile& file, bool newButton)
{
    EditorState state;
    state.newButton = newButton;
    state.fileName = newButton ? QString() : file.fileName();
    const ButtonValue common = loadButton(file, sources.programFolder);
    state.caption = common.name.isEmpty() ? sources.messages.get(MessageId::New) : common.name;
    state.target =
        sources.fields.offers(FieldListMode::Target, common.target.name) ? common.target.name : QString();
    state.overwrite = common.overwrite;
    state.scope = newButton ? 0 : common.scope;
    state.autoWarning = common.autoWarning;
    state.appendSeparator = common.appendSeparator;

    const Scheme scheme = file.scheme();
    if (scheme != Scheme::Missing)
        state.typeTicked[static_cast<std::size_t>(codeOf(scheme))] = true;
    state.page = pageOf(scheme);
    // On the Combo page the target list is disabled and shows no choice.
    if (state.page == EditorPage::Combo)
        state.target.clear();

    loadAutoNumber(sources, file, common.name, state.autoNumber);
    loadCondition(sources, file, state.condition);
    loadAddSubtract(sources, file, state.addSubtract);
    loadMultiplyDivide(sources, file, state.multiplyDivide);
    state.now = schemeKeys<NowKeys>(file, Scheme::Now, sources.programFolder);
    state.now.op = listChoice(state.now.op, 2);
    loadAge(sources, file, state.age);
    loadCombo(sources, file, state);
    return state;
}

} // namespace

EditorPage pageOf(Scheme scheme)
{
    const SchemeRow* row = schemeRowOf(scheme);
    return row != nullptr ? static_cast<EditorPage>(row->editorPage) : EditorPage::AutoNumber;
}

Scheme schemeOnPage(EditorPage page)
{
    return schemeOnEditorPage(static_cast<int>(page));
}

Scheme EditorState::chosenScheme() const
{
    for (int code = static_cast<int>(typeTicked.size()) - 1; code >= 0; --code) {
        if (typeTicked[static_cast<std::size_t>(code)])
            return static_cast<Scheme>(code);
    }
    return Scheme::Missing;
}

EditorState newEditorState(const EditorSources& sources)
{
    // A new button reads as a file that does not exist, so every key takes its default. The name lies
    // in a folder no button folder holds: a stray file named like the table's "New" is not read.
    const ButtonFile absent(sources.ini, sources.buttonFolder + QStringLiteral(".new button/~new.ini"));
    return load(sources, absent, true);
}

EditorState loadEditorState(const EditorSources& sources, const QString& fileName)
{
    return load(sources, ButtonFile::inFolder(sources.ini, sources.buttonFolder, fileName), false);
}

} // namespace valdora::editor

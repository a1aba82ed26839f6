#include "EditorSave.h"

#include "settings/ButtonFileName.h"

#include "core/Failure.h"
#include "engine/CounterStartValue.h"

#include <QDir>

#include <array>

namespace valdora::editor {

namespace {

// Where a field list's choice is stored: its name, id and type as the field list reports them.
FieldChoice stored(const SaveEnvironment& environment, const QString& name)
{
    return environment.fields.choiceOf(name);
}

template <std::size_t N>
std::array<Operand, N> storedOperands(const SaveEnvironment& environment, std::array<Operand, N> operands)
{
    for (Operand& operand : operands)
        operand.field = stored(environment, operand.field.name);
    return operands;
}

// The keys each page saves, from what the page shows.
SchemeKeys autoNumberKeys(const EditorState& state, const SaveEnvironment& environment)
{
    const AutoNumberPage& page = state.autoNumber;
    AutoNumberKeys keys;
    keys.fieldPosition = page.entries.positions.field;
    keys.textPosition = page.entries.positions.text;
    keys.numberPosition = page.entries.positions.number - 1;
    keys.field = stored(environment, page.entries.fieldName);
    keys.text = page.entries.text;
    keys.counterFile = counterFileOf(state, environment);
    keys.separator = page.entries.separator;
    keys.truncate = page.intTruncateA != 0;
    keys.truncateDigits = page.intTruncateDigitsA;
    keys.upperCase = page.intCapsA != 0;
    return keys;
}

SchemeKeys conditionKeys(const EditorState& state, const SaveEnvironment& environment)
{
    ConditionKeys keys = state.condition;
    for (ConditionRow& row : keys.rows)
        row.field = stored(environment, row.field.name);
    return keys;
}

SchemeKeys addSubtractKeys(const EditorState& state, const SaveEnvironment& environment)
{
    AddSubtractKeys keys = state.addSubtract;
    keys.operands = storedOperands(environment, keys.operands);
    return keys;
}

SchemeKeys multiplyDivideKeys(const EditorState& state, const SaveEnvironment& environment)
{
    MultiplyDivideKeys keys = state.multiplyDivide;
    keys.operands = storedOperands(environment, keys.operands);
    return keys;
}

SchemeKeys nowKeys(const EditorState& state, const SaveEnvironment&)
{
    return state.now;
}

SchemeKeys comboKeys(const EditorState& state, const SaveEnvironment&)
{
    return state.combo;
}

SchemeKeys ageKeys(const EditorState& state, const SaveEnvironment& environment)
{
    AgeKeys keys = state.age;
    keys.dateField = stored(environment, keys.dateField.name);
    return keys;
}

struct PageKeys {
    Scheme scheme;
    SchemeKeys (*keysOf)(const EditorState&, const SaveEnvironment&);
};

// One row per scheme, by code.
constexpr std::array<PageKeys, SchemeTable.size()> PageKeysTable{{
    {Scheme::AutoNumber, &autoNumberKeys},
    {Scheme::Condition, &conditionKeys},
    {Scheme::AddSubtract, &addSubtractKeys},
    {Scheme::MultiplyDivide, &multiplyDivideKeys},
    {Scheme::Now, &nowKeys},
    {Scheme::Combo, &comboKeys},
    {Scheme::Age, &ageKeys},
}};

constexpr bool pageKeysInCodeOrder()
{
    for (std::size_t i = 0; i < PageKeysTable.size(); ++i) {
        if (PageKeysTable[i].scheme != SchemeTable[i].scheme)
            return false;
    }
    return true;
}
static_assert(pageKeysInCodeOrder(), "the keys of a scheme's page sit in the row of its code");

// The keys of the chosen scheme's page; none for a button without a scheme.
SchemeKeys schemeKeysOf(const EditorState& state, const SaveEnvironment& environment, Scheme scheme)
{
    if (schemeRowOf(scheme) == nullptr)
        return std::monostate();
    return PageKeysTable[static_cast<std::size_t>(codeOf(scheme))].keysOf(state, environment);
}

// The open database's file name: its path after the last separator.
QString databaseName(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(cut + 1);
}

QStringList buttonFilesIn(const QString& folder)
{
    return QDir(folder).entryList({ButtonFileName::ListingPattern},
                                  QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

QString counterFileOf(const EditorState& state, const SaveEnvironment& environment)
{
    const AutoNumberPage& page = state.autoNumber;
    if (page.counterFileChosen && !page.counterFile.isEmpty())
        return page.counterFile;
    return defaultCounterFilePath(environment.counterFolder, state.caption);
}

ButtonValue buttonValueOf(const EditorState& state, const SaveEnvironment& environment,
                          const QString& fontBold, const QString& foreColor)
{
    const Scheme scheme = state.chosenScheme();
    ButtonValue button;
    button.name = state.caption;
    button.scheme = schemeKeysOf(state, environment, scheme);
    // A Combo button has no target of its own.
    button.target = stored(environment, scheme == Scheme::Combo ? QString() : state.target);
    button.format = state.output().pattern;
    const std::optional<FieldEntry> target = environment.fields.find(button.target.name);
    // The run of the bar formats numeric and currency targets alike and stores their places here;
    // ValdoraAuto formats by what is stored. Stored for both from the start, a trigger writes
    // "1200.00" into a currency field as the bar does, not "1200" until the bar first ran the button.
    const bool withPlaces =
        target && (target->type == host::FieldType::Numeric || target->type == host::FieldType::Currency);
    button.targetDecimals = withPlaces ? QString::number(target->decimals) : QStringLiteral("-1");
    button.limitedToDB = state.scope == 0 ? databaseName(environment.databasePath) : QString();
    button.overwrite = state.overwrite;
    button.autoWarning = state.autoWarning;
    button.scope = state.scope;
    button.appendSeparator = state.appendSeparator;
    button.fontBold = fontBold;
    button.foreColor = foreColor;
    button.savedWithDB = environment.databasePath;
    return button;
}

SaveOutcome saveEditorState(const EditorState& state, const SaveEnvironment& environment)
{
    SaveOutcome outcome;
    outcome.fileName = state.newButton ? newButtonFileName(environment.lastButtonFile,
                                                           buttonFilesIn(environment.buttonFolder))
                                       : state.fileName;
    const ButtonFile file = ButtonFile::inFolder(environment.ini, environment.buttonFolder, outcome.fileName);
    const QString fontBold = file.read(ButtonKey::FontBold, QStringLiteral("0"));
    const QString foreColor = file.read(ButtonKey::ForeColor, QStringLiteral("0"));

    // The button's old section in the per-user store, named by its identifier ("~100"), would be moved
    // over the file by an upgrade. A store that cannot be changed does not stop the save.
    environment.userSettings.removeSection(Application::Valdora, buttonIdentifier(outcome.fileName));

    const ButtonValue button = buttonValueOf(state, environment, fontBold, foreColor);
    if (button.type() == Scheme::AutoNumber) {
        const QString counterFile = std::get<AutoNumberKeys>(button.scheme).counterFile;
        try {
            engine::CounterFile::writeStartValue(counterFile, state.autoNumber.entries.number);
        } catch (const Failure&) {
            return outcome;
        }
    }
    outcome.written = saveButton(button, file);
    return outcome;
}

} // namespace valdora::editor

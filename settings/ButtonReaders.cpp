#include "ButtonReaders.h"

namespace valdora {

namespace {

const QString On = QStringLiteral("1");
const QString Off = QStringLiteral("0");

// An option that reads on when its key is "1", or when it is absent or empty and `onWhenAbsent`.
bool optionOn(const ButtonFile& file, const QString& base, int option, bool onWhenAbsent)
{
    return file.isOn(ButtonKey::at(base, option), onWhenAbsent ? On : Off);
}

/// What the bar shows of a button, from a file read key by key or read once: the same keys and
/// defaults either way.
template <typename File> ButtonLook lookOf(const File& file)
{
    const ButtonValue defaults;
    return {file.read(ButtonKey::Name), file.read(ButtonKey::ForeColor, defaults.foreColor),
            file.read(ButtonKey::FontBold, defaults.fontBold)};
}

} // namespace

QString readCaption(const ButtonFile& file)
{
    return file.read(ButtonKey::Name);
}

QString captionOrFileName(const ButtonFile& file)
{
    const QString caption = readCaption(file);
    return caption.isEmpty() ? file.fileName() : caption;
}

QString readTypeText(const ButtonFile& file)
{
    return file.read(ButtonKey::Type, QString::number(codeOf(Scheme::Missing)));
}

FieldChoice readTarget(const ButtonFile& file)
{
    return {file.read(ButtonKey::Target), file.read(ButtonKey::idOf(ButtonKey::Target)),
            file.read(ButtonKey::typeOf(ButtonKey::Target))};
}

QString readTargetDecimals(const ButtonFile& file)
{
    return file.read(ButtonKey::TargetDecimals);
}

QString readLimitedToDB(const ButtonFile& file)
{
    return file.read(ButtonKey::LimitedToDB);
}

QString readSavedWithDB(const ButtonFile& file)
{
    return file.read(ButtonKey::SavedWithDB);
}

ButtonLook readLook(const ButtonFile& file)
{
    return lookOf(file);
}

std::array<ComboSlot, ButtonKey::ComboCount> readComboSlots(const ButtonFile& file)
{
    return std::get<ComboKeys>(loadSchemeKeys(file, Scheme::Combo, QString())).members;
}

AutoWarningOptions readAutoWarningOptions(const ButtonFile& file)
{
    const AutoWarningOptions absent;
    return {optionOn(file, ButtonKey::AutoWarning, 0, absent.confirmation),
            optionOn(file, ButtonKey::AutoWarning, 1, absent.notice),
            optionOn(file, ButtonKey::AutoWarning, 2, absent.none)};
}

bool readDoneScreen(const ButtonFile& file)
{
    return file.isOn(ButtonKey::DoneScreen);
}

QString readLimitedToDB(const ParsedButtonFile& file)
{
    return file.read(ButtonKey::LimitedToDB);
}

ButtonLook readLook(const ParsedButtonFile& file)
{
    return lookOf(file);
}

} // namespace valdora

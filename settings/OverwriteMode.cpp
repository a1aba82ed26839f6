#include "OverwriteMode.h"

namespace valdora {

namespace overwritestep {

OverwriteResult fillEmpty(const QString& present, const QString& computed, const QString& /*separator*/)
{
    if (present.isEmpty())
        return {computed, true};
    return {present, false};
}

OverwriteResult append(const QString& present, const QString& computed, const QString& separator)
{
    if (computed.isEmpty())
        return {present, false};
    if (present.isEmpty())
        return {computed, true};
    return {present + separator + computed, true};
}

OverwriteResult unlessEmpty(const QString& present, const QString& computed, const QString& /*separator*/)
{
    if (computed.isEmpty())
        return {present, false};
    return {computed, true};
}

OverwriteResult always(const QString& /*present*/, const QString& computed, const QString& /*separator*/)
{
    return {computed, true};
}

} // namespace overwritestep

namespace {

const QString On = QStringLiteral("1");
const QString Off = QStringLiteral("0");

} // namespace

QString keyOf(OverwriteMode mode)
{
    return ButtonKey::at(ButtonKey::Over, static_cast<int>(mode));
}

std::optional<OverwriteMode> overwriteModeOfKey(const QString& key)
{
    for (const OverwriteModeRow& row : OverwriteModes) {
        if (key.compare(keyOf(row.mode), Qt::CaseInsensitive) == 0)
            return row.mode;
    }
    return std::nullopt;
}

std::optional<OverwriteMode> overwriteModeAt(int option)
{
    if (option < 0 || option >= static_cast<int>(OverwriteModes.size()))
        return std::nullopt;
    return OverwriteModes[static_cast<std::size_t>(option)].mode;
}

OverwriteOptions::OverwriteOptions(std::initializer_list<OverwriteMode> modes)
{
    for (const OverwriteMode mode : modes)
        *this = with(mode);
}

std::optional<OverwriteMode> OverwriteOptions::last() const
{
    std::optional<OverwriteMode> last;
    for (const OverwriteModeRow& row : OverwriteModes) {
        if (contains(row.mode))
            last = row.mode;
    }
    return last;
}

OverwriteOptions readOverwriteOptions(const ButtonFile& file, const OverwriteOptions& onWhenAbsent)
{
    OverwriteOptions options;
    for (const OverwriteModeRow& row : OverwriteModes) {
        if (file.isOn(keyOf(row.mode), onWhenAbsent.contains(row.mode) ? On : Off))
            options = options.with(row.mode);
    }
    return options;
}

OverwriteOptions readRunOverwriteOptions(const ButtonFile& file)
{
    return readOverwriteOptions(file, {OverwriteMode::NeverOverwrite, OverwriteMode::Append});
}

QString readRunAppendSeparator(const ButtonFile& file)
{
    return file.read(ButtonKey::AppenSep, QStringLiteral("-"));
}

std::optional<OverwriteMode> readOverwriteMode(const ButtonFile& file)
{
    return readOverwriteOptions(file, {OverwriteMode::NeverOverwrite}).last();
}

bool writeOverwriteMode(const ButtonFile& file, std::optional<OverwriteMode> mode)
{
    for (const OverwriteModeRow& row : OverwriteModes) {
        if (!file.write(keyOf(row.mode), row.mode == mode ? On : Off))
            return false;
    }
    return true;
}

} // namespace valdora

#include "FileLister.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <utility>
#include <vector>

namespace valdora {

namespace {

// Matches a name against a pattern of the platform's kind: "*" any run of characters, "?" one
// character, everything else itself, without regard to case. "*.*" matches every name, names
// without a dot included, as it does on the platform.
bool matches(QStringView name, QStringView pattern)
{
    if (pattern == u"*.*")
        return true;
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starPattern = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == u'?' ||
             (pattern[p] != u'*' && pattern[p].toCaseFolded() == name[n].toCaseFolded()))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern >= 0) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

QStringList FileLister::list(const QString& pattern) const
{
    const qsizetype slash = pattern.lastIndexOf(u'/');
    const QString folder =
        slash < 0 ? QStringLiteral(".") : (slash == 0 ? QStringLiteral("/") : pattern.left(slash));
    const QString namePattern = pattern.mid(slash + 1);

    const QDir dir(folder);
    QStringList names;
    if (!namePattern.isEmpty() && dir.exists()) {
        const QStringList listed = dir.entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
        // Byte order of the names as the file system holds them: the same on every machine. Each
        // name is encoded once, not at every comparison (the bar lists its folder as it starts).
        std::vector<std::pair<QByteArray, QString>> keyed;
        keyed.reserve(static_cast<std::size_t>(listed.size()));
        for (const QString& name : listed)
            keyed.emplace_back(QFile::encodeName(name), name);
        std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        QStringList entries{QStringLiteral("."), QStringLiteral("..")};
        entries.reserve(listed.size() + 2);
        for (auto& [key, name] : keyed)
            entries.append(std::move(name));
        for (const QString& entry : entries) {
            if (matches(entry, namePattern))
                names.append(entry);
        }
    }
    if (names.isEmpty())
        return {QString()};
    // Element 0 is the first name listed; "." and ".." are never among the others.
    QStringList result{names.front()};
    for (qsizetype i = 1; i < names.size(); ++i) {
        if (names[i] != u"." && names[i] != u"..")
            result.append(names[i]);
    }
    return result;
}

} // namespace valdora

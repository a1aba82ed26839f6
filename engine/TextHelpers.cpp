#include "TextHelpers.h"

#include <array>
#include <utility>

namespace valdora::engine {

namespace {

struct AccentPair {
    char16_t accented;
    const char* plain;
};

// In this order; "ô", "ö" and "ò" become the capital "O", as counter files written so far hold them.
constexpr std::array<AccentPair, 33> AccentTable{{
    {u'Ç', "C"}, {u'ü', "u"}, {u'é', "e"}, {u'â', "a"}, {u'ä', "a"}, {u'à', "a"}, {u'å', "a"},
    {u'ç', "c"}, {u'ê', "e"}, {u'ë', "e"}, {u'è', "e"}, {u'ï', "i"}, {u'î', "i"}, {u'ì', "i"},
    {u'Ä', "A"}, {u'Å', "A"}, {u'É', "E"}, {u'æ', "a"}, {u'Æ', "A"}, {u'ô', "O"}, {u'ö', "O"},
    {u'ò', "O"}, {u'û', "u"}, {u'ù', "u"}, {u'ÿ', "y"}, {u'Ö', "O"}, {u'Ü', "U"}, {u'á', "a"},
    {u'í', "i"}, {u'ó', "o"}, {u'ú', "u"}, {u'ñ', "n"}, {u'Ñ', "N"},
}};

} // namespace

QString Remove_Accents(const QString& text)
{
    QString result = text;
    for (const AccentPair& pair : AccentTable)
        result.replace(QChar(pair.accented), QLatin1String(pair.plain));
    return result;
}

QString Extract_Day(EngineContext& context, const QString& text)
{
    QString result;
    trapped(context.session.reporter(), context.routine(RoutineKind::Function, "Extract_Day"), [&] {
        const qsizetype blank = text.indexOf(u' ');
        result = blank >= 0 ? text.left(blank) : text;
    });
    return result;
}

QString Get_Username(EngineContext& context, const QString& uniqueId)
{
    QString result;
    trapped(context.session.reporter(), context.routine(RoutineKind::Function, "Get_Username"), [&] {
        host::UserList* users = context.reader.users();
        if (users == nullptr) {
            result = uniqueId;
            return;
        }
        // Users are numbered from 1; an empty list has no name to give.
        const qint16 count = users->Count();
        for (qint16 i = 1; i <= count; ++i) {
            if (users->UniqueID(i) == uniqueId) {
                result = users->Name(i);
                return;
            }
        }
    });
    return result;
}

} // namespace valdora::engine

#include "AutoNumberScheme.h"

#include "TextHelpers.h"

#include "settings/RunSchemeReaders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace valdora::engine {

namespace {

constexpr QChar FieldMarker(0xF8);
constexpr QChar TextMarker(0xF9);
constexpr QChar CounterMarker(0xFA);

} // namespace

AutoNumberScheme::AutoNumberScheme(EngineContext& context)
    : m_context(context), m_members(static_cast<size_t>(std::max(context.options.memberCount, 1))),
      m_locks(context.options.counterLockTimeoutMs)
{}

AutoNumberScheme::Member& AutoNumberScheme::member(int index)
{
    if (index < 0 || index >= static_cast<int>(m_members.size()))
        throw Failure(ErrorNumber::SubscriptOutOfRange);
    return m_members[static_cast<size_t>(index)];
}

QString AutoNumberScheme::defaultCounterFile(const QString& buttonFileName) const
{
    const QString name = m_context.options.counterNaming == CounterFileNaming::BaseName
                             ? buttonFileName.section(u'.', 0, 0)
                             : buttonFileName;
    return m_context.session.dataFolder() + QDir::separator() + QStringLiteral("AutoNumber_") + name +
           QStringLiteral(".num");
}

QString AutoNumberScheme::counterFileOf(const ButtonFile& keys, const QString& buttonFileName) const
{
    return readStoredCounterFile(keys).value_or(defaultCounterFile(buttonFileName));
}

QString AutoNumberScheme::previewCounter(const QString& path)
{
    auto found = m_previewCounters.find(path);
    if (found == m_previewCounters.end()) {
        QString counter = QStringLiteral("1");
        QFile file(path);
        if (file.exists()) {
            if (!file.open(QIODevice::ReadOnly))
                throw Failure(
                    ErrorNumber::PermissionDenied,
                    QStringLiteral("The counter file %1 cannot be read: %2").arg(path, file.errorString()));
            QByteArray line = file.readLine();
            while (line.endsWith('\n') || line.endsWith('\r'))
                line.chop(1);
            counter = CounterFile::counterOf(QString::fromLatin1(line), path);
        }
        found = m_previewCounters.emplace(path, counter).first;
    }
    return found->second;
}

OpenCounterFile& AutoNumberScheme::openCounter(const QString& path)
{
    return m_openCounters.try_emplace(path, path).first->second;
}

void AutoNumberScheme::writeCounter(const Member& m, const QString& counter)
{
    if (m_context.options.preview) {
        m_previewCounters[m.counterFile] = counter;
        return;
    }
    // Flushed in batches: each write is whole, so only a power loss can take a number back.
    openCounter(m.counterFile).write(counter);
    m_sync.advanced(m.counterFile);
}

bool AutoNumberScheme::Initialize_AutoNumber(int index, const QString& buttonFileName)
{
    const bool keysRead = trapped(
        m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Initialize_AutoNumber"), [&] {
            Member& m = member(index);
            m = Member{};
            const ButtonFile keys = m_context.keys(buttonFileName);
            // Read first: a member that fails later still names its counter file and separator.
            m.configuredCounterFile = counterFileOf(keys, buttonFileName);
            m.separator = readRunAutoSeparator(keys);
            const ButtonValue button = m_context.memberButton(buttonFileName, Scheme::AutoNumber);
            const auto& own = std::get<AutoNumberKeys>(button.scheme);
            QString format = button.format;
            if (format.contains(TextMarker))
                format.replace(TextMarker, own.text);
            m.format = format;
            if (format.contains(FieldMarker)) {
                m.usesField = true;
                const FieldRef ref =
                    m_context.reader.resolve(own.field, {ButtonKey::AutoFieldValue}, FieldUse::Required);
                if (ref.state == FieldRefState::Missing || ref.state == FieldRefState::NotUpgraded) {
                    m_context.showInvalidData();
                    return;
                }
                m.fieldId = ref.id;
                m.fieldType = ref.type;
            }
            m.upperCase = own.upperCase;
            if (own.truncate) {
                m.truncate = true;
                m.keep = m_context.session.locale().toInt16(readRunTruncateDigits(keys));
            }
        });
    // A member that cannot be prepared is said once: its counter is not looked at.
    if (!keysRead || m_context.memberFailed)
        return false;
    // A counter that cannot be read or replaced would fail every contact after a commit, or restart
    // the numbering: the run learns it before it writes anything.
    if (m_context.options.preview)
        return !m_failed;
    const bool usable =
        trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Initialize_AutoNumber"),
                [&] { CounterFile::checkUsable(member(index).configuredCounterFile); });
    m_failed = m_failed || !usable;
    return usable;
}

// The member's keys were read by Initialize_AutoNumber.
QString AutoNumberScheme::Obtain_AutoNumber(const host::ContactId& contactId, const QString&, int index)
{
    QString result;
    Member* held = nullptr;
    const bool ok = trapped(
        m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Obtain_AutoNumber"), [&] {
            Member& m = member(index);
            held = &m;
            if (!m_context.reachContact(contactId))
                return;

            QString part;
            if (m.usesField) {
                part = m_context.fieldValue(m.fieldId).value_or(QString());
                if (m.fieldType == host::FieldType::Date || m.fieldType == host::FieldType::DateTime)
                    part = Extract_Day(m_context, part);
            }
            if (m.truncate)
                part = Remove_Accents(part).left(std::max(m.keep, 0));
            if (m.upperCase)
                part = part.toUpper();

            QString format = m.format;
            // Without a field part, a leading field marker goes together with the separator after it.
            if (format.startsWith(FieldMarker) && part.isEmpty())
                format.remove(0, format.size() > 1 && format.at(1) == u'|' ? 2 : 1);
            format.replace(FieldMarker, part);
            format.replace(u'|', m.separator);

            const QString path = m.configuredCounterFile;
            m_lastCounterFile = path;
            if (m_context.options.preview) {
                m.counterFile = path;
                m.counter = previewCounter(path);
                m.pending = true;
                result = format.replace(CounterMarker, m.counter);
                return;
            }
            // The number stays locked against other processes until it is advanced or given up.
            if (!m.lock || m.counterFile != path) {
                m.lock.reset();
                m.pending = false;
                m.lock = m_locks.acquire(path);
            }
            m.counterFile = path;
            const QString line = openCounter(path).readFirstLine();
            m.counter = CounterFile::counterOf(line, path);
            m.pending = true;
            result = format.replace(CounterMarker, m.counter);
        });
    if (!ok && held != nullptr) {
        // No number was handed out: nothing to advance, nothing to keep locked.
        held->pending = false;
        held->lock.reset();
        m_failed = true;
        result.clear();
    }
    return result;
}

bool AutoNumberScheme::Update_AutoNumber(int index)
{
    const bool ok =
        trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Update_AutoNumber"), [&] {
            Member& m = member(index);
            if (!m.pending)
                return;
            writeCounter(m, CounterFile::next(m.counter, m_context.session.locale()));
            m.pending = false;
            m.advanced = true;
        });
    m_failed = m_failed || !ok;
    return ok;
}

void AutoNumberScheme::giveBack(int index)
{
    const bool ok =
        trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Update_AutoNumber"), [&] {
            Member& m = member(index);
            if (!m.advanced)
                return;
            m.advanced = false;
            writeCounter(m, m.counter);
        });
    // A number that could not be given back stays a gap: the counter is past it either way.
    m_failed = m_failed || !ok;
}

void AutoNumberScheme::syncCounters()
{
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Update_AutoNumber"),
            [&] { m_sync.syncAll(); });
    // Between runs the files are the users' and the editor's again: nothing is kept open.
    m_openCounters.clear();
}

void AutoNumberScheme::releaseCounterLocks()
{
    for (Member& m : m_members) {
        m.pending = false;
        m.advanced = false;
        m.lock.reset();
    }
}

} // namespace valdora::engine

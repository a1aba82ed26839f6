#include "LocationsForm.h"

#include "LocationTexts.h"

#include "core/FileLock.h"
#include "settings/ButtonFileName.h"
#include "settings/SettingsLocation.h"
#include "settings/UserKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace valdora::bar {

namespace {

/// What a settings file that is created empty holds: one line with a single blank.
const QByteArray BlankLine = QByteArrayLiteral(" \r\n");

qsizetype lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
}

/// The text of a path up to its last separator, without it; empty when it has none.
QString folderOf(const QString& path)
{
    const qsizetype last = lastSeparator(path);
    return last >= 0 ? path.left(last) : QString();
}

QString fileNameOf(const QString& path)
{
    return path.mid(lastSeparator(path) + 1);
}

/// Copies a file over whatever is at the target; the target is whole or untouched.
void copyReplacing(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure(ErrorNumber::PathFileAccessError,
                      standardDescription(ErrorNumber::PathFileAccessError) + QStringLiteral(": ") + source);
    const QByteArray content = in.readAll();
    if (in.error() != QFileDevice::NoError || !replaceFileAtomically(target, content))
        throw Failure(ErrorNumber::PathFileAccessError,
                      standardDescription(ErrorNumber::PathFileAccessError) + QStringLiteral(": ") + target);
}

} // namespace

LocationsForm::LocationsForm(ProgramSession& session) : m_session(session) {}

bool LocationsForm::Form_Activate()
{
    m_startingPath = m_session.settingsFilePath();
    m_selectedPath = m_startingPath;
    m_pathText = m_startingPath;
    if (QFileInfo::exists(m_pathText))
        return true;
    return replaceFileAtomically(m_pathText, BlankLine);
}

LocationsForm::DialogStart LocationsForm::dialogStart() const
{
    const QString folder = folderOf(m_pathText);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return {m_session.dataFolder(), fileNameOf(m_pathText)};
    return {folder, fileNameOf(m_pathText)};
}

bool LocationsForm::cmdBrowse_Click()
{
    const DialogStart start = dialogStart();
    const std::optional<QString> chosen = m_session.platform().askOpenFile(
        {locationtexts::Browse, locationtexts::IniFilter, start.folder, start.fileName});
    if (!chosen || chosen->isEmpty())
        return false;
    m_selectedPath = *chosen;
    if (m_selectedPath != m_pathText) {
        m_pathText = m_selectedPath;
        m_session.showMessage(locationtexts::RestartNeeded, MessageButtons::Ok, MessageIcon::Exclamation);
    }
    return true;
}

void LocationsForm::cmdCopy_Click()
{
    const DialogStart start = dialogStart();
    const std::optional<QString> chosen = m_session.platform().askSaveFile(
        {locationtexts::Copy, locationtexts::IniFilter, start.folder, start.fileName});
    if (!chosen || chosen->isEmpty())
        return;
    const QString target = *chosen;
    if (QFileInfo::exists(m_pathText)) {
        // No is the preset answer: a settings file is not overwritten by a slip of the Enter key.
        if (QFileInfo::exists(target) &&
            m_session.showMessage(locationtexts::OverwriteQuestion, MessageButtons::YesNo,
                                  MessageIcon::Exclamation, 1) != MessageAnswer::Yes)
            return;
        if (target != m_pathText)
            copySettings(target);
    } else if (!QFileInfo::exists(target) && !replaceFileAtomically(target, BlankLine)) {
        // A settings file already there is someone's settings: it is taken as it is, never emptied.
        throw Failure(ErrorNumber::PathFileAccessError,
                      standardDescription(ErrorNumber::PathFileAccessError) + QStringLiteral(": ") + target);
    }
    m_selectedPath = target;
    m_pathText = target;
}

void LocationsForm::copySettings(const QString& target)
{
    copyReplacing(m_pathText, target);
    const QString oldFolder = folderOf(m_pathText);
    const QString newFolder = folderOf(target);
    if (QDir(oldFolder).absolutePath() == QDir(newFolder).absolutePath())
        return;
    const QStringList buttonFiles =
        QDir(oldFolder).entryList({ButtonFileName::ListingPattern}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : buttonFiles)
        copyReplacing(oldFolder + u'/' + name, newFolder + u'/' + name);
}

bool LocationsForm::cmdOK_Click()
{
    if (!QFileInfo(m_selectedPath).isFile()) {
        m_session.showMessage(locationtexts::InvalidFile);
        return false;
    }
    const bool stored =
        m_session.userSettings().set(Application::Valdora, UserKey::Settings,
                                     {{UserKey::IniLocation, m_selectedPath},
                                      {UserKey::IniFolder, folderOf(m_selectedPath) + QDir::separator()}});
    if (!stored)
        throw Failure(ErrorNumber::PermissionDenied);
    // The running program reads its settings from the new file at once; its buttons stay where they
    // were listed from until the next start, as the restart message says.
    if (m_selectedPath != m_startingPath)
        m_session.ini().setCurrentSettingsFile(m_selectedPath);
    return true;
}

} // namespace valdora::bar

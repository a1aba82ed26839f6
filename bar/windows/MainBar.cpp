#include "MainBar.h"

#include "FirstPaint.h"

#include "bar/BarLayout.h"
#include "bar/ButtonListing.h"
#include "bar/LastScope.h"
#include "core/icons/ProgramIcons.h"
#include "core/qt/QtPlatform.h"
#include "core/qt/WindowPlacement.h"

#include "bar/schedule/ScheduleTexts.h"
#include "run/ButtonRun.h"
#include "run/UndoAndRetry.h"
#include "run/journal/RunJournal.h"
#include "settings/ButtonReaders.h"
#include "settings/ComposedMessages.h"
#include "settings/MessageId.h"
#include "settings/UserKey.h"
#include "triggers/TriggerText.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace valdora::bar {

namespace {

constexpr const char* Form = "frmMain";
constexpr int ShutdownTickMs = 1000;
constexpr int ShutdownTicks = 2;
/// How often an end the host asked for looks again whether the bar's open window has closed.
constexpr int EndRetryMs = 50;

Routine routine(const char* name)
{
    return {Form, RoutineKind::Sub, name};
}

/// The scope question of a run, answered as cancelled when the host closed while it was open (or
/// while the preview it opened was): the bar is ending, and the run would find no host to write
/// through.
class QuestionWhileTheHostStays final : public run::ScopeChooser {
public:
    QuestionWhileTheHostStays(run::ScopeChooser& question, const bool& hostGone)
        : m_question(question), m_hostGone(hostGone)
    {}
    std::optional<run::Scope> chooseScope(bool otherDatabase) override
    {
        const std::optional<run::Scope> scope = m_question.chooseScope(otherDatabase);
        answered = m_hostGone ? std::nullopt : scope;
        return answered;
    }
    /// The scope the run was given, kept as the button's last one.
    std::optional<run::Scope> answered;

private:
    run::ScopeChooser& m_question;
    const bool& m_hostGone;
};

QString slotName(const char* control, int slot)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(slot);
}

} // namespace

MainBar::MainBar(BarParts parts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_session(parts.session),
      m_screens(parts.screens), m_scopes(parts.scopes), m_factories(std::move(parts.factories)),
      m_icon(std::move(parts.icon))
{
    setObjectName(QStringLiteral("frmMain"));
    // The bar's icon is also its icon in the notification area.
    setWindowIcon(icons::programIcon(icons::Program::Valdora));
    // It returns to its stored place rather than opening over another window.
    keepOwnPlace(*this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("barSlots"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_content = new QWidget;
    m_scroll->setWidget(m_content);
    buildMenus();
    connect(m_icon.get(), &NotificationIcon::leftClicked, this, [this] { ProcessTray(TrayLeftButtonDown); });
    connect(m_icon.get(), &NotificationIcon::rightClicked, this,
            [this] { ProcessTray(TrayRightButtonDown); });
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&m_timer1, &QTimer::timeout, this, &MainBar::Timer1_Timer);
}

MainBar::~MainBar()
{
    if (!m_unloaded && !m_flags.quit)
        Form_Unload();
}

template <typename Body> void MainBar::handle(const char* routineName, Body&& body)
{
    ++m_handlersOnStack;
    const QScopeGuard left([this] { --m_handlersOnStack; });
    trapped(m_session.reporter(), routine(routineName), std::forward<Body>(body));
}

void MainBar::buildMenus()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("mnuPopup"));
    const auto item = [this](QMenu* menu, const char* name, void (MainBar::*handler)()) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_mnuSettings = item(m_popup, "mnuSettings", &MainBar::mnuSettings_Click);
    m_mnuTrigger = item(m_popup, "mnuTrigger", &MainBar::mnuTrigger_Click);
    m_mnuSchedule = item(m_popup, "mnuSchedule", &MainBar::mnuSchedule_Click);
    m_popup->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    m_mnuColor = item(m_popup, "mnuColor", &MainBar::mnuColor_Click);
    m_mnuBold = item(m_popup, "mnuBold", &MainBar::mnuBold_Click);
    m_mnuBold->setCheckable(true);
    m_popup->addSeparator()->setObjectName(QStringLiteral("mnuSep"));
    m_mnuDelete = item(m_popup, "mnuDelete", &MainBar::mnuDelete_Click);
    m_popup->addSeparator()->setObjectName(QStringLiteral("mnuSepJournal"));
    m_mnuUndo = item(m_popup, "mnuUndo", &MainBar::mnuUndo_Click);
    m_mnuRetry = item(m_popup, "mnuRetry", &MainBar::mnuRetry_Click);

    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("mnuTray"));
    m_mnuShow = item(m_trayMenu, "mnuShow", &MainBar::mnuShow_Click);
    // The same two items as in the button menu: a run can be taken back while the bar is hidden.
    m_trayMenu->addSeparator()->setObjectName(QStringLiteral("mnuTraySepJournal"));
    m_trayMenu->addAction(m_mnuUndo);
    m_trayMenu->addAction(m_mnuRetry);
    m_trayMenu->addSeparator()->setObjectName(QStringLiteral("mnuTraySepClose"));
    m_mnuClose = item(m_trayMenu, "mnuClose", &MainBar::mnuClose_Click);
    // The button menu lists its button's runs first; the tray menu has no button and starts with the
    // newest run of any.
    connect(m_popup, &QMenu::aboutToShow, this, [this] {
        m_journalButton = m_buttons.value(m_selectedSlot);
        offerJournalItems();
    });
    connect(m_trayMenu, &QMenu::aboutToShow, this, [this] {
        m_journalButton.clear();
        offerJournalItems();
    });
}

void MainBar::offerJournalItems()
{
    const JournalActions::Offers offers = JournalActions::offers();
    m_mnuUndo->setEnabled(offers.undo);
    m_mnuRetry->setEnabled(offers.retry);
}

JournalActions MainBar::journalActions()
{
    return JournalActions(m_session, m_connection.host.runHost(), [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

void MainBar::mnuUndo_Click()
{
    handle("mnuUndo_Click", [&] { chooseJournalRun(RunChoice::Action::Undo); });
}

void MainBar::mnuRetry_Click()
{
    handle("mnuRetry_Click", [&] { chooseJournalRun(RunChoice::Action::Retry); });
}

void MainBar::chooseJournalRun(RunChoice::Action purpose)
{
    JournalActions actions = journalActions();
    const std::vector<ListedRun> runs = actions.listedRuns();
    if (std::none_of(runs.begin(), runs.end(),
                     [purpose](const ListedRun& listed) { return canDo(listed.run, purpose); })) {
        actions.sayNothingTo(purpose);
        return;
    }
    // The run of the button whose menu this is; none when it has none, rather than another button's.
    const std::optional<RunChoice> choice =
        m_screens.chooseRun(runs, preselectedRun(runs, m_journalButton, purpose));
    if (!choice)
        return;
    if (choice->action == RunChoice::Action::Undo)
        actions.undoRun(choice->run);
    else
        actions.retryRun(choice->run);
}

void MainBar::setMenuCaptions()
{
    const Messages& messages = m_session.messages();
    m_mnuSettings->setText(messages.get(MessageId::BarMenuSettings));
    m_mnuTrigger->setText(messages.get(MessageId::BarMenuTriggerSyntax));
    m_mnuColor->setText(messages.get(MessageId::BarMenuColor));
    m_mnuBold->setText(messages.get(MessageId::BarMenuBold));
    m_mnuDelete->setText(messages.get(MessageId::BarMenuDeleteButton));
    m_mnuSchedule->setText(
        schedule::scheduleText(messages.languageBase(), schedule::ScheduleText::MenuSchedule));
    m_mnuShow->setText(messages.get(MessageId::BarMenuShowBar));
    m_mnuClose->setText(messages.get(MessageId::BarMenuClose));
    m_mnuUndo->setText(messages.get(OwnText::MenuUndoLastRun));
    m_mnuRetry->setText(messages.get(OwnText::MenuRetryFailed));
}

bool MainBar::Form_Load()
{
    bool loaded = false;
    trapped(m_session.reporter(), routine("Form_Load"), [&] {
        if (!registerWithHost(m_session, m_factories, m_connection, m_flags))
            return;
        if (m_connection.events && !m_flags.reload) {
            // Queued: the unload releases the event control, which must not happen while it is
            // still delivering the event.
            connect(m_connection.events.get(), &host::EventControl::OnUserWantsToClose, this,
                    &MainBar::OnUserWantsToClose, Qt::QueuedConnection);
            connect(m_connection.events.get(), &host::EventControl::OnDatabaseClose, this,
                    &MainBar::OnDatabaseClose, Qt::QueuedConnection);
        }
        if (!openHostDatabase(m_session, m_factories, m_connection)) {
            m_flags.quit = true;
            return;
        }
        // A language setting that is no number is reported; the bar loads in the language it has.
        // A rebuild keeps the language the bar started with: one chosen since takes effect at the
        // next start, everywhere at once, as the language window says.
        if (!m_flags.reload)
            trapped(m_session.reporter(), routine("Form_Load"),
                    [&] { settleLanguage(m_session, m_screens, m_connection.host.application.get()); });
        buildBar();
        // Last of the load, once: buttons saved before the decimals of numeric targets were kept.
        if (m_flags.upgradeTargetDecimals) {
            m_flags.upgradeTargetDecimals = false;
            upgradeButtonDecimals(m_session, m_connection, m_buttons);
        }
        loaded = true;
    });
    if (!loaded) {
        // The load did not get through: the program ends without storing anything of the bar.
        m_flags.quit = true;
        takeOffTray();
    }
    return loaded;
}

void MainBar::buildBar()
{
    setMenuCaptions();
    setWindowTitle(m_session.applicationTitle());

    const ButtonListing listing =
        Get_Buttons(m_session.ini(), m_session.buttonFolder(), m_connection.databaseName);
    m_buttons = listing.files;
    m_lastButtonFile = listing.lastButtonFile;
    const int slotCount = slotsShown();
    ensureSlots(std::max(BarLayout::DesignedSlots, slotCount));
    for (int slot = 0; slot < static_cast<int>(m_slots.size()); ++slot) {
        m_slots[static_cast<std::size_t>(slot)].fill->setVisible(slot < slotCount);
        m_slots[static_cast<std::size_t>(slot)].edit->setVisible(slot < slotCount);
    }
    for (int slot = 0; slot < static_cast<int>(m_buttons.size()); ++slot)
        showFace(slot, listing.faces[slot]);
    showFace(slotCount - 1, newSlotFace(m_session.messages()));
    sizeBar(slotCount);

    if (!m_flags.reload) {
        // Placed before its native window exists, the window manager puts the frame where asked.
        placeBar();
        // Started in the notification area, the bar stays hidden until its icon is clicked; where
        // the desktop has no notification area it is shown, or it could not be reached at all.
        const bool inTray =
            m_session.userSettings().get(Application::Valdora, UserKey::Settings, UserKey::StartBar,
                                         QStringLiteral("0")) == QStringLiteral("1") &&
            putInTray();
        if (inTray)
            m_hooked = true;
        else
            show();
    }
    // The handle only lets a second start find this bar: a bar that is about to be shown stores it
    // right after its first paint, since the store's write waits for the disk and would otherwise
    // hold back the paint.
    if (isVisible() && !m_windowHandleStored)
        new FirstPaint(*this, [this] { QTimer::singleShot(0, this, &MainBar::storeWindowHandle); });
    else
        storeWindowHandle();
    m_flags.reload = false;
}

void MainBar::storeWindowHandle()
{
    m_session.userSettings().set(Application::Valdora, UserKey::Settings, UserKey::Hwnd,
                                 QString::number(winId()));
    m_windowHandleStored = true;
    emit windowHandleSaved();
}

void MainBar::ensureSlots(int count)
{
    const Messages& messages = m_session.messages();
    const double dpi = dotsPerInch();
    while (static_cast<int>(m_slots.size()) < count) {
        const int slot = static_cast<int>(m_slots.size());
        Slot created;
        created.fill = new QPushButton(m_content);
        created.fill->setObjectName(slotName("cmdButton", slot));
        created.fill->setCheckable(true);
        created.fill->setContextMenuPolicy(Qt::CustomContextMenu);
        created.fill->setToolTip(messages.get(MessageId::ClickToRun));
        connect(created.fill, &QPushButton::clicked, this, [this, slot](bool checked) {
            // The toggle is set back at once; setting it back is no second run.
            if (!checked)
                return;
            m_slots[static_cast<std::size_t>(slot)].fill->setChecked(false);
            cmdButton_Click(slot);
        });
        connect(created.fill, &QPushButton::customContextMenuRequested, this, [this, slot] {
            prepareSlotMenu(slot);
            m_popup->popup(QCursor::pos());
        });
        created.edit = new QPushButton(QStringLiteral("?"), m_content);
        created.edit->setObjectName(slotName("cmdOptions", slot));
        created.edit->setToolTip(messages.get(MessageId::ClickToEdit));
        connect(created.edit, &QPushButton::clicked, this, [this, slot] { cmdOptions_Click(slot); });
        const BarLayout::SlotRects rects = BarLayout::slotRects(slot);
        const auto pixels = [dpi](const QRect& twips) {
            return QRect(BarLayout::toPixels(twips.x(), dpi), BarLayout::toPixels(twips.y(), dpi),
                         BarLayout::toPixels(twips.width(), dpi), BarLayout::toPixels(twips.height(), dpi));
        };
        created.fill->setGeometry(pixels(rects.fill));
        created.edit->setGeometry(pixels(rects.edit));
        created.fill->setText(messages.get(MessageId::New));
        m_slots.push_back(created);
    }
}

void MainBar::showFace(int slot, const SlotFace& face)
{
    QPushButton* button = m_slots[static_cast<std::size_t>(slot)].fill;
    button->setText(face.caption);
    // A changed font or palette restyles the button: only what differs is set.
    const QFont font = m_captionFonts.fontFor(*button, face.caption, face.bold);
    if (button->font() != font)
        button->setFont(font);
    const QColor colour = colourFromNumber(face.colour);
    if (button->palette().color(QPalette::ButtonText) != colour) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, colour);
        button->setPalette(palette);
    }
    button->setEnabled(true);
}

void MainBar::sizeBar(int slotCount)
{
    const double dpi = dotsPerInch();
    const QSize client = BarLayout::clientSize(slotCount);
    const QSize content = BarLayout::contentSize(slotCount);
    m_content->resize(BarLayout::toPixels(content.width(), dpi), BarLayout::toPixels(content.height(), dpi));
    // Past ten columns the bar stops growing: a scroll bar reaches the columns beyond.
    const bool scrolls = content.width() > client.width();
    m_scroll->setHorizontalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int scrollBar = scrolls ? m_scroll->horizontalScrollBar()->sizeHint().height() : 0;
    const QSize pixels(BarLayout::toPixels(client.width(), dpi),
                       BarLayout::toPixels(client.height(), dpi) + scrollBar);
    m_scroll->setGeometry(QRect(QPoint(0, 0), pixels));
    setFixedSize(pixels);
}

double MainBar::dotsPerInch() const
{
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    return shown ? shown->logicalDotsPerInch() : 96.0;
}

void MainBar::placeBar()
{
    // "Top" and "Left" are the frame's top-left corner on the desktop, in twips: what the bar's
    // close stores is what its next start restores.
    const double dpi = dotsPerInch();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect desktop = primary ? primary->virtualGeometry() : QRect(0, 0, 1024, 768);
    const QSize desktopTwips(BarLayout::toTwips(desktop.right() + 1, dpi),
                             BarLayout::toTwips(desktop.bottom() + 1, dpi));
    const QSize barTwips(BarLayout::toTwips(frameGeometry().width(), dpi),
                         BarLayout::toTwips(frameGeometry().height(), dpi));
    const UserSettings& store = m_session.userSettings();
    const QPoint twips = BarLayout::placedPosition(
        store.get(Application::Valdora, UserKey::Settings, UserKey::Top, QStringLiteral("0")),
        store.get(Application::Valdora, UserKey::Settings, UserKey::Left, QStringLiteral("0")), desktopTwips,
        barTwips);
    // A place off every screen (a screen since removed, or a place stored by an earlier version
    // that let the frame creep upwards) comes back onto the nearest screen.
    placeFrame(*this, QPoint(BarLayout::toPixels(twips.x(), dpi), BarLayout::toPixels(twips.y(), dpi)));
}

QPoint MainBar::positionTwips() const
{
    const double dpi = dotsPerInch();
    const QPoint frame = frameGeometry().topLeft();
    return {BarLayout::toTwips(frame.x(), dpi), BarLayout::toTwips(frame.y(), dpi)};
}

bool MainBar::putInTray()
{
    bool added = false;
    trapped(m_session.reporter(), {"Module1", RoutineKind::Function, "PutInTray"},
            [&] { added = m_icon->add(windowIcon(), trayTip(m_session.applicationTitle())); });
    return added;
}

void MainBar::takeOffTray()
{
    trapped(m_session.reporter(), {"Module1", RoutineKind::Function, "TakeOffTray"},
            [&] { m_icon->remove(); });
}

void MainBar::ProcessTray(int mouseMessage)
{
    if (mouseMessage == TrayLeftButtonDown)
        mnuShow_Click();
    else if (mouseMessage == TrayRightButtonDown)
        m_trayMenu->popup(QCursor::pos());
}

void MainBar::showForSecondStart()
{
    if (m_hooked)
        ProcessTray(TrayLeftButtonDown);
    raise();
    activateWindow();
}

ButtonFile MainBar::selectedButton() const
{
    return ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), m_buttons.value(m_selectedSlot));
}

void MainBar::cmdButton_Click(int index)
{
    // A bar that is ending has no host to run on.
    if (m_flags.quit)
        return;
    handle("cmdButton_Click", [&] {
        const QString caption = m_slots.at(static_cast<std::size_t>(index)).fill->text();
        // The "New" slot (or a button without a caption) opens the editor instead of running.
        if (caption.isEmpty() || caption == m_session.messages().get(MessageId::New) ||
            index >= m_buttons.size()) {
            cmdOptions_Click(index);
            return;
        }
        const QString buttonFile = m_buttons[index];
        QuestionWhileTheHostStays question(m_scopes, m_hostGone);
        run::ButtonRun buttonRun(m_session, m_connection.host.runHost(),
                                 run::ProgramProfile::valdora(m_session.locale()), &question);
        // Runs over a lookup or all contacts go into the user's run journal, to be undone or retried.
        const std::unique_ptr<journal::RunJournal> journal = run::openUserJournal(m_session);
        buttonRun.setJournal(journal.get());
        // The scope dialog of this run offers its preview; no other question does.
        m_scopes.offerPreview(
            [this, buttonFile](run::Scope scope) { return m_screens.previewRun(buttonFile, scope); });
        const QScopeGuard withdraw([this] { m_scopes.offerPreview({}); });
        m_scopes.preselect(lastScope(m_session.userSettings(), buttonFile));
        const run::RunSummary summary = buttonRun.Process_Button(buttonFile);
        if (question.answered)
            rememberScope(m_session.userSettings(), buttonFile, *question.answered);
        // The host could not reach a contact: the bar unloads, as its close would.
        if (summary.unloadRequested) {
            close();
            return;
        }
        journalActions().offerRetry(summary);
    });
}

void MainBar::cmdOptions_Click(int index)
{
    if (m_flags.quit)
        return;
    handle("cmdOptions_Click", [&] {
        m_selectedSlot = index;
        m_currentButton = m_buttons.value(index);
        if (m_currentButton.isEmpty()) {
            m_currentButton = m_session.messages().get(MessageId::New);
            m_newButton = true;
        }
        m_screens.openEditor(index);
        m_newButton = false;
    });
}

void MainBar::prepareSlotMenu(int index)
{
    for (QAction* action : {m_mnuTrigger, m_mnuDelete, m_mnuBold, m_mnuColor})
        action->setEnabled(true);
    m_selectedSlot = index;
    // The "New" slot has no button to schedule.
    m_mnuSchedule->setEnabled(index < m_buttons.size());
    m_mnuBold->setChecked(m_slots.at(static_cast<std::size_t>(index)).fill->font().bold());
    if (index >= m_buttons.size()) {
        for (QAction* action : {m_mnuTrigger, m_mnuBold, m_mnuColor, m_mnuDelete})
            action->setEnabled(false);
    }
}

void MainBar::mnuSettings_Click()
{
    cmdOptions_Click(m_selectedSlot);
}

void MainBar::mnuTrigger_Click()
{
    handle("mnuTrigger_Click", [&] {
        m_screens.showTriggerSyntax(
            TriggerText::forButtonFile(m_session.programFolder(), m_buttons.value(m_selectedSlot)));
    });
}

void MainBar::mnuColor_Click()
{
    handle("mnuColor_Click", [&] {
        // The dialog opens on the colour chosen last; a cancelled one changes nothing.
        const std::optional<quint32> chosen = m_session.platform().askColour(m_lastColour);
        if (!chosen)
            return;
        m_lastColour = *chosen;
        const ButtonFile button = selectedButton();
        if (!writeColour(button, m_lastColour))
            throw Failure(ErrorNumber::PermissionDenied, button.path());
        showFace(m_selectedSlot, faceOf(button));
    });
}

void MainBar::mnuBold_Click()
{
    handle("mnuBold_Click", [&] {
        const bool bold = !m_slots.at(static_cast<std::size_t>(m_selectedSlot)).fill->font().bold();
        const ButtonFile button = selectedButton();
        if (!writeBold(button, bold))
            throw Failure(ErrorNumber::PermissionDenied, button.path());
        showFace(m_selectedSlot, faceOf(button));
        m_mnuBold->setChecked(bold);
    });
}

void MainBar::mnuSchedule_Click()
{
    handle("mnuSchedule_Click", [&] {
        const QString button = m_buttons.value(m_selectedSlot);
        if (button.isEmpty())
            return;
        // A schedule runs on the database open now, named by its full path.
        const QString database =
            m_connection.host.database ? m_connection.host.database->GetDatabasePath() : QString();
        m_screens.openSchedule(button, database);
    });
}

void MainBar::mnuDelete_Click()
{
    handle("mnuDelete_Click", [&] {
        const ButtonFile button = selectedButton();
        const QString name = readCaption(button);
        // A Combo that runs this button would fail at its next run: the question names them, and
        // then No is the default.
        const QStringList combos = combosUsing(m_session.ini(), m_session.buttonFolder(), button.fileName());
        const MessageAnswer answer =
            combos.isEmpty() ? m_session.showMessage(deleteButtonQuestion(m_session.messages(), name),
                                                     MessageButtons::YesNo)
                             : m_session.showMessage(m_session.messages()
                                                         .get(OwnText::DeleteComboMember)
                                                         .arg(name, combos.join(QStringLiteral(", "))),
                                                     MessageButtons::YesNo, MessageIcon::Exclamation, 1);
        if (answer != MessageAnswer::Yes)
            return;
        // A file that is already gone is no failure.
        QFile::remove(button.path());
        m_buttons.removeAt(m_selectedSlot);
        reloadBar();
    });
}

void MainBar::reloadBar()
{
    m_flags.reload = true;
    if (Form_Load())
        return;
    // The load has said why; a bar left standing would show stale buttons over host objects that
    // are gone. It ends as a failed start does, once the window that asked for the rebuild is closed.
    hide();
    endAtOnce();
}

void MainBar::reloadAfterEdit()
{
    handle("cmdOK_Click", [&] { reloadBar(); });
}

void MainBar::mnuShow_Click()
{
    show();
    raise();
    activateWindow();
}

void MainBar::mnuClose_Click()
{
    m_closingByMenu = true;
    takeOffTray();
    close();
}

void MainBar::OnUserWantsToClose()
{
    if (m_connection.events)
        m_connection.events->Unregister();
    m_hostGone = true;
    m_closingByMenu = true;
    takeOffTray();
    // When the bar itself closed the host for a restart, the restart goes on.
    if (!m_flags.restartHost)
        endAtOnce();
}

void MainBar::OnDatabaseClose()
{
    if (m_connection.events)
        m_connection.events->Unregister();
    m_hostGone = true;
    m_closingByMenu = true;
    takeOffTray();
    endAtOnce();
}

void MainBar::endAtOnce()
{
    // A window the bar opened (the scope question, the preview, the editor, a message, a menu) runs a
    // loop of its own, with the run or the edit that opened it still on the stack and using the host's
    // objects: the unload that releases them waits until that handler has returned. The window being
    // gone is not enough: the loop that closed it may run this before the handler goes on.
    if (m_handlersOnStack > 0 || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr) {
        QTimer::singleShot(EndRetryMs, this, &MainBar::endAtOnce);
        return;
    }
    close();
}

bool MainBar::Form_QueryUnload()
{
    if (m_flags.quit || m_closingByMenu)
        return true;
    if (m_session.userSettings().get(Application::Valdora, UserKey::Settings, UserKey::NotClose,
                                     QStringLiteral("0")) != QStringLiteral("1"))
        return true;
    // The close box hides the bar to the notification area. Where the desktop has none, the bar
    // stays: hidden without an icon it could not be reached again.
    if (m_hooked || putInTray()) {
        m_hooked = true;
        hide();
    }
    return false;
}

void MainBar::closeEvent(QCloseEvent* event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void MainBar::Form_Unload()
{
    m_unloaded = true;
    if (m_flags.quit) {
        emit programEnded();
        return;
    }
    takeOffTray();
    m_hooked = false;
    const UnloadEnd end = unloadBar(m_session, m_connection, m_flags, positionTwips());
    if (end == UnloadEnd::AfterTwoTicks) {
        hide();
        m_timer1.start(ShutdownTickMs);
        return;
    }
    emit programEnded();
}

void MainBar::Timer1_Timer()
{
    if (++m_ticks >= ShutdownTicks) {
        m_timer1.stop();
        emit programEnded();
    }
}

} // namespace valdora::bar

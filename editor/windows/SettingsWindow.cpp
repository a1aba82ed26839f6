#include "SettingsWindow.h"

#include "SettingsCaptions.h"
#include "ui_frmSettings.h"

#include "pages/AutoNumberPageWidgets.h"
#include "pages/PageControls.h"
#include "pages/SchemePages.h"

#include "editor/dialogs/ConditionRow.h"
#include "editor/dialogs/RowGrid.h"
#include "editor/dialogs/RowName.h"
#include "engine/CounterStartValue.h"
#include "settings/ButtonFile.h"
#include "settings/MessageId.h"
#include "settings/OverwriteMode.h"
#include "settings/SettingsLocation.h"
#include "settings/UserKey.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStringListModel>
#include <QTimer>

#include <functional>
#include <stdexcept>
#include <utility>

namespace valdora::editor {

namespace {

constexpr const char* Form = "frmSettings";
const QString LabelColon = QStringLiteral(" :");

Routine routine(const char* name)
{
    return {Form, RoutineKind::Sub, name};
}

QString withSeparator(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    return folder;
}

} // namespace

SettingsWindow::SettingsWindow(ProgramSession& session, EditorHost& host, EditorScreens& screens,
                               const QString& fileName, QWidget* parent)
    : QDialog(parent), m_session(session), m_host(host), m_screens(screens),
      m_ui(std::make_unique<Ui::frmSettings>())
{
    m_ui->setupUi(this);
    // Each page holds the box of its scheme, named by the scheme's code.
    for (const SchemeRow& row : SchemeTable) {
        const qint16 code = codeOf(row.scheme);
        m_chkType[static_cast<std::size_t>(code)] =
            findChild<QCheckBox*>(QStringLiteral("chkType_%1").arg(code));
    }
    m_optOver = {m_ui->optOver_0, m_ui->optOver_1, m_ui->optOver_2, m_ui->optOver_3};
    m_optScope = {m_ui->optScope_0, m_ui->optScope_1};
    m_optAutoWarning = {m_ui->optAutoWarning_0, m_ui->optAutoWarning_1, m_ui->optAutoWarning_2};
    // Every page caption shows whole: the window is as wide as the seven tabs.
    m_ui->SSTab1->setUsesScrollButtons(false);
    buildMenus();
    makePages();
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui->txtButtonName, m_ui->cmbTarget, m_ui->txtAppendSep})
        registerControl(control->objectName(), control);
    connectControls();
    Form_Load(fileName);
}

SettingsWindow::~SettingsWindow() = default;

bool SettingsWindow::edit(ProgramSession& session, EditorHost& host, EditorScreens& screens,
                          const QString& fileName, QWidget* parent)
{
    SettingsWindow window(session, host, screens, fileName, parent);
    window.exec();
    return window.saved();
}

void SettingsWindow::makePages()
{
    // The widgets of each scheme's page, by the scheme each shows; a new scheme adds its row here.
    using PageMaker = std::function<std::unique_ptr<SchemePage>(QGroupBox&, const RegisterControl&)>;
    const std::array<std::pair<Scheme, PageMaker>, SchemeTable.size()> makers{{
        {Scheme::AutoNumber,
         [this](QGroupBox& frame, const RegisterControl& registry) {
             auto page = std::make_unique<AutoNumberPageWidgets>(
                 frame, registry,
                 [this] {
                     if (!m_filling)
                         Update_Output();
                 },
                 [this](AutoNumberPart part) { cmbPosition_LostFocus(part); });
             m_autoNumber = page.get();
             return page;
         }},
        {Scheme::Condition, makeConditionPage},
        {Scheme::AddSubtract, makeAddSubtractPage},
        {Scheme::MultiplyDivide, makeMultiplyDividePage},
        {Scheme::Now, makeNowPage},
        {Scheme::Combo, makeComboPage},
        {Scheme::Age, makeAgePage},
    }};
    m_pages.resize(SchemeTable.size());
    for (const auto& [scheme, make] : makers) {
        const int index = schemeRowOf(scheme)->editorPage;
        const QByteArray frame = rowName("fraValue", index).toLatin1();
        m_pages[static_cast<std::size_t>(index)] =
            make(required<QGroupBox>(*this, frame.constData()), controlRegistry());
    }
    // Every page of the tabs has its widgets, or a load would leave it empty and a store skip it.
    for (const std::unique_ptr<SchemePage>& page : m_pages) {
        if (!page)
            throw std::logic_error("a scheme of the scheme table has no page widgets");
    }
}

RegisterControl SettingsWindow::controlRegistry()
{
    return [this](const QString& name, QWidget* control) { registerControl(name, control); };
}

void SettingsWindow::registerControl(const QString& name, QWidget* widget)
{
    m_controls.insert(name, widget);
}

void SettingsWindow::buildMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    const auto item = [this](QMenu* menu, const char* name, auto handler) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu* options = m_menuBar->addMenu(QString());
    m_mnuOptions = options->menuAction();
    m_mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    m_mnuIniFile = item(options, "mnuIniFile", [this] { m_screens.settingsLocation(); });
    m_mnuStart = item(options, "mnuStart", [this] { m_screens.startOptions(); });
    m_mnuLanguage = item(options, "mnuLanguage", [this] {
        trapped(m_session.reporter(), routine("mnuLanguage_Click"), [&] { m_screens.languages(); });
    });
    m_mnuIntegrate = item(options, "mnuIntegrate", [this] {
        // The host restarts through the bar's unload, which must not run under the editor's loop.
        if (m_screens.integrate()) {
            reject();
            m_host.startShutdown();
        }
    });
    QMenu* help = m_menuBar->addMenu(QString());
    m_mnuHelp = help->menuAction();
    m_mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    m_mnuOnline = item(help, "mnuOnline", [this] { m_screens.onlineHelp(); });
    m_mnuIniFile->setEnabled(m_screens.offersSettingsLocation());
    m_mnuIntegrate->setEnabled(m_screens.offersIntegration());
    m_ui->mainLayout->setMenuBar(m_menuBar);
}

void SettingsWindow::connectControls()
{
    for (int code = 0; code < static_cast<int>(m_chkType.size()); ++code)
        connect(m_chkType[static_cast<std::size_t>(code)], &QCheckBox::toggled, this,
                [this, code](bool ticked) {
                    if (ticked)
                        chkType_Click(code);
                });
    connect(m_ui->SSTab1, &QTabWidget::currentChanged, this, &SettingsWindow::SSTab1_Click);
    m_ui->txtButtonName->installEventFilter(this);
    connect(m_ui->txtButtonName, &QLineEdit::textEdited, this, &SettingsWindow::txtButtonName_Edited);

    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Return in a text box saves the button, as OK does (Escape cancels, as in every dialog).
    m_ui->cmdOK->setDefault(true);
    connect(m_ui->cmdTrigger, &QPushButton::clicked, this, &SettingsWindow::cmdTrigger_Click);
    connect(m_ui->cmdAutoNumber, &QPushButton::clicked, this, &SettingsWindow::cmdAutoNumber_Click);
    connect(m_ui->cmdSave, &QPushButton::clicked, this, &SettingsWindow::cmdSave_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &SettingsWindow::Command1_Click);
    connect(m_ui->cmdMoreCond, &QPushButton::clicked, this, &SettingsWindow::cmdMoreCond_Click);
    connect(m_ui->cmdMoreCombo, &QPushButton::clicked, this, &SettingsWindow::cmdMoreCombo_Click);
}

void SettingsWindow::setCaptions()
{
    const Messages& messages = m_session.messages();
    const auto text = [&messages](MessageId id) { return messages.get(id); };
    setWindowTitle(text(MessageId::SettingsTitle));
    for (const CaptionRow& row : settingsCaptionRows()) {
        // Every row names an object of this window that takes a caption: the window's tests check it.
        if (QObject* object = findChild<QObject*>(QLatin1String(row.objectName)))
            setCaption(*object, captionText(row, messages));
    }

    // The captions that many copies share.
    for (const SchemeRow& row : SchemeTable) {
        m_ui->SSTab1->setTabText(row.editorPage, text(row.caption));
        findChild<QGroupBox*>(QStringLiteral("fraValue_%1").arg(row.editorPage))
            ->setTitle(text(MessageId::ValueToCopy) + LabelColon);
    }
    for (QCheckBox* box : m_chkType)
        box->setText(text(MessageId::SelectScheme));
}

void SettingsWindow::Form_Load(const QString& fileName)
{
    trapped(m_session.reporter(), routine("Form_Load"), [&] {
        trapped(m_session.reporter(), {Form, RoutineKind::Sub, "Field_List"}, [&] {
            m_fields = m_host.fields() ? FieldListModel::fromHost(*m_host.fields()) : FieldListModel();
        });
        // Default counter files live in the data folder, where the run looks for them.
        const QString dataFolder = withSeparator(m_session.dataFolder());
        m_counterFolder = withSeparator(
            m_session.userSettings().get(Application::Valdora, UserKey::Settings, UserKey::IniFolder,
                                         SettingsLocation::defaultCounterFolder(m_session.dataFolder())));
        const EditorSources sources{m_session.ini(), m_session.buttonFolder(), dataFolder,
                                    m_counterFolder, m_session.messages(),     m_session.locale(),
                                    m_fields,        m_host.buttonFiles()};
        m_state = fileName.isEmpty() ? newEditorState(sources) : loadEditorState(sources, fileName);
        m_loaded = m_state;
        m_sourceFields = makeSourceFieldModel(m_fields, *this);
        const ButtonContext context{m_session.messages(), *m_sourceFields, m_state.comboMembers,
                                    controlRegistry()};
        for (const std::unique_ptr<SchemePage>& page : m_pages)
            page->buildForButton(context);
        setCaptions();
        m_ui->cmdOK->setText(
            m_session.messages().get(m_state.newButton ? MessageId::AddButton : MessageId::Apply));
        fillFieldLists();
        setTabOrders();
        Tab_Load();
    });
}

void SettingsWindow::setTabOrders()
{
    // The rows are built after the form's own controls: Tab follows the screen, page by page.
    QList<QWidget*> chain{m_ui->txtButtonName, m_ui->cmbTarget,    m_optOver[0],
                          m_optOver[1],        m_ui->txtAppendSep, m_optOver[2],
                          m_optOver[3],        m_optScope[0],      m_optScope[1]};
    for (QRadioButton* option : m_optAutoWarning)
        chain << option;
    chain << m_ui->cmdTrigger << m_ui->SSTab1;
    for (std::size_t page = 0; page < m_pages.size(); ++page) {
        const qint16 code = codeOf(schemeOnEditorPage(static_cast<int>(page)));
        chain << m_chkType[static_cast<std::size_t>(code)];
        m_pages[page]->appendTabOrder(chain);
    }
    chain << m_ui->cmdOK << m_ui->cmdCancel;
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain[i], chain[i + 1]);
}

void SettingsWindow::fillFieldLists()
{
    // Every field list shows one of two shared lists, which a large database makes worth sharing.
    auto* targets = new QStringListModel(m_fields.Field_List(FieldListMode::Target), this);
    // The source list is shown by the pages, over m_sourceFields.
    showFieldList(*m_ui->cmbTarget, *targets);
}

void SettingsWindow::Tab_Load()
{
    trapped(m_session.reporter(), routine("Tab_Load"), [&] {
        m_filling = true;
        const EditorState& s = m_state;
        m_ui->txtButtonName->setText(s.caption);
        m_lastCaption = s.caption;
        selectText(*m_ui->cmbTarget, s.target);
        checkOption(m_optOver, s.overwrite ? static_cast<int>(*s.overwrite) : NoChoice);
        checkOption(m_optScope, s.scope);
        checkOption(m_optAutoWarning, s.autoWarning);
        m_ui->txtAppendSep->setText(s.appendSeparator);
        for (std::size_t code = 0; code < m_chkType.size(); ++code)
            m_chkType[code]->setChecked(s.typeTicked[code]);

        const bool captioned = !s.caption.isEmpty() && s.caption != m_session.messages().get(MessageId::New);
        m_ui->cmdAutoNumber->setEnabled(captioned);
        m_ui->cmdSave->setEnabled(captioned);

        for (const std::unique_ptr<SchemePage>& page : m_pages)
            page->load(s);

        m_ui->SSTab1->setCurrentIndex(static_cast<int>(s.page));
        m_filling = false;
        SSTab1_Click(static_cast<int>(s.page));
        Update_Output();
    });
    m_filling = false;
}

void SettingsWindow::storeWidgets()
{
    EditorState& s = m_state;
    s.caption = m_ui->txtButtonName->text();
    s.target = m_ui->cmbTarget->currentText();
    s.overwrite = overwriteModeAt(checkedOption(m_optOver));
    s.scope = checkedOption(m_optScope);
    s.autoWarning = checkedOption(m_optAutoWarning);
    s.appendSeparator = m_ui->txtAppendSep->text();
    for (std::size_t code = 0; code < m_chkType.size(); ++code)
        s.typeTicked[code] = m_chkType[code]->isChecked();
    s.page = static_cast<EditorPage>(m_ui->SSTab1->currentIndex());

    for (const std::unique_ptr<SchemePage>& page : m_pages)
        page->store(s);
}

EditorState SettingsWindow::state()
{
    storeWidgets();
    return m_state;
}

void SettingsWindow::Update_Output()
{
    trapped(m_session.reporter(), routine("Update_Output"), [&] {
        storeWidgets();
        const AutoNumberOutput output = m_state.output();
        m_ui->lblOutput->setText(output.preview);
    });
}

void SettingsWindow::cmbPosition_LostFocus(AutoNumberPart part)
{
    trapped(m_session.reporter(), routine("cmbPosition_LostFocus"), [&] {
        storeWidgets();
        const AutoNumberPositions moved =
            editor::cmbPosition_LostFocus(m_state.autoNumber.entries.positions, part);
        m_filling = true;
        m_autoNumber->showPositions(moved);
        m_filling = false;
        Update_Output();
    });
    m_filling = false;
}

void SettingsWindow::chkType_Click(int code)
{
    if (m_filling)
        return;
    trapped(m_session.reporter(), routine("chkType_LostFocus"), [&] {
        for (std::size_t other = 0; other < m_chkType.size(); ++other) {
            if (static_cast<int>(other) != code)
                m_chkType[other]->setChecked(false);
        }
    });
}

void SettingsWindow::SSTab1_Click(int page)
{
    if (m_filling)
        return;
    // A Combo button writes no target of its own: its target and overwrite controls are off.
    const bool targeted = page != static_cast<int>(EditorPage::Combo);
    if (!targeted)
        m_ui->cmbTarget->setCurrentIndex(-1);
    m_ui->Frame1->setEnabled(targeted);
    m_ui->Frame3->setEnabled(targeted);
    m_ui->cmbTarget->setEnabled(targeted);
    for (QRadioButton* option : m_optOver)
        option->setEnabled(targeted);
}

void SettingsWindow::txtButtonName_GotFocus()
{
    trapped(m_session.reporter(), routine("txtButtonName_GotFocus"), [&] {
        if (m_ui->txtButtonName->text() == m_session.messages().get(MessageId::New))
            // After the focus has settled: a click that gave the focus would clear the selection.
            QTimer::singleShot(0, m_ui->txtButtonName, &QLineEdit::selectAll);
    });
}

void SettingsWindow::txtButtonName_LostFocus()
{
    const QString caption = m_ui->txtButtonName->text();
    if (!caption.isEmpty() && caption != m_session.messages().get(MessageId::New)) {
        m_ui->cmdAutoNumber->setEnabled(true);
        m_ui->cmdSave->setEnabled(true);
    }
}

void SettingsWindow::txtButtonName_Edited(const QString& text)
{
    // Typing or pasting cannot make a caption longer than the limit; a longer caption a file holds
    // stays as it is until the user shortens it.
    if (text.size() > CaptionLimit && text.size() > m_lastCaption.size()) {
        QApplication::beep();
        const int cursor =
            std::min(m_ui->txtButtonName->cursorPosition(), static_cast<int>(m_lastCaption.size()));
        m_ui->txtButtonName->setText(m_lastCaption);
        m_ui->txtButtonName->setCursorPosition(cursor);
        return;
    }
    m_lastCaption = text;
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->txtButtonName) {
        if (event->type() == QEvent::FocusIn)
            txtButtonName_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            txtButtonName_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsWindow::setCounterFile(const QString& path, bool takeNumber)
{
    m_state.autoNumber.counterFile = path;
    m_state.autoNumber.counterFileChosen = true;
    if (!takeNumber)
        return;
    findChild<QLineEdit*>(QStringLiteral("txtNumber"))
        ->setText(engine::CounterFile::startValue(path, m_session.locale()).value_or(QString()));
}

QString SettingsWindow::shownCounterFile() const
{
    return m_state.autoNumber.counterFile.isEmpty() ? defaultCounterFilePath(m_counterFolder, m_state.caption)
                                                    : m_state.autoNumber.counterFile;
}

FileRequest SettingsWindow::counterFileRequest(const QString& current) const
{
    // Both file dialogs open in the counter file's folder with its name filled in.
    const QFileInfo info(current);
    return {QString(), m_session.messages().get(OwnText::CounterFileFilter), info.absolutePath(),
            info.fileName()};
}

void SettingsWindow::cmdAutoNumber_Click()
{
    trapped(m_session.reporter(), routine("cmdAutoNumber_Click"), [&] {
        storeWidgets();
        const QString current = shownCounterFile();
        const std::optional<QString> chosen = m_session.platform().askOpenFile(counterFileRequest(current));
        if (chosen && !chosen->isEmpty() && *chosen != current)
            setCounterFile(*chosen, true);
    });
}

void SettingsWindow::cmdSave_Click()
{
    trapped(m_session.reporter(), routine("cmdSave_Click"), [&] {
        storeWidgets();
        const QString current = shownCounterFile();
        const std::optional<QString> chosen = m_session.platform().askSaveFile(counterFileRequest(current));
        // The file is written by the save, with the "Start at" number.
        if (chosen && !chosen->isEmpty())
            setCounterFile(*chosen, false);
    });
}

void SettingsWindow::Command1_Click()
{
    trapped(m_session.reporter(), routine("Command1_Click"), [&] {
        storeWidgets();
        AutoNumberPage page = m_state.autoNumber;
        if (!m_screens.fieldOptions(page))
            return;
        m_state.autoNumber.intTruncateA = page.intTruncateA;
        m_state.autoNumber.intTruncateDigitsA = page.intTruncateDigitsA;
        m_state.autoNumber.intCapsA = page.intCapsA;
    });
}

void SettingsWindow::cmdMoreCond_Click()
{
    trapped(m_session.reporter(), routine("cmdMoreCond_Click"), [&] {
        storeWidgets();
        m_screens.moreConditions(m_state, QString());
    });
}

void SettingsWindow::cmdMoreCombo_Click()
{
    trapped(m_session.reporter(), routine("cmdMoreCombo_Click"), [&] {
        storeWidgets();
        m_screens.moreMembers(m_state, QString());
    });
}

void SettingsWindow::showFailure(const SaveFailure& failure)
{
    m_session.showMessage(failure.message);
    if (failure.dialog == u"frmMoreCond") {
        m_screens.moreConditions(m_state, failure.control);
        return;
    }
    if (failure.dialog == u"frmMoreCombo") {
        m_screens.moreMembers(m_state, failure.control);
        return;
    }
    if (failure.page)
        m_ui->SSTab1->setCurrentIndex(static_cast<int>(*failure.page));
    QWidget* control = m_controls.value(failure.control);
    if (!control)
        return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<QLineEdit*>(control))
        box->selectAll();
}

SaveEnvironment SettingsWindow::saveEnvironment() const
{
    return {m_session.ini(), m_session.userSettings(), m_session.buttonFolder(), m_counterFolder,
            m_fields,        m_host.databasePath(),    m_host.lastButtonFile()};
}

bool SettingsWindow::runSave()
{
    storeWidgets();
    QStringList captions;
    for (const QString& file : m_host.buttonFiles())
        captions
            << ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), file).read(ButtonKey::Name);
    SaveAnswers answers;
    for (;;) {
        const SaveCheckContext context{m_session.messages(), m_session.locale(), captions,
                                       liveFieldType(m_host.fields(), m_state.target)};
        const SaveCheckResult result = checkSave(m_state, context, answers);
        if (const auto* ask = std::get_if<SaveAsk>(&result)) {
            if (m_session.showMessage(ask->message, MessageButtons::YesNo) != MessageAnswer::Yes)
                return false;
            if (ask->question == SaveQuestion::SchemeNotOnScreen)
                answers.proceedOffPage = true;
            else
                answers.acceptUrlTarget = true;
            continue;
        }
        if (const auto* failure = std::get_if<SaveFailure>(&result)) {
            showFailure(*failure);
            return false;
        }
        break;
    }
    const SaveOutcome outcome = saveEditorState(m_state, saveEnvironment());
    if (!outcome.written)
        throw Failure(ErrorNumber::PermissionDenied, m_session.buttonFilePath(outcome.fileName));
    m_saved = true;
    m_host.buttonSaved(outcome.fileName, m_state.newButton);
    accept();
    return true;
}

bool SettingsWindow::cmdOK_Click()
{
    bool saved = false;
    trapped(m_session.reporter(), routine("cmdOK_Click"), [&] { saved = runSave(); });
    return saved;
}

void SettingsWindow::cmdTrigger_Click()
{
    trapped(m_session.reporter(), routine("cmdTrigger_Click"), [&] {
        if (m_screens.triggerChoice() != TriggerChoice::LaunchKeelbrook)
            return;
        m_host.setLaunchKeelbrook();
        // The launch goes on when the save refuses the button: it is then not saved.
        if (!cmdOK_Click())
            reject();
        m_host.startShutdown();
    });
}

} // namespace valdora::editor

#include "AddTriggerWindow.h"

#include "ConflictWindow.h"
#include "ui_frmAdd.h"

#include "triggers/AddTriggerTexts.h"

#include "settings/MessageId.h"

#include <QEvent>
#include <QFontMetrics>

#include <algorithm>

namespace valdora::triggers {

namespace {

// Progress marks of a Create, for the error report.
constexpr qint16 LoadCaptions = 1;
constexpr qint16 LoadFields = 2;
constexpr qint16 LoadButtons = 3;
constexpr qint16 CreateChecked = 1;
constexpr qint16 CreateRemembered = 4;
// Room around a line edit's text: its frame and the cursor.
constexpr int HintMargin = 16;

/// The check's questions as Keelbrook asks them: message boxes and the conflict window.
class WindowCheckQuestions final : public CheckQuestions {
public:
    WindowCheckQuestions(const AddTriggerContext& context, QWidget& window,
                         const AddTriggerWindow::ConflictChooser& chooseConflict)
        : m_context(context), m_window(window), m_chooseConflict(chooseConflict)
    {}

    bool askYesNo(const QString& question) override
    {
        return m_context.platform.showMessage({question, m_context.title, MessageButtons::YesNo}) ==
               MessageAnswer::Yes;
    }
    void tell(const QString& notice) override
    {
        m_context.platform.showMessage({notice, m_context.title, MessageButtons::Ok});
    }
    CheckResult chooseConflict() override { return m_chooseConflict(m_window); }

private:
    const AddTriggerContext& m_context;
    QWidget& m_window;
    const AddTriggerWindow::ConflictChooser& m_chooseConflict;
};

} // namespace

AddTriggerWindow::AddTriggerWindow(AddTriggerContext context, QWidget* parent, ConflictChooser chooseConflict)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmAdd>()), m_context(std::move(context)),
      m_chooseConflict(std::move(chooseConflict))
{
    if (!m_chooseConflict) {
        const Messages& messages = m_context.messages;
        m_chooseConflict = [&messages](QWidget& window) { return ConflictWindow::choose(messages, &window); };
    }
    m_ui->setupUi(this);
    Form_Load();
    connect(m_ui->cmdBrowse, &QPushButton::clicked, this, &AddTriggerWindow::cmdBrowse_Click);
    connect(m_ui->cmdAddTrigger, &QPushButton::clicked, this, &AddTriggerWindow::cmdAddTrigger_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &AddTriggerWindow::cmdCancel_Click);
    m_ui->txtProgram->installEventFilter(this);
    m_ui->cmbButton->installEventFilter(this);
    // As large as the texts of the language need, no larger: spare height would only stretch the frames.
    setFixedSize(sizeHint());
}

AddTriggerWindow::~AddTriggerWindow() = default;

std::optional<RememberedTrigger> AddTriggerWindow::run(const AddTriggerContext& context, QWidget* parent)
{
    AddTriggerWindow window(context, parent);
    window.exec();
    if (window.failure())
        std::rethrow_exception(window.failure());
    return window.created();
}

void AddTriggerWindow::Form_Load()
{
    const Messages& messages = m_context.messages;
    m_context.trace.enter(QStringLiteral("Form_Load"));
    setWindowTitle(messages.get(MessageId::AddTriggerTitle));
    m_ui->Label1->setText(messages.get(MessageId::DatabaseLabel));
    m_ui->txtDB->setText(m_context.databasePath);
    m_ui->Frame3->setTitle(messages.get(MessageId::FieldLabel));
    m_ui->Frame2->setTitle(messages.get(MessageId::TriggerTypeLabel));
    m_ui->optType_0->setText(messages.get(MessageId::TriggerEntry));
    m_ui->optType_1->setText(messages.get(MessageId::TriggerExit));
    m_ui->Frame1->setTitle(messages.get(MessageId::TriggeredTargetLabel));
    m_ui->optProgram_0->setText(messages.get(MessageId::ProgramOrMacro));
    m_ui->optProgram_1->setText(messages.get(MessageId::ValdoraButton));
    m_hint = messages.get(MessageId::BrowseForProgram);
    m_ui->txtProgram->setText(m_hint);
    // The hint is read whole in every language: the box grows to it, and the window with it.
    const QFontMetrics metrics = m_ui->txtProgram->fontMetrics();
    m_ui->txtProgram->setMinimumWidth(
        std::max(m_ui->txtProgram->minimumWidth(), metrics.horizontalAdvance(m_hint) + HintMargin));
    m_ui->cmdBrowse->setText(addtexts::BrowseCaption);
    m_ui->cmdAddTrigger->setText(messages.get(MessageId::CreateTrigger));
    m_ui->cmdCancel->setText(messages.get(MessageId::Cancel));
    m_context.trace.reach(LoadCaptions);

    m_fields = Field_List(m_context.fields, m_context.trace);
    for (const TriggerFieldChoice& field : m_fields)
        m_ui->cmbField->addItem(field.label);
    m_ui->cmbField->setCurrentIndex(-1);
    m_context.trace.reach(LoadFields);

    m_buttons = Get_Buttons(m_context.ini, m_context.buttonFolder, m_context.databaseName, m_context.trace);
    for (const ButtonChoice& button : m_buttons)
        m_ui->cmbButton->addItem(button.name);
    m_ui->cmbButton->setCurrentIndex(-1);
    m_context.trace.reach(LoadButtons);
}

bool AddTriggerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_ui->txtProgram) {
            chooseProgram();
            // Typing replaces the hint rather than running on after it.
            if (m_ui->txtProgram->text() == m_hint)
                m_ui->txtProgram->selectAll();
        } else if (watched == m_ui->cmbButton) {
            chooseButton();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AddTriggerWindow::chooseProgram()
{
    m_ui->optProgram_0->setChecked(true);
}

void AddTriggerWindow::chooseButton()
{
    m_ui->optProgram_1->setChecked(true);
}

void AddTriggerWindow::cmdBrowse_Click()
{
    chooseProgram();
    const std::optional<QString> chosen = m_context.platform.askOpenFile(
        {addtexts::BrowseTitle, addtexts::BrowseFilter, m_context.programFolder, QString()});
    if (chosen)
        m_ui->txtProgram->setText(*chosen);
}

AddChoices AddTriggerWindow::choices() const
{
    return {m_ui->cmbField->currentIndex(),
            m_ui->optType_0->isChecked() ? TriggerKind::Entry : TriggerKind::Exit,
            m_ui->optProgram_0->isChecked(), m_ui->txtProgram->text(), m_ui->cmbButton->currentIndex()};
}

std::optional<TriggerTarget> AddTriggerWindow::chosenTarget() const
{
    const AddChoices chosen = choices();
    if (chosen.programChosen)
        return TriggerTarget::programOrMacro(chosen.programText);
    if (chosen.buttonIndex < 0 || chosen.buttonIndex >= m_buttons.size())
        return std::nullopt;
    return TriggerTarget::button(m_buttons.at(chosen.buttonIndex).identifier);
}

void AddTriggerWindow::tell(const QString& text)
{
    m_context.platform.showMessage({text, m_context.title, MessageButtons::Ok});
}

void AddTriggerWindow::cmdAddTrigger_Click()
{
    m_context.trace.enter(QStringLiteral("cmdAddTrigger"));
    const AddChoices chosen = choices();
    if (const std::optional<QString> refusal = refusalOf(chosen, m_hint)) {
        tell(*refusal);
        return;
    }
    try {
        const std::optional<TriggerTarget> target = chosenTarget();
        if (!target || chosen.fieldIndex >= m_fields.size()) {
            tell(addtexts::SelectAProgramOrButton);
            return;
        }
        m_context.trace.reach(CreateChecked);
        WindowCheckQuestions questions(m_context, *this, m_chooseConflict);
        m_created = createTrigger(m_context.fields, m_fields.at(chosen.fieldIndex).id, chosen.kind, *target,
                                  m_context.programFolder, questions, m_context.trace);
        m_context.trace.reach(CreateRemembered);
    } catch (...) {
        // Qt's event loop must not carry an exception: it leaves with the window, to run's caller.
        m_failure = std::current_exception();
    }
    accept();
}

void AddTriggerWindow::cmdCancel_Click()
{
    reject();
}

} // namespace valdora::triggers

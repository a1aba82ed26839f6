#include "ScopeDialog.h"

#include "ui_dlgLookup.h"

#include "widgets/WindowSize.h"

#include <QEvent>
#include <QMouseEvent>

namespace valdora::bar {

namespace {

constexpr std::array<MessageId, ScopeDialog::OptionCount> OptionTexts{
    MessageId::ApplyToCurrentContact, MessageId::ApplyToCurrentLookup, MessageId::ApplyToAllContacts};

/// Wide enough that the wrapped notes stay a few lines tall in every language.
constexpr int MinimumWidth = 440;

} // namespace

ScopeDialog::ScopeDialog(const Messages& messages, bool otherDatabase, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::dlgLookup>())
{
    m_ui->setupUi(this);
    m_options = {m_ui->optLookup0, m_ui->optLookup1, m_ui->optLookup2};
    m_labels = {m_ui->Label10, m_ui->Label11, m_ui->Label12};
    setWindowTitle(messages.get(MessageId::ApplyTo));
    for (int i = 0; i < OptionCount; ++i) {
        const QString text = messages.get(OptionTexts[std::size_t(i)]);
        m_labels[std::size_t(i)]->setText(text);
        // The option has no text of its own: its label names it for screen readers.
        m_options[std::size_t(i)]->setAccessibleName(text);
        m_labels[std::size_t(i)]->installEventFilter(this);
    }
    m_ui->lblSortOrderHead->setText(messages.get(MessageId::AutoNumberSortOrder));
    m_ui->lblSortOrder->setText(messages.get(MessageId::AutoNumberSortExplained));
    m_ui->lblWarning->setText(messages.get(MessageId::CannotBeUndone));
    m_ui->lblOtherDatabase->setText(messages.get(MessageId::InvalidButtonData));
    m_ui->Frame3->setVisible(otherDatabase);
    m_ui->OKButton->setText(messages.get(MessageId::Ok));
    m_ui->CancelButton->setText(messages.get(MessageId::Cancel));
    connect(m_ui->OKButton, &QPushButton::clicked, this, &ScopeDialog::OKButton_Click);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &ScopeDialog::reject);
    m_ui->cmdPreview->setText(messages.get(OwnText::ScopePreview));
    m_ui->cmdPreview->hide();
    m_ui->lblJournalNote->setText(messages.get(OwnText::ScopeJournalNote));
    m_ui->lblJournalNote->hide();
    connect(m_ui->cmdPreview, &QPushButton::clicked, this, &ScopeDialog::cmdPreview_Click);
    for (QRadioButton* option : m_options)
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                updateForChoice();
        });
    updateForChoice();
}

ScopeDialog::~ScopeDialog() = default;

QString ScopeDialog::optionName(int index)
{
    return QStringLiteral("optLookup%1").arg(index);
}

QString ScopeDialog::labelName(int index)
{
    return QStringLiteral("Label1%1").arg(index);
}

std::optional<run::Scope> ScopeDialog::scope() const
{
    if (!m_confirmed || m_intCancel == 1)
        return std::nullopt;
    return static_cast<run::Scope>(m_intLookup);
}

int ScopeDialog::selectedOption() const
{
    for (int i = 0; i < OptionCount; ++i)
        if (m_options[std::size_t(i)]->isChecked())
            return i;
    return -1;
}

void ScopeDialog::OKButton_Click()
{
    const int selected = selectedOption();
    if (selected < 0)
        return;
    m_intLookup = selected;
    m_confirmed = true;
    accept();
}

void ScopeDialog::preselect(std::optional<run::Scope> scope)
{
    if (scope)
        m_options[std::size_t(static_cast<int>(*scope))]->setChecked(true);
    updateForChoice();
}

void ScopeDialog::updateForChoice()
{
    const int selected = selectedOption();
    m_ui->OKButton->setEnabled(selected >= 0);
    m_ui->cmdPreview->setEnabled(selected >= 0);
    // Where the run is journalled (the bar offers its preview then), a run over a lookup or all
    // contacts can be taken back: the table's warning would contradict the journal's note. A run on
    // the current contact is not journalled, so the warning stays true for it.
    const bool journalled =
        static_cast<bool>(m_preview) && selected != static_cast<int>(run::Scope::CurrentContact);
    m_ui->lblWarning->setVisible(!journalled);
    m_ui->lblJournalNote->setVisible(journalled);
    widgets::fitToTexts(*this, MinimumWidth);
}

void ScopeDialog::setPreviewOffer(run::ScopeChooser::PreviewOffer offer)
{
    m_preview = std::move(offer);
    m_ui->cmdPreview->setVisible(static_cast<bool>(m_preview));
    updateForChoice();
}

void ScopeDialog::cmdPreview_Click()
{
    if (!m_preview)
        return;
    // The preview covers what OK would run: the option selected.
    const int scope = selectedOption();
    if (scope < 0 || !m_preview(static_cast<run::Scope>(scope)))
        return;
    m_options[std::size_t(scope)]->setChecked(true);
    m_intLookup = scope;
    m_confirmed = true;
    accept();
}

void ScopeDialog::reject()
{
    m_intCancel = 1;
    QDialog::reject();
}

bool ScopeDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < OptionCount; ++i) {
            if (watched == m_labels[std::size_t(i)]) {
                m_options[std::size_t(i)]->setChecked(true);
                m_options[std::size_t(i)]->setFocus(Qt::MouseFocusReason);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace valdora::bar

#include "FieldOptionsDialog.h"

#include "DigitKeyFilter.h"
#include "ui_frmFieldOptions.h"

#include "widgets/WindowSize.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>

namespace valdora::editor {

namespace {

/// The narrowest the dialog gets; the caption may ask for more.
constexpr int MinimumWidth = 340;
/// Room in a title bar beside its caption: the window menu, minimize and close buttons, margins.
constexpr int TitleBarRoom = 140;

} // namespace

FieldOptionsDialog::FieldOptionsDialog(const ProgramSession& session, const AutoNumberPage& page,
                                       QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmFieldOptions>()), m_session(session), m_page(page)
{
    m_ui->setupUi(this);
    const Messages& messages = session.messages();
    setWindowTitle(messages.get(MessageId::FieldOptionsTitle) + u'(' +
                   messages.get(MessageId::AutoNumberSchemeTitle) + u')');
    m_ui->Frame1->setTitle(messages.get(MessageId::TruncateFieldData));
    m_ui->chkTruncate->setText(messages.get(MessageId::KeepOnlyFirst));
    m_ui->Label2->setText(messages.get(MessageId::Digits));
    m_ui->chkUppercase->setText(messages.get(MessageId::ConvertToUppercase));
    m_ui->cmdOK->setText(messages.get(MessageId::Ok));
    m_ui->cmdCancel->setText(messages.get(MessageId::Cancel));
    // The box names how many characters are kept; its label says so for screen readers.
    m_ui->txtTruncate->setAccessibleName(messages.get(MessageId::Digits));
    DigitKeyFilter::install(*m_ui->txtTruncate);

    const FieldOptionsEntries shown = fieldOptionsOf(page);
    m_ui->chkTruncate->setChecked(shown.truncate);
    m_ui->txtTruncate->setText(shown.digits);
    m_ui->chkUppercase->setChecked(shown.upperCase);

    connect(m_ui->cmdOK, &QPushButton::clicked, this, &FieldOptionsDialog::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &FieldOptionsDialog::reject);

    // The caption is long in German ("Feldoptionen(AutoNummer-Schema)"): the window is wide enough
    // for the title bar to show it whole.
    const int titleWidth =
        QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(windowTitle());
    widgets::fitToTexts(*this, std::max(MinimumWidth, titleWidth + TitleBarRoom));
}

FieldOptionsDialog::~FieldOptionsDialog() = default;

bool FieldOptionsDialog::edit(const ProgramSession& session, AutoNumberPage& page, QWidget* parent)
{
    FieldOptionsDialog dialog(session, page, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    page = dialog.page();
    return true;
}

FieldOptionsEntries FieldOptionsDialog::entries() const
{
    return {m_ui->chkTruncate->isChecked(), m_ui->txtTruncate->text(), m_ui->chkUppercase->isChecked()};
}

void FieldOptionsDialog::cmdOK_Click()
{
    const FieldOptionsEntries shown = entries();
    switch (checkFieldOptions(shown)) {
    case FieldOptionsProblem::DigitsMissing:
        m_session.showMessage(m_session.messages().get(MessageId::TruncateDigitsMissing));
        m_ui->txtTruncate->setFocus();
        return;
    case FieldOptionsProblem::DigitsBelowOne:
        m_session.showMessage(m_session.messages().get(MessageId::ZeroNotValid));
        m_ui->txtTruncate->setFocus();
        return;
    case FieldOptionsProblem::None:
        break;
    }
    m_page = withFieldOptions(m_page, shown);
    accept();
}

} // namespace valdora::editor

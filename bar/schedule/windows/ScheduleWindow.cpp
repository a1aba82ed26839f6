#include "ScheduleWindow.h"

#include "settings/MessageTable.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace valdora::schedule {

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

ScheduleWindow::ScheduleWindow(ProgramSession& session, ScheduleForm& form, QWidget* parent)
    : QDialog(parent), m_session(session), m_form(form)
{
    setObjectName(QStringLiteral("frmSchedule"));
    setWindowTitle(form.text(ScheduleText::WindowTitle).arg(form.button()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        named(new QLabel(form.text(ScheduleText::ButtonLabel).arg(form.button())), "lblButton"));

    auto* runs = named(new QGroupBox(form.text(ScheduleText::RunsGroup)), "fraRuns");
    auto* runsLayout = new QGridLayout(runs);
    m_optOff = named(new QRadioButton(form.text(ScheduleText::Off)), "optOff");
    m_optDaily = named(new QRadioButton(form.text(ScheduleText::EveryDay)), "optDaily");
    m_txtTime = named(new QTimeEdit, "txtTime");
    m_txtTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_txtTime->setAccessibleName(form.text(ScheduleText::EveryDay).remove(u'&'));
    m_optHourly = named(new QRadioButton(form.text(ScheduleText::EveryHour)), "optHourly");
    m_optLogin = named(new QRadioButton(form.text(ScheduleText::AtLogin)), "optLogin");
    runsLayout->addWidget(m_optOff, 0, 0, 1, 2);
    runsLayout->addWidget(m_optDaily, 1, 0);
    runsLayout->addWidget(m_txtTime, 1, 1, Qt::AlignLeft);
    runsLayout->addWidget(m_optHourly, 2, 0, 1, 2);
    runsLayout->addWidget(m_optLogin, 3, 0, 1, 2);
    runsLayout->setColumnStretch(1, 1);
    layout->addWidget(runs);

    auto* contacts = named(new QGroupBox(form.text(ScheduleText::ContactsGroup)), "fraContacts");
    auto* contactsLayout = new QGridLayout(contacts);
    m_optAll = named(new QRadioButton(form.text(ScheduleText::AllContacts)), "optAll");
    m_optLookup = named(new QRadioButton(form.text(ScheduleText::SavedLookup)), "optLookup");
    m_txtLookup = named(new QLineEdit, "txtLookup");
    m_txtLookup->setAccessibleName(form.text(ScheduleText::SavedLookup).remove(u'&'));
    m_txtLookup->setMinimumWidth(260);
    m_cmdBrowse = named(new QPushButton(form.text(ScheduleText::Browse)), "cmdBrowse");
    contactsLayout->addWidget(m_optAll, 0, 0, 1, 2);
    contactsLayout->addWidget(m_optLookup, 1, 0, 1, 2);
    contactsLayout->addWidget(m_txtLookup, 2, 0);
    contactsLayout->addWidget(m_cmdBrowse, 2, 1);
    layout->addWidget(contacts);

    auto* database =
        named(new QLabel(form.text(ScheduleText::DatabaseLabel).arg(form.databaseName())), "lblDatabase");
    layout->addWidget(database);
    m_lblState = named(new QLabel(form.stateText(QDateTime::currentDateTime())), "lblState");
    m_lblState->setWordWrap(true);
    layout->addWidget(m_lblState);

    auto* buttons = new QDialogButtonBox;
    auto* ok =
        named(buttons->addButton(m_session.messages().get(MessageId::Ok), QDialogButtonBox::AcceptRole),
              "OKButton");
    auto* cancel =
        named(buttons->addButton(m_session.messages().get(MessageId::Cancel), QDialogButtonBox::RejectRole),
              "CancelButton");
    ok->setDefault(true);
    layout->addWidget(buttons);

    for (QRadioButton* option : {m_optOff, m_optDaily, m_optHourly, m_optLogin, m_optAll, m_optLookup})
        connect(option, &QRadioButton::toggled, this, &ScheduleWindow::enableFields);
    connect(m_cmdBrowse, &QPushButton::clicked, this, &ScheduleWindow::cmdBrowse_Click);
    connect(ok, &QPushButton::clicked, this, &ScheduleWindow::OKButton_Click);
    connect(cancel, &QPushButton::clicked, this, &ScheduleWindow::reject);
    showChoice(form.initial());
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ScheduleWindow::showChoice(const ScheduleChoice& choice)
{
    switch (choice.kind) {
    case ScheduleKind::Off:
        m_optOff->setChecked(true);
        break;
    case ScheduleKind::Daily:
        m_optDaily->setChecked(true);
        break;
    case ScheduleKind::Hourly:
        m_optHourly->setChecked(true);
        break;
    case ScheduleKind::AtLogin:
        m_optLogin->setChecked(true);
        break;
    }
    m_txtTime->setTime(choice.time);
    (choice.savedLookup ? m_optLookup : m_optAll)->setChecked(true);
    m_txtLookup->setText(choice.lookupFile);
    enableFields();
}

ScheduleChoice ScheduleWindow::choice() const
{
    ScheduleChoice choice;
    choice.kind = m_optDaily->isChecked()    ? ScheduleKind::Daily
                  : m_optHourly->isChecked() ? ScheduleKind::Hourly
                  : m_optLogin->isChecked()  ? ScheduleKind::AtLogin
                                             : ScheduleKind::Off;
    choice.time = m_txtTime->time();
    choice.savedLookup = m_optLookup->isChecked();
    choice.lookupFile = m_txtLookup->text().trimmed();
    return choice;
}

void ScheduleWindow::enableFields()
{
    const bool scheduled = !m_optOff->isChecked();
    m_txtTime->setEnabled(m_optDaily->isChecked());
    for (QWidget* widget : std::initializer_list<QWidget*>{m_optAll, m_optLookup})
        widget->setEnabled(scheduled);
    m_txtLookup->setEnabled(scheduled && m_optLookup->isChecked());
    m_cmdBrowse->setEnabled(scheduled && m_optLookup->isChecked());
}

void ScheduleWindow::cmdBrowse_Click()
{
    const std::optional<QString> file =
        m_session.platform().askOpenFile({m_form.text(ScheduleText::LookupTitle),
                                          m_form.text(ScheduleText::LookupFilter),
                                          m_session.dataFolder(),
                                          {}});
    if (file)
        m_txtLookup->setText(*file);
}

void ScheduleWindow::OKButton_Click()
{
    const ScheduleChoice chosen = choice();
    if (const std::optional<ChoiceProblem> problem = m_form.problem(chosen)) {
        m_session.showMessage(m_form.problemText(*problem), MessageButtons::Ok, MessageIcon::Exclamation);
        if (problem->field == ChoiceProblem::Field::LookupFile) {
            m_txtLookup->setFocus();
            m_txtLookup->selectAll();
        }
        return;
    }
    if (m_form.accept(chosen, QDateTime::currentDateTime()))
        accept();
}

} // namespace valdora::schedule

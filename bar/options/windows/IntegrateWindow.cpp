#include "IntegrateWindow.h"

#include "ui_frmIntegrate.h"

#include "bar/BarFlags.h"

#include <QMouseEvent>
#include <QSignalBlocker>

namespace valdora::bar {

namespace {
Routine routine(const char* name)
{
    return {"frmIntegrate", RoutineKind::Sub, name};
}
} // namespace

IntegrateWindow::IntegrateWindow(ProgramSession& session, const AuxCommandsFactory& makeAuxCommands,
                                 QWidget* parent)
    : QDialog(parent), m_session(session), m_ui(std::make_unique<Ui::frmIntegrate>())
{
    m_ui->setupUi(this);
    const IntegrationCaptions captions = IntegrationForm::captions(session.messages());
    setWindowTitle(captions.title);
    m_ui->Frame1_0->setTitle(captions.toolbarFrame);
    m_ui->Frame1_1->setTitle(captions.menuFrame);
    m_ui->Label2->setText(captions.restartNote);
    m_ui->cmdOK->setText(captions.close);
    m_ui->cmdCancel->setText(captions.cancel);
    for (int index = 0; index < IntegrationForm::BoxCount; ++index) {
        auto* box = findChild<QCheckBox*>(QStringLiteral("chkScreen_%1").arg(index));
        auto* label = findChild<QLabel*>(QStringLiteral("lblScreen_%1").arg(index));
        label->setText(captions.views.value(index % IntegrationForm::ViewCount));
        label->installEventFilter(this);
        // The label names the box for screen readers and takes its clicks.
        box->setAccessibleName(label->text());
        connect(box, &QCheckBox::clicked, this, [this, index] { chkScreen_Click(index); });
        m_boxes << box;
        m_labels << label;
    }
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &IntegrateWindow::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &IntegrateWindow::cmdCancel_Click);

    trapped(m_session.reporter(), routine("Form_Load"), [&] {
        m_form = std::make_unique<IntegrationForm>(session, makeAuxCommands());
        Form_Load();
    });
}

IntegrateWindow::~IntegrateWindow() = default;

bool IntegrateWindow::edit(ProgramSession& session, const AuxCommandsFactory& makeAuxCommands,
                           BarFlags& flags, const std::function<void()>& restartHost, QWidget* parent)
{
    bool restart = false;
    {
        IntegrateWindow window(session, makeAuxCommands, parent);
        window.exec();
        restart = window.restartAsked();
    }
    // The window and its host object are gone before the host is closed.
    if (restart) {
        flags.restartHost = true;
        if (restartHost)
            restartHost();
    }
    return restart;
}

void IntegrateWindow::Form_Load()
{
    if (!m_form)
        return;
    const IntegrationForm::Boxes boxes = m_form->Form_Load();
    // Setting a box is no click: nothing is placed by showing what is placed.
    for (int index = 0; index < IntegrationForm::BoxCount; ++index) {
        const QSignalBlocker blocker(m_boxes[index]);
        m_boxes[index]->setChecked(boxes[static_cast<std::size_t>(index)]);
    }
}

bool IntegrateWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const qsizetype index = m_labels.indexOf(qobject_cast<QLabel*>(watched));
        if (index >= 0) {
            lblScreen_Click(int(index));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void IntegrateWindow::lblScreen_Click(int index)
{
    // As a click on the box itself: flips it and places or removes the command.
    m_boxes[index]->click();
}

void IntegrateWindow::chkScreen_Click(int index)
{
    trapped(m_session.reporter(), routine("chkScreen_Click"), [&] {
        if (m_form)
            m_form->chkScreen_Click(index, m_boxes[index]->isChecked());
    });
}

void IntegrateWindow::cmdOK_Click()
{
    trapped(m_session.reporter(), routine("cmdOK_Click"), [&] {
        if (!m_form)
            return;
        m_restartAsked = m_form->cmdOK_Click();
        if (m_form->changed() && m_form->lastResult() == 0)
            trapped(m_session.reporter(), routine("Message"), [&] { Form_Load(); });
    });
    accept();
}

void IntegrateWindow::cmdCancel_Click()
{
    reject();
}

} // namespace valdora::bar

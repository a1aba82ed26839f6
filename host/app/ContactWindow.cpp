#include "ContactWindow.h"

#include "FieldDefinitionDialog.h"
#include "LookupDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace valdora::host::app {

ContactWindow::ContactWindow(HostApplication& application, Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_app(application), m_platform(platform), m_list(new QListWidget),
      m_lookupLabel(new QLabel), m_form(new QFormLayout), m_commandBar(new QToolBar(tr("Commands"))),
      m_toolsMenu(nullptr)
{
    setWindowTitle(tr("ContactHost"));
    resize(820, 560);

    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->addAction(tr("&Close database"), this, [this] { attempt([this] { m_app.closeDatabase(); }); });
    fileMenu->addAction(tr("&Quit"), this, [this] { m_app.close(); });
    QMenu* lookupMenu = menuBar()->addMenu(tr("&Lookup"));
    lookupMenu->addAction(tr("&Lookup..."), this, &ContactWindow::askLookup);
    lookupMenu->addAction(tr("&All contacts"), this,
                          [this] { attempt([this] { m_app.lookup(LookupMatch::All, {}, {}); }); });
    menuBar()->addMenu(tr("&Edit"))->addAction(tr("&Define fields..."), this, &ContactWindow::defineFields);
    m_toolsMenu = menuBar()->addMenu(tr("&Tools"));

    QToolBar* navigation = addToolBar(tr("Navigation"));
    navigation->addAction(tr("Previous"), this, [this] { attempt([this] { m_app.move(-1); }); });
    navigation->addAction(tr("Next"), this, [this] { attempt([this] { m_app.move(+1); }); });
    navigation->addAction(tr("Lookup..."), this, &ContactWindow::askLookup);
    addToolBar(m_commandBar);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(m_lookupLabel);
    leftLayout->addWidget(m_list);
    auto* record = new QWidget;
    record->setLayout(m_form);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(record);
    auto* splitter = new QSplitter;
    splitter->addWidget(left);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(1, 2);
    setCentralWidget(splitter);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_refreshing && row >= 0 && row < m_app.lookupIds().size())
            attempt([this, row] { m_app.show(m_app.lookupIds().at(row)); });
    });
    connect(&m_app, &HostApplication::lookupChanged, this, &ContactWindow::refreshLookup);
    connect(&m_app, &HostApplication::contactChanged, this, &ContactWindow::refreshRecord);
    connect(&m_app, &HostApplication::contactsWritten, this, &ContactWindow::markRowsWritten);
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, &ContactWindow::refreshRowsInView);
    connect(&m_app, &HostApplication::fieldOnScreenChanged, this, &ContactWindow::refreshStatus);
    connect(&m_app, &HostApplication::databaseOpened, this, &ContactWindow::buildFields);
    connect(&m_app, &HostApplication::databaseClosed, this, &ContactWindow::buildFields);
    buildFields();
    refreshLookup();
    refreshCommands();
}

void ContactWindow::attempt(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        m_platform.showMessage(
            {failure.description(), windowTitle(), MessageButtons::Ok, MessageIcon::Exclamation, 0});
    }
    refreshRecord();
}

void ContactWindow::buildFields()
{
    while (m_form->rowCount() > 0)
        m_form->removeRow(0);
    m_editors.clear();
    if (m_app.isDatabaseOpen()) {
        for (const FieldId id : m_app.fieldIds()) {
            auto* editor = new QLineEdit;
            editor->setObjectName(QStringLiteral("field%1").arg(id));
            editor->setReadOnly(HostApplication::isSystemField(id));
            editor->installEventFilter(this);
            connect(editor, &QLineEdit::textEdited, this,
                    [this, id](const QString& text) { attempt([this, id, text] { m_app.type(id, text); }); });
            m_editors.emplace(editor, id);
            m_form->addRow(m_app.fields().Label(id), editor);
        }
    }
    setWindowTitle(m_app.isDatabaseOpen() ? tr("ContactHost - %1").arg(m_app.databasePath())
                                          : tr("ContactHost"));
    refreshRecord();
}

bool ContactWindow::eventFilter(QObject* watched, QEvent* event)
{
    const auto editor = m_editors.find(qobject_cast<QLineEdit*>(watched));
    if (editor != m_editors.end() && !editor->first->isReadOnly() && !m_refreshing) {
        const FieldId id = editor->second;
        if (event->type() == QEvent::FocusIn)
            attempt([this, id] { m_app.enterField(id); });
        else if (event->type() == QEvent::FocusOut && m_app.fieldOnScreen() == id)
            attempt([this] { m_app.leaveField(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void ContactWindow::closeEvent(QCloseEvent* event)
{
    // The close box closes the host: the clients are told, the database closes and the program
    // ends. When the host is closing already (a client asked), the window just goes with it. The
    // event is always accepted: a window that refused would keep a host without a database alive.
    if (!m_app.isClosing())
        m_app.close();
    event->accept();
}

void ContactWindow::refreshLookup()
{
    const QScopedValueRollback guard(m_refreshing, true);
    m_list->clear();
    m_staleRows.clear();
    if (m_app.isDatabaseOpen()) {
        for (const ContactId& id : m_app.lookupIds())
            m_list->addItem(m_app.contactLabel(id));
        m_lookupLabel->setText(tr("%1 (%2), sorted by %3")
                                   .arg(m_app.lookupDescription())
                                   .arg(m_app.lookupIds().size())
                                   .arg(HostApplication::sortDescription()));
    } else {
        m_lookupLabel->setText(tr("No database open"));
    }
    refreshRecord();
}

void ContactWindow::markRowsWritten(const QList<ContactId>& ids)
{
    // Any row may be out of date when the writes were not heard one by one.
    for (const ContactId& id : ids.isEmpty() ? m_app.lookupIds() : ids)
        m_staleRows.insert(id);
    refreshRowsInView();
}

void ContactWindow::refreshRowsInView()
{
    if (m_staleRows.isEmpty() || !m_app.isDatabaseOpen())
        return;
    // A run on another workstation writes thousands of contacts: only the rows in view are read
    // again (one read each), the others when they come into view.
    const QRect area = m_list->viewport()->rect();
    const int first = std::max(0, m_list->indexAt(area.topLeft()).row());
    const int bottom = m_list->indexAt(area.bottomLeft()).row();
    const int last = bottom < 0 ? m_list->count() - 1 : bottom;
    const QList<ContactId>& ids = m_app.lookupIds();
    const QScopedValueRollback guard(m_refreshing, true);
    for (int row = first; row <= last && row < m_list->count() && row < ids.size(); ++row) {
        if (!m_staleRows.remove(ids.at(row)))
            continue;
        try {
            m_list->item(row)->setText(m_app.contactLabel(ids.at(row)));
        } catch (const Failure&) {
            // The server is away for a moment: the row keeps its text and is read again later.
            m_staleRows.insert(ids.at(row));
            return;
        }
    }
}

void ContactWindow::refreshRecord()
{
    const QScopedValueRollback guard(m_refreshing, true);
    if (!m_app.isDatabaseOpen())
        return refreshStatus();
    const qsizetype row = m_app.lookupIds().indexOf(m_app.currentId());
    m_list->setCurrentRow(int(row));
    try {
        for (const auto& [editor, id] : m_editors) {
            const bool typing = id == m_app.fieldOnScreen() && m_app.typedValue();
            if (!typing)
                editor->setText(m_app.field(id).value_or(QString()));
        }
        // The record on screen may have changed its company or name.
        if (row >= 0 && row < m_list->count())
            m_list->item(int(row))->setText(m_app.contactLabel(m_app.currentId()));
    } catch (const Failure&) {
        // A database on a server that is away for a moment: the window keeps what it shows, and
        // the row is read again once it can be.
        if (row >= 0)
            m_staleRows.insert(m_app.currentId());
    }
    refreshStatus();
}

void ContactWindow::refreshStatus()
{
    if (!m_app.isDatabaseOpen())
        statusBar()->showMessage(tr("No database open"));
    else if (m_app.fieldOnScreen() > 0)
        statusBar()->showMessage(
            tr("Editing %1 - the record is locked").arg(m_app.fields().Label(m_app.fieldOnScreen())));
    else
        statusBar()->showMessage(tr("Contact %1").arg(m_app.currentId()));
}

void ContactWindow::refreshCommands()
{
    m_commandBar->clear();
    m_toolsMenu->clear();
    AuxCommandStore& store = m_app.auxCommands();
    // The contact window is view 1. Each placed command is an action named after it, with its
    // caption, tool tip and icon as its definer gave them.
    const auto commandAction = [this](const AuxCommand& command, const QString& place) {
        auto* action = new QAction(command.texts.value(2, command.name), this);
        action->setObjectName(place + command.name);
        action->setToolTip(command.texts.value(3, command.name));
        action->setStatusTip(command.texts.value(3));
        const QString icon = command.texts.value(4);
        if (!icon.isEmpty() && QFileInfo(icon).isFile())
            action->setIcon(QIcon(icon));
        connect(action, &QAction::triggered, this, [this, command] { m_app.startAuxCommand(command); });
        return action;
    };
    for (const AuxCommand& command : store.toolbar(1))
        m_commandBar->addAction(commandAction(command, QStringLiteral("toolbarCommand_")));
    for (const AuxCommand& command : store.toolsMenu(1))
        m_toolsMenu->addAction(commandAction(command, QStringLiteral("toolsCommand_")));
}

void ContactWindow::askLookup()
{
    if (!m_app.isDatabaseOpen())
        return;
    QStringList names;
    for (const FieldId id : m_app.fieldIds())
        names.append(m_app.fields().Label(id));
    LookupDialog dialog(names, this);
    if (dialog.exec() == QDialog::Accepted)
        attempt([&] { m_app.lookup(dialog.match(), dialog.fieldName(), dialog.value()); });
}

void ContactWindow::defineFields()
{
    if (!m_app.isDatabaseOpen())
        return;
    FieldDefinitionDialog dialog(m_app, this);
    dialog.exec();
    buildFields();
}

} // namespace valdora::host::app

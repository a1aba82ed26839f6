#pragma once

#include "HostApplication.h"

#include <QMainWindow>
#include <QSet>

#include <functional>
#include <map>

class QLabel;
class QLineEdit;
class QListWidget;
class QFormLayout;
class QMenu;
class QToolBar;

namespace valdora::host::app {

/// The host's contact window: the current lookup on the left, the record on screen on the right
/// with every field by name. Entering and leaving a field editor enters and leaves the field in the
/// host application (its lock and triggers); all logic stays there.
class ContactWindow : public QMainWindow {
    Q_OBJECT
public:
    ContactWindow(HostApplication& application, Platform& platform, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Closing the window closes the host, with the events its clients expect.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFields();
    void refreshLookup();
    void refreshRecord();
    /// Marks the list rows of contacts written elsewhere (all of them for an empty list) as out of
    /// date, and reads again those in view.
    void markRowsWritten(const QList<ContactId>& ids);
    /// Reads again the out-of-date rows in view; the others wait until they are scrolled into it.
    void refreshRowsInView();
    void refreshCommands();
    void refreshStatus();
    void askLookup();
    void defineFields();
    void attempt(const std::function<void()>& action);

    HostApplication& m_app;
    Platform& m_platform;
    QListWidget* m_list;
    QLabel* m_lookupLabel;
    QFormLayout* m_form;
    QToolBar* m_commandBar;
    QMenu* m_toolsMenu;
    std::map<QLineEdit*, FieldId> m_editors;
    bool m_refreshing = false;
    QSet<ContactId> m_staleRows;
};

} // namespace valdora::host::app

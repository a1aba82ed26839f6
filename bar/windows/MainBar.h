#pragma once

#include "CaptionFonts.h"
#include "NotificationIcon.h"

#include "bar/BarShutdown.h"
#include "bar/BarStartup.h"
#include "bar/JournalActions.h"
#include "bar/SlotFace.h"
#include "run/ScopeChooser.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QMenu;
class QPushButton;
class QScrollArea;

namespace valdora::bar {

/// Tray-icon messages, as the icon's callback numbers them.
constexpr int TrayLeftButtonDown = 513;
constexpr int TrayRightButtonDown = 516;

/// What the bar is given by the program (or a test).
struct BarParts {
    ProgramSession& session;
    BarScreens& screens;
    run::ScopeChooser& scopes;
    BarHostFactories factories;
    /// The notification area; the program passes the desktop's, tests their own.
    std::unique_ptr<NotificationIcon> icon;
};

/// The bar: one fill button per button of the open database and a "New" slot, each with a small
/// edit button; a click runs a button, a right click offers its menu. It stays above other windows,
/// may live in the notification area, and ends with the host.
class MainBar final : public QWidget {
    Q_OBJECT
public:
    explicit MainBar(BarParts parts, QWidget* parent = nullptr);
    ~MainBar() override;

    /// The load: the link with the host, the language, then the bar built from the button files.
    /// False when the program ends instead (a message has been shown; nothing is stored).
    bool Form_Load();

    /// A tray message: 513 shows the bar, 516 opens the tray menu; others do nothing.
    void ProcessTray(int mouseMessage);
    /// A later start asked for the bar: shown when it has been in the notification area, and brought
    /// to the front.
    void showForSecondStart();

    /// Handlers of the bar's controls (public so that the editor and tests reach them).
    void cmdButton_Click(int index);
    void cmdOptions_Click(int index);
    void mnuSettings_Click();
    void mnuTrigger_Click();
    void mnuColor_Click();
    void mnuBold_Click();
    void mnuDelete_Click();
    /// "Schedule...": the schedule window of the selected button.
    void mnuSchedule_Click();
    void mnuShow_Click();
    void mnuClose_Click();
    /// "Undo a run..." and "Retry failed contacts...", in the button menu and the tray menu alike: the
    /// list of the journal's runs, starting with the newest run of the menu's button that the item
    /// can be used on.
    void mnuUndo_Click();
    void mnuRetry_Click();

    /// The right button on a slot: selects it and prepares the pop-up menu; `showAt` shows it there.
    void prepareSlotMenu(int index);
    /// Rebuilds the bar from the button files after the editor saved a button: a new button gets its
    /// slot, a changed one its caption.
    void reloadAfterEdit();

    BarFlags& flags() { return m_flags; }
    ProgramSession& session() { return m_session; }
    const BarHostFactories& factories() const { return m_factories; }
    const BarConnection& connection() const { return m_connection; }
    /// The file names of the buttons on the bar, slot by slot.
    const QStringList& buttonFiles() const { return m_buttons; }
    /// The last button file listed (of any database), for numbering a new button.
    const QString& lastButtonFile() const { return m_lastButtonFile; }
    int selectedSlot() const { return m_selectedSlot; }
    /// The file name of the selected button, or the "New" caption.
    const QString& currentButton() const { return m_currentButton; }
    bool newButton() const { return m_newButton; }
    /// The slots in use: the buttons and the "New" slot.
    int slotsShown() const { return static_cast<int>(m_buttons.size()) + 1; }
    QMenu* popupMenu() const { return m_popup; }
    QMenu* trayMenu() const { return m_trayMenu; }
    NotificationIcon& notificationIcon() { return *m_icon; }
    /// True once the bar's window handle is in the store ("Settings"/"Hwnd"), where a second start
    /// finds it.
    bool windowHandleStored() const { return m_windowHandleStored; }

signals:
    /// The program is to end (the bar has been unloaded, or its load failed).
    void programEnded();
    /// The window handle has been stored, after the bar's first paint.
    void windowHandleSaved();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Slot {
        QPushButton* fill = nullptr;
        QPushButton* edit = nullptr;
    };

    /// Runs a handler with its failures reported, counted as on the stack while it runs.
    template <typename Body> void handle(const char* routineName, Body&& body);
    void buildMenus();
    void offerJournalItems();
    JournalActions journalActions();
    void chooseJournalRun(RunChoice::Action purpose);
    void setMenuCaptions();
    void ensureSlots(int count);
    void buildBar();
    void placeBar();
    bool putInTray();
    void takeOffTray();
    void showFace(int slot, const SlotFace& face);
    void sizeBar(int slotCount);
    void storeWindowHandle();
    double dotsPerInch() const;
    QPoint positionTwips() const;
    ButtonFile selectedButton() const;
    void reloadBar();
    void OnUserWantsToClose();
    void OnDatabaseClose();
    void endAtOnce();
    bool Form_QueryUnload();
    void Form_Unload();
    void Timer1_Timer();

    ProgramSession& m_session;
    BarScreens& m_screens;
    run::ScopeChooser& m_scopes;
    BarHostFactories m_factories;
    std::unique_ptr<NotificationIcon> m_icon;
    /// The fonts the slots' captions are drawn in, made once for all slots.
    CaptionFonts m_captionFonts;
    BarFlags m_flags;
    BarConnection m_connection;

    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    std::vector<Slot> m_slots;
    QStringList m_buttons;
    QString m_lastButtonFile;

    QMenu* m_popup = nullptr;
    QAction* m_mnuSettings = nullptr;
    QAction* m_mnuTrigger = nullptr;
    QAction* m_mnuColor = nullptr;
    QAction* m_mnuBold = nullptr;
    QAction* m_mnuDelete = nullptr;
    QAction* m_mnuSchedule = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_mnuShow = nullptr;
    QAction* m_mnuClose = nullptr;
    QAction* m_mnuUndo = nullptr;
    QAction* m_mnuRetry = nullptr;

    int m_selectedSlot = 0;
    /// The button whose menu offered the journal's items; empty for the tray menu.
    QString m_journalButton;
    QString m_currentButton;
    bool m_newButton = false;
    /// The colour dialog starts from the colour last chosen in it during this run.
    quint32 m_lastColour = 0;
    /// Set by the tray menu's Close and the host's events: the close is not turned into hiding.
    bool m_closingByMenu = false;
    /// The host closed its database or is quitting: the bar ends once its open window is closed.
    bool m_hostGone = false;
    /// The bar has been in the notification area: a later start shows it.
    bool m_hooked = false;
    bool m_windowHandleStored = false;
    bool m_unloaded = false;
    /// The bar's handlers now running, each perhaps under a window's loop of its own.
    int m_handlersOnStack = 0;
    QTimer m_timer1;
    int m_ticks = 0;
};

} // namespace valdora::bar

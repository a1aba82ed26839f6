#pragma once

#include "RunListModel.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QTableView;

namespace valdora::bar {

/// The runs of the user's journal, newest first, to undo one or to retry the contacts one could not
/// write. It starts with the run of the button that opened it chosen (or none), and its buttons only
/// act on a run they can act on: Undo on a run not taken back yet, Retry on a run with failed contacts.
class RunListWindow final : public QDialog {
    Q_OBJECT
public:
    RunListWindow(const Messages& texts, std::vector<ListedRun> runs, std::optional<qint64> preselected,
                  QWidget* parent = nullptr);

    /// What the user chose; nullopt when the window was closed without a choice.
    const std::optional<RunChoice>& choice() const { return m_choice; }
    /// The run chosen in the list now; nullopt when none is.
    std::optional<qint64> chosenRun() const;

protected:
    /// Fits the window to its columns as they measure on screen (the desktop's fonts are known then).
    void showEvent(QShowEvent* event) override;

private:
    void fitToColumns();
    void updateButtons();
    void choose(RunChoice::Action action);

    RunListModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton* m_undo = nullptr;
    QPushButton* m_retry = nullptr;
    std::optional<RunChoice> m_choice;
};

} // namespace valdora::bar

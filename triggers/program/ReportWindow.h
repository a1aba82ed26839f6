#pragma once

#include "KeelbrookState.h"
#include "ReportModel.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class frmReport;
}

namespace valdora::keelbrook {

/// The trigger report: lists every trigger of the open database at its load, sorts by header, removes
/// the selected trigger, hands over to the add window, and ends the program when it is closed (by
/// its Close button or its close box).
class ReportWindow final : public QWidget {
    Q_OBJECT
public:
    /// `addTrigger` is called after the report has closed itself for the add window; `closing` when
    /// the user has closed the report.
    ReportWindow(KeelbrookState& state, std::function<void()> addTrigger, std::function<void()> closing,
                 QWidget* parent = nullptr);
    ~ReportWindow() override;

    ReportModel& model() { return m_model; }
    /// The selected row (0-based), none when no row is selected.
    std::optional<int> selectedRow() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdClose_Click();
    void lblLink_Click();
    void ListView1_ColumnClick(int column);
    void selectRow(int row);

    std::unique_ptr<Ui::frmReport> m_ui;
    KeelbrookState& m_state;
    ReportModel m_model;
    std::function<void()> m_addTrigger;
    std::function<void()> m_closing;
    bool m_towardsAdd = false;
};

} // namespace valdora::keelbrook

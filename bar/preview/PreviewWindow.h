#pragma once

#include "PreviewTableModel.h"

#include "core/Platform.h"
#include "run/preview/RunPreview.h"

#include <QDialog>
#include <QElapsedTimer>

#include <functional>
#include <memory>

namespace Ui {
class frmPreview;
}

namespace valdora::bar {

/// Computes a preview: each row goes to the observer as soon as it is known; the preview ends early
/// when `stopRequested` says so.
using PreviewSource = std::function<run::PreviewResult(
    const std::function<void(const run::PreviewRow&)>& observer, const std::function<bool()>& stopRequested)>;

/// What a run would do, before it writes: the counts at the top (would write, unchanged, locked now),
/// then one row per target of each contact. The rows appear while they are computed; the table can be
/// sorted by any column once they are all there, filtered to the changes, and exported as CSV. The user
/// runs the button for real from here, or closes it (closing while it computes stops the preview).
class PreviewWindow final : public QDialog {
    Q_OBJECT
public:
    PreviewWindow(const Messages& texts, Platform& platform, const QString& buttonCaption,
                  PreviewSource source, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    /// The user chose to run the button for real.
    bool runChosen() const { return m_runChosen; }
    /// The preview is being computed.
    bool computing() const { return m_computing; }
    /// What the preview found, once it has ended.
    const run::PreviewResult& found() const { return m_result; }

    /// Close, Escape and the close box: stop a preview being computed, then close.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void compute();
    void take(const run::PreviewRow& row);
    void flush();
    void showCounts();
    void exportCsv();

    Messages m_texts;
    Platform& m_platform;
    QString m_caption;
    PreviewSource m_source;
    std::unique_ptr<Ui::frmPreview> m_ui;
    PreviewTableModel* m_model = nullptr;
    PreviewFilter* m_filter = nullptr;

    std::vector<run::PreviewRow> m_pending;
    int m_contactsSeen = 0;
    host::ContactId m_lastContact;
    QElapsedTimer m_sinceFlush;
    run::PreviewResult m_result;
    bool m_started = false;
    bool m_computing = false;
    bool m_stopRequested = false;
    bool m_closeWhenStopped = false;
    bool m_runChosen = false;
};

} // namespace valdora::bar

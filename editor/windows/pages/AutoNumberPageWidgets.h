#pragma once

#include "SchemePage.h"

#include "editor/AutoNumberOutput.h"
#include "editor/PositionClash.h"

#include <QObject>

#include <array>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace valdora::editor {

/// The AutoNumber page: the position and value of the field, text and number parts, the separator,
/// and the counter file's buttons. It tells its window when an entry of the output changed and when
/// a position box was left or chosen in, so that the window can settle a clash of positions.
class AutoNumberPageWidgets final : public QObject, public SchemePage {
    Q_OBJECT
public:
    /// `outputEdited` runs on every change of an entry the output shows; `positionLeft` when the
    /// user chose in a position box or left it.
    AutoNumberPageWidgets(QGroupBox& frame, const RegisterControl& registerControl,
                          std::function<void()> outputEdited,
                          std::function<void(AutoNumberPart)> positionLeft);

    void buildForButton(const ButtonContext& context) override;
    void load(const EditorState& state) override;
    void store(EditorState& state) const override;
    void appendTabOrder(QList<QWidget*>& chain) const override;

    /// Shows the positions, as settled after a clash.
    void showPositions(const AutoNumberPositions& positions) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_outputEdited;
    std::function<void(AutoNumberPart)> m_positionLeft;
    /// The position boxes of the field, text and number parts.
    std::array<QComboBox*, 3> m_cmbPosition{};
    QComboBox* m_cmbField = nullptr;
    QLineEdit* m_txtText = nullptr;
    QLineEdit* m_txtNumber = nullptr;
    QLineEdit* m_txtSeparator = nullptr;
    /// Command1, cmdAutoNumber and cmdSave: the field options and the counter file's two dialogs,
    /// which the window handles.
    std::array<QPushButton*, 3> m_buttons{};
};

} // namespace valdora::editor

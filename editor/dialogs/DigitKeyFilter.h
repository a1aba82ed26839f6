#pragma once

#include <QObject>

class QLineEdit;

namespace valdora::editor {

/// Lets a text box take only the digits 0 to 9: a typed character outside them beeps and is
/// swallowed (the bar's key filter), and a pasted or dropped text that is not all digits is refused.
/// Editing keys (Backspace, Delete, the arrows, shortcuts) pass. The filter belongs to the box.
class DigitKeyFilter final : public QObject {
    Q_OBJECT
public:
    /// Installs the filter on `box`, which becomes its parent.
    static void install(QLineEdit& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit DigitKeyFilter(QLineEdit& box);
};

} // namespace valdora::editor

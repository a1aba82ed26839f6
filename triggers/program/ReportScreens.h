#pragma once

class QWidget;

namespace valdora::keelbrook {

class KeelbrookState;

/// The window the report hands over to: the add window in the program, a script in tests.
class ReportScreens {
public:
    virtual ~ReportScreens() = default;

    /// Shows the add window modally and returns when it closes, after it wrote (and remembered) a
    /// trigger or was cancelled. The report is listed afresh afterwards.
    virtual void addTrigger(KeelbrookState& state, QWidget* parent) = 0;
};

} // namespace valdora::keelbrook

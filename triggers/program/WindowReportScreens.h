#pragma once

#include "ReportScreens.h"

namespace valdora::keelbrook {

/// The report's way to the add window: the real window, over the open database, with the trigger it
/// wrote remembered for the report.
class WindowReportScreens final : public ReportScreens {
public:
    void addTrigger(KeelbrookState& state, QWidget* parent) override;
};

} // namespace valdora::keelbrook

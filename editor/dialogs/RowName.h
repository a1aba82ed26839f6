#pragma once

#include <QString>

namespace valdora::editor {

/// The object name of one control of an indexed row: "chkCond_6" for the control chkCond of row 6,
/// as the bar names its slots, so that tests and the save find a row's controls by name.
QString rowName(const char* control, int index);

} // namespace valdora::editor

#pragma once

#include "SchemePage.h"

#include <memory>

namespace valdora::editor {

// The pages whose widgets need nothing but their "fraValue_" box, each made over it. Each throws
// std::logic_error when the form lacks a control the page needs. The AutoNumber page, which the window
// also settles clashes on, is AutoNumberPageWidgets.

/// The first condition rows, an "or" below each, and the button to the rest.
std::unique_ptr<SchemePage> makeConditionPage(QGroupBox& frame, const RegisterControl& registerControl);
/// Four operands joined by three operators, "no data leaves it empty" and the invalid text.
std::unique_ptr<SchemePage> makeAddSubtractPage(QGroupBox& frame, const RegisterControl& registerControl);
/// Two operands joined by one operator, and the invalid text.
std::unique_ptr<SchemePage> makeMultiplyDividePage(QGroupBox& frame, const RegisterControl& registerControl);
/// The present date shifted by days, and its format.
std::unique_ptr<SchemePage> makeNowPage(QGroupBox& frame, const RegisterControl& registerControl);
/// The first member rows in two columns, and the button to the rest.
std::unique_ptr<SchemePage> makeComboPage(QGroupBox& frame, const RegisterControl& registerControl);
/// The date field, the unit of the age, and the texts for an invalid and an empty date.
std::unique_ptr<SchemePage> makeAgePage(QGroupBox& frame, const RegisterControl& registerControl);

} // namespace valdora::editor

#pragma once

#include "editor/dialogs/RowName.h"

#include "settings/ButtonModel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

class QAbstractItemModel;

namespace valdora::editor {

/// The same control as the save's checks name it: "txtValueTab1" and 3 give "txtValueTab13".
QString checkNameOf(const char* control, int index);

/// A control of a repeated row, made in `parent` and named by its row: "cmbOperatorTab2_1".
template <class Widget> Widget* named(QWidget& parent, const char* control, int index)
{
    auto* widget = new Widget(&parent);
    widget->setObjectName(rowName(control, index));
    return widget;
}

/// Fills a list with fixed entries and leaves it without a choice.
void fillList(QComboBox& list, const QStringList& entries);

/// Selects by position; no choice for a position the list does not have.
void selectPosition(QComboBox& list, int position);

/// Shows a field list over one of the window's shared field models.
void showFieldList(QComboBox& list, QAbstractItemModel& model);

/// The control of `frame` named `name`. Throws std::logic_error when the form has none, which a
/// renamed control in the form would otherwise turn into a crash at the first load.
template <class Widget> Widget& required(QWidget& frame, const char* name)
{
    auto* widget = frame.findChild<Widget*>(QLatin1String(name));
    if (!widget)
        throw std::logic_error(std::string("the form has no control ") + name);
    return *widget;
}

/// Checks option `chosen` of a group; none for NoChoice or a number past the group.
template <std::size_t N> void checkOption(const std::array<QRadioButton*, N>& options, int chosen)
{
    // Auto-exclusive buttons cannot all be cleared one by one: a group without a choice is allowed.
    for (QRadioButton* option : options)
        option->setAutoExclusive(false);
    for (std::size_t i = 0; i < N; ++i)
        options[i]->setChecked(static_cast<int>(i) == chosen);
    for (QRadioButton* option : options)
        option->setAutoExclusive(true);
}

/// The checked option of a group; NoChoice when none is.
template <std::size_t N> int checkedOption(const std::array<QRadioButton*, N>& options)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (options[i]->isChecked())
            return static_cast<int>(i);
    }
    return NoChoice;
}

/// The options "optFormat_0" to "optFormat_<N-1>" of `frame`.
template <std::size_t N> std::array<QRadioButton*, N> optionGroup(QWidget& frame, const char* control)
{
    std::array<QRadioButton*, N> options{};
    for (std::size_t i = 0; i < N; ++i) {
        const QByteArray name = rowName(control, static_cast<int>(i)).toLatin1();
        options[i] = &required<QRadioButton>(frame, name.constData());
    }
    return options;
}

} // namespace valdora::editor

#include "PageControls.h"

namespace valdora::editor {

namespace {

/// The characters a field list is wide enough for.
constexpr int FieldListWidth = 14;

} // namespace

QString checkNameOf(const char* control, int index)
{
    return QLatin1String(control) + QString::number(index);
}

void fillList(QComboBox& list, const QStringList& entries)
{
    list.clear();
    list.addItems(entries);
    list.setCurrentIndex(-1);
}

void selectPosition(QComboBox& list, int position)
{
    list.setCurrentIndex(position >= 0 && position < list.count() ? position : -1);
}

void showFieldList(QComboBox& list, QAbstractItemModel& model)
{
    list.setModel(&model);
    // A long field name does not widen the page; the open list shows it whole.
    list.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list.setMinimumContentsLength(FieldListWidth);
    list.setCurrentIndex(-1);
}

} // namespace valdora::editor

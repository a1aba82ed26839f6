#include "RowGrid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QWidget>

#include <stdexcept>

namespace valdora::editor {

QWidget& gridOwner(QGridLayout& grid)
{
    QWidget* owner = grid.parentWidget();
    if (owner == nullptr)
        throw std::invalid_argument("a row is built into a grid that is set on a widget");
    return *owner;
}

void selectText(QComboBox& list, const QString& text)
{
    list.setCurrentIndex(text.isEmpty() ? -1
                                        : list.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

QString chosenText(const QComboBox& list)
{
    return list.currentIndex() < 0 ? QString() : list.currentText();
}

} // namespace valdora::editor

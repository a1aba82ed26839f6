#pragma once

#include "SchemePage.h"

#include "settings/ButtonModel.h"

#include <array>
#include <cstddef>
#include <vector>

class QAbstractItemModel;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QRadioButton;

namespace valdora::editor {

/// The object names of a page's operand controls, each followed by the row's index.
struct OperandNames {
    const char* text;
    const char* field;
    const char* optText;
    const char* optField;
};

/// The operand rows of a calculating page: each operand is a constant or a field, chosen by its own
/// pair of options, in grid rows 0, 2, 4... so that the operators sit between them. Typing a constant
/// chooses the constant, choosing or opening the field list chooses the field. The rows, their
/// widgets and this object belong to the grid's widget.
class OperandRows final : public QObject {
    Q_OBJECT
public:
    /// Builds `count` rows into `grid`, registered under their check names.
    OperandRows(QGridLayout& grid, int count, const OperandNames& names,
                const RegisterControl& registerControl);

    void setCaptions(const Messages& messages) const;
    void showFields(QAbstractItemModel& sourceFields) const;
    /// Appends operand `index`'s four controls, in the order Tab visits them.
    void appendTabOrder(QList<QWidget*>& chain, std::size_t index) const;
    std::size_t rowCount() const { return m_rows.size(); }

    template <std::size_t N> void load(const std::array<Operand, N>& operands) const
    {
        for (std::size_t i = 0; i < N && i < m_rows.size(); ++i)
            loadRow(m_rows[i], operands[i]);
    }
    template <std::size_t N> void store(std::array<Operand, N>& operands) const
    {
        for (std::size_t i = 0; i < N && i < m_rows.size(); ++i)
            storeRow(m_rows[i], operands[i]);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QRadioButton* optCalcText = nullptr;
        QLineEdit* txtCalc = nullptr;
        QRadioButton* optCalcField = nullptr;
        QComboBox* cmbField = nullptr;
        QButtonGroup* group = nullptr;
    };
    static void loadRow(const Row& row, const Operand& operand);
    static void storeRow(const Row& row, Operand& operand);

    std::vector<Row> m_rows;
};

} // namespace valdora::editor

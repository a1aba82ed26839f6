#include "AutoNumberPageWidgets.h"

#include "PageControls.h"

#include "editor/dialogs/RowGrid.h"
#include "editor/windows/EditorTexts.h"
#include "widgets/KeyFilter.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStringListModel>

#include <utility>

namespace valdora::editor {

namespace {

const QString Digits = QStringLiteral("0123456789");
/// The parts in the order of the position rows.
constexpr std::array Parts{AutoNumberPart::Field, AutoNumberPart::Text, AutoNumberPart::Number};

} // namespace

AutoNumberPageWidgets::AutoNumberPageWidgets(QGroupBox& frame, const RegisterControl& registerControl,
                                             std::function<void()> outputEdited,
                                             std::function<void(AutoNumberPart)> positionLeft)
    : m_outputEdited(std::move(outputEdited)), m_positionLeft(std::move(positionLeft))
{
    auto& grid = required<QGridLayout>(frame, "positionRows");
    m_txtSeparator = &required<QLineEdit>(frame, "txtSeparator");
    m_buttons = {&required<QPushButton>(frame, "Command1"), &required<QPushButton>(frame, "cmdAutoNumber"),
                 &required<QPushButton>(frame, "cmdSave")};

    // The captions of the header and the parts' labels come from the window's caption table.
    auto* header = new QLabel(&frame);
    header->setObjectName(QStringLiteral("lblPosition"));
    grid.addWidget(header, 0, 0);
    for (int row = 0; row < 3; ++row) {
        m_cmbPosition[row] = named<QComboBox>(frame, "cmbPosition", row);
        grid.addWidget(m_cmbPosition[row], row + 1, 0);
        grid.addWidget(named<QLabel>(frame, "lblPart", row), row + 1, 1);
    }
    m_cmbField = new QComboBox(&frame);
    m_cmbField->setObjectName(QStringLiteral("cmbField"));
    m_txtText = new QLineEdit(&frame);
    m_txtText->setObjectName(QStringLiteral("txtText"));
    m_txtNumber = new QLineEdit(&frame);
    m_txtNumber->setObjectName(QStringLiteral("txtNumber"));
    m_txtNumber->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_txtNumber));
    m_txtNumber->installEventFilter(this);
    grid.addWidget(m_cmbField, 1, 2);
    grid.addWidget(m_txtText, 2, 2);
    grid.addWidget(m_txtNumber, 3, 2);
    grid.setColumnStretch(2, 1);
    fillList(*m_cmbPosition[0], texts::OptionalPositions);
    fillList(*m_cmbPosition[1], texts::OptionalPositions);
    fillList(*m_cmbPosition[2], texts::NumberPositions);

    registerControl(QStringLiteral("txtText"), m_txtText);
    registerControl(QStringLiteral("txtNumber"), m_txtNumber);
    registerControl(QStringLiteral("txtSeparator"), m_txtSeparator);
    registerControl(QStringLiteral("cmbField"), m_cmbField);

    const auto edited = [this] { m_outputEdited(); };
    connect(m_cmbField, &QComboBox::currentIndexChanged, this, edited);
    connect(m_txtText, &QLineEdit::textChanged, this, edited);
    connect(m_txtNumber, &QLineEdit::textChanged, this, edited);
    connect(m_txtSeparator, &QLineEdit::textChanged, this, edited);
    for (std::size_t row = 0; row < Parts.size(); ++row) {
        connect(m_cmbPosition[row], &QComboBox::currentIndexChanged, this, edited);
        // A choice made in the list settles a clash at once; leaving the box settles one typed in.
        const AutoNumberPart part = Parts[row];
        connect(m_cmbPosition[row], &QComboBox::activated, this, [this, part] { m_positionLeft(part); });
        m_cmbPosition[row]->installEventFilter(this);
    }
}

void AutoNumberPageWidgets::buildForButton(const ButtonContext& context)
{
    showFieldList(*m_cmbField, context.sourceFields);
}

void AutoNumberPageWidgets::load(const EditorState& state)
{
    const AutoNumberEntries& entries = state.autoNumber.entries;
    showPositions(entries.positions);
    selectText(*m_cmbField, entries.fieldName);
    m_txtText->setText(entries.text);
    m_txtNumber->setText(entries.number);
    m_txtSeparator->setText(entries.separator);
}

void AutoNumberPageWidgets::store(EditorState& state) const
{
    AutoNumberEntries& entries = state.autoNumber.entries;
    entries.positions = {m_cmbPosition[0]->currentIndex(), m_cmbPosition[1]->currentIndex(),
                         m_cmbPosition[2]->currentIndex() + 1};
    entries.fieldName = m_cmbField->currentText();
    entries.text = m_txtText->text();
    entries.number = m_txtNumber->text();
    entries.separator = m_txtSeparator->text();
}

void AutoNumberPageWidgets::showPositions(const AutoNumberPositions& positions) const
{
    // The number has no "not used": its list starts at position 1.
    selectPosition(*m_cmbPosition[0], positions.field);
    selectPosition(*m_cmbPosition[1], positions.text);
    selectPosition(*m_cmbPosition[2], positions.number - 1);
}

void AutoNumberPageWidgets::appendTabOrder(QList<QWidget*>& chain) const
{
    // Row by row: each part's position, then its value.
    const std::array<QWidget*, 3> values{m_cmbField, m_txtText, m_txtNumber};
    for (std::size_t row = 0; row < m_cmbPosition.size(); ++row)
        chain << m_cmbPosition[row] << values[row];
    chain << m_txtSeparator;
    for (QPushButton* button : m_buttons)
        chain << button;
}

bool AutoNumberPageWidgets::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_txtNumber && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        // Only characters are filtered: Tab, arrows and shortcuts keep their work.
        if (!typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0).unicode() == widgets::BackspaceKey) &&
            widgets::ValidateText(typed.at(0).unicode(), Digits, true, [] { QApplication::beep(); }) == 0)
            return true;
    } else if (event->type() == QEvent::FocusOut) {
        for (std::size_t row = 0; row < m_cmbPosition.size(); ++row) {
            if (watched == m_cmbPosition[row])
                m_positionLeft(Parts[row]);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace valdora::editor

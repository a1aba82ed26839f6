#include "SettingsWindow.h"

#include "EditorTexts.h"
#include "SettingsCaptions.h"
#include "ui_frmSettings.h"

#include "pages/NowPageWidgets.h"
#include "pages/PageControls.h"

#include "editor/dialogs/RowGrid.h"
#include "editor/dialogs/RowName.h"
#include "engine/CounterStartValue.h"
#include "settings/ButtonFile.h"
#include "settings/MessageId.h"
#include "settings/OverwriteMode.h"
#include "settings/SettingsLocation.h"
#include "settings/UserKey.h"
#include "widgets/KeyFilter.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStringListModel>
#include <QTimer>

#include <functional>
#include <utility>

namespace valdora::editor {

namespace {

constexpr const char* Form = "frmSettings";
const QString Digits = QStringLiteral("0123456789");
const QString LabelColon = QStringLiteral(" :");

Routine routine(const char* name)
{
    return {Form, RoutineKind::Sub, name};
}

template <class Widget> Widget* named(QWidget* parent, const char* control, int index)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(rowName(control, index));
    return widget;
}

QString withSeparator(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    return folder;
}

} // namespace

SettingsWindow::SettingsWindow(ProgramSession& session, EditorHost& host, EditorScreens& screens,
                               const QString& fileName, QWidget* parent)
    : QDialog(parent), m_session(session), m_host(host), m_screens(screens),
      m_ui(std::make_unique<Ui::frmSettings>())
{
    m_ui->setupUi(this);
    // Each page holds the box of its scheme, named by the scheme's code.
    for (const SchemeRow& row : SchemeTable) {
        const qint16 code = codeOf(row.scheme);
        m_chkType[static_cast<std::size_t>(code)] =
            findChild<QCheckBox*>(QStringLiteral("chkType_%1").arg(code));
    }
    m_optOver = {m_ui->optOver_0, m_ui->optOver_1, m_ui->optOver_2, m_ui->optOver_3};
    m_optScope = {m_ui->optScope_0, m_ui->optScope_1};
    m_optAutoWarning = {m_ui->optAutoWarning_0, m_ui->optAutoWarning_1, m_ui->optAutoWarning_2};
    m_optAge = {m_ui->optAge_0, m_ui->optAge_1, m_ui->optAge_2};
    // Every page caption shows whole: the window is as wide as the seven tabs.
    m_ui->SSTab1->setUsesScrollButtons(false);
    buildMenus();
    makePages();
    buildPositionRows();
    buildOperandRows();
    for (const char* name :
         {"txtButtonName", "cmbTarget", "txtAppendSep", "txtText", "txtNumber", "txtSeparator",
          "txtInvalidAdd", "txtInvalid", "txtInvalidAge", "txtBlankAge", "cmbField", "cmbFieldTab5"}) {
        if (auto* widget = findChild<QWidget*>(QLatin1String(name)))
            registerControl(QLatin1String(name), widget);
    }
    connectControls();
    Form_Load(fileName);
}

SettingsWindow::~SettingsWindow() = default;

bool SettingsWindow::edit(ProgramSession& session, EditorHost& host, EditorScreens& screens,
                          const QString& fileName, QWidget* parent)
{
    SettingsWindow window(session, host, screens, fileName, parent);
    window.exec();
    return window.saved();
}

void SettingsWindow::makePages()
{
    // Each scheme's page widgets, made by the scheme's row and kept in the order of the tabs.
    const std::array<std::pair<Scheme, std::function<std::unique_ptr<SchemePage>()>>, 1> makers{{
        {Scheme::Now, [] { return std::make_unique<NowPageWidgets>(); }},
    }};
    const RegisterControl registry = [this](const QString& name, QWidget* control) {
        registerControl(name, control);
    };
    m_pages.resize(SchemeTable.size());
    for (const auto& [scheme, make] : makers) {
        const int index = schemeRowOf(scheme)->editorPage;
        std::unique_ptr<SchemePage> page = make();
        page->build(*findChild<QGroupBox*>(QStringLiteral("fraValue_%1").arg(index)), registry);
        m_pages[static_cast<std::size_t>(index)] = std::move(page);
    }
}

SchemePage& SettingsWindow::pageAt(EditorPage page) const
{
    return *m_pages[static_cast<std::size_t>(page)];
}

void SettingsWindow::registerControl(const QString& name, QWidget* widget)
{
    m_controls.insert(name, widget);
}

void SettingsWindow::buildMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    const auto item = [this](QMenu* menu, const char* name, auto handler) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu* options = m_menuBar->addMenu(QString());
    m_mnuOptions = options->menuAction();
    m_mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    m_mnuIniFile = item(options, "mnuIniFile", [this] { m_screens.settingsLocation(); });
    m_mnuStart = item(options, "mnuStart", [this] { m_screens.startOptions(); });
    m_mnuLanguage = item(options, "mnuLanguage", [this] {
        trapped(m_session.reporter(), routine("mnuLanguage_Click"), [&] { m_screens.languages(); });
    });
    m_mnuIntegrate = item(options, "mnuIntegrate", [this] {
        // The host restarts through the bar's unload, which must not run under the editor's loop.
        if (m_screens.integrate()) {
            reject();
            m_host.startShutdown();
        }
    });
    QMenu* help = m_menuBar->addMenu(QString());
    m_mnuHelp = help->menuAction();
    m_mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    m_mnuOnline = item(help, "mnuOnline", [this] { m_screens.onlineHelp(); });
    m_mnuIniFile->setEnabled(m_screens.offersSettingsLocation());
    m_mnuIntegrate->setEnabled(m_screens.offersIntegration());
    m_ui->mainLayout->setMenuBar(m_menuBar);
}

void SettingsWindow::buildPositionRows()
{
    QGridLayout* grid = m_ui->positionRows;
    QWidget* page = m_ui->fraValue_0;
    m_positionHeader = new QLabel(page);
    m_positionHeader->setObjectName(QStringLiteral("lblPosition"));
    grid->addWidget(m_positionHeader, 0, 0);
    for (int row = 0; row < 3; ++row) {
        m_cmbPosition[row] = named<QComboBox>(page, "cmbPosition", row);
        m_positionLabels[row] = named<QLabel>(page, "lblPart", row);
        grid->addWidget(m_cmbPosition[row], row + 1, 0);
        grid->addWidget(m_positionLabels[row], row + 1, 1);
    }
    auto* field = new QComboBox(page);
    field->setObjectName(QStringLiteral("cmbField"));
    auto* text = new QLineEdit(page);
    text->setObjectName(QStringLiteral("txtText"));
    auto* number = new QLineEdit(page);
    number->setObjectName(QStringLiteral("txtNumber"));
    number->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), number));
    number->installEventFilter(this);
    grid->addWidget(field, 1, 2);
    grid->addWidget(text, 2, 2);
    grid->addWidget(number, 3, 2);
    grid->setColumnStretch(2, 1);
    fillList(*m_cmbPosition[0], texts::OptionalPositions);
    fillList(*m_cmbPosition[1], texts::OptionalPositions);
    fillList(*m_cmbPosition[2], texts::NumberPositions);
}

void SettingsWindow::buildConditionRows()
{
    QGridLayout* grid = m_ui->conditionRows;
    for (int i = 0; i < ConditionPageRows; ++i) {
        const ConditionRowWidgets& row =
            m_conditions.emplace_back(*grid, 2 * i, i, m_session.messages(), *m_sourceFields);
        if (i + 1 < ConditionPageRows) {
            QLabel* orLabel = named<QLabel>(m_ui->fraValue_1, "lblOr", i);
            grid->addWidget(orLabel, 2 * i + 1, 0);
            m_orLabels.push_back(orLabel);
        }
        registerControl(checkNameOf("txtValueTab1", i), row.txtValueTab1());
        registerControl(checkNameOf("cmbOperator", i), row.cmbOperator());
        registerControl(checkNameOf("cmbFieldTab1", i), row.cmbFieldTab1());
    }
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
}

void SettingsWindow::buildOperandRows()
{
    const auto build = [this](QGridLayout* grid, QWidget* page, auto& operands, const char* text,
                              const char* field, const char* optText, const char* optField) {
        for (int i = 0; i < static_cast<int>(operands.size()); ++i) {
            OperandWidgets& operand = operands[static_cast<std::size_t>(i)];
            operand.optCalcText = named<QRadioButton>(page, optText, i);
            operand.txtCalc = named<QLineEdit>(page, text, i);
            operand.optCalcField = named<QRadioButton>(page, optField, i);
            operand.cmbField = named<QComboBox>(page, field, i);
            // Each operand chooses between its own constant and its own field.
            operand.group = new QButtonGroup(page);
            operand.group->addButton(operand.optCalcText);
            operand.group->addButton(operand.optCalcField);
            operand.cmbField->installEventFilter(this);
            grid->addWidget(operand.optCalcText, 2 * i, 0);
            grid->addWidget(operand.txtCalc, 2 * i, 1);
            grid->addWidget(operand.optCalcField, 2 * i, 2);
            grid->addWidget(operand.cmbField, 2 * i, 3);
            registerControl(checkNameOf(text, i), operand.txtCalc);
            registerControl(checkNameOf(field, i), operand.cmbField);
        }
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(3, 2);
    };
    build(m_ui->addSubtractRows, m_ui->fraValue_2, m_tab2, "txtCalcTab2", "cmbFieldTab2", "optCalcTextTab2",
          "optCalcFieldTab2");
    for (int j = 0; j < 3; ++j) {
        m_cmbOperatorTab2[j] = named<QComboBox>(m_ui->fraValue_2, "cmbOperatorTab2", j);
        fillList(*m_cmbOperatorTab2[j], texts::AddSubtractOperators);
        m_ui->addSubtractRows->addWidget(m_cmbOperatorTab2[j], 2 * j + 1, 1);
    }
    build(m_ui->multiplyDivideRows, m_ui->fraValue_3, m_tab3, "txtCalcTab3", "cmbFieldTab3",
          "optCalcTextTab3", "optCalcFieldTab3");
    m_cmbOperatorTab3 = new QComboBox(m_ui->fraValue_3);
    m_cmbOperatorTab3->setObjectName(QStringLiteral("cmbOperatorTab3"));
    fillList(*m_cmbOperatorTab3, texts::MultiplyDivideOperators);
    m_ui->multiplyDivideRows->addWidget(m_cmbOperatorTab3, 1, 1);
}

void SettingsWindow::buildComboRows()
{
    // Two columns of four rows, each in a grid of its own.
    auto* columns = new QHBoxLayout;
    m_ui->comboRows->addLayout(columns, 0, 0);
    std::array<QGridLayout*, 2> grids{new QGridLayout, new QGridLayout};
    std::array<QWidget*, 2> holders{new QWidget(m_ui->fraValue_6), new QWidget(m_ui->fraValue_6)};
    for (std::size_t column = 0; column < grids.size(); ++column) {
        holders[column]->setObjectName(QStringLiteral("comboColumn_%1").arg(column));
        holders[column]->setLayout(grids[column]);
        grids[column]->setContentsMargins(0, 0, 0, 0);
        grids[column]->setColumnStretch(1, 1);
        columns->addWidget(holders[column]);
    }
    QStringListModel* captions = makeMemberCaptionModel(m_state.comboMembers, *m_ui->fraValue_6);
    for (int i = 0; i < ComboPageRows; ++i) {
        const ComboMemberRowWidgets& row = m_combo.emplace_back(*grids[static_cast<std::size_t>(i / 4)],
                                                                i % 4, i, m_state.comboMembers, *captions);
        registerControl(checkNameOf("cmbButton", i), row.cmbButton());
    }
}

void SettingsWindow::connectControls()
{
    for (int code = 0; code < static_cast<int>(m_chkType.size()); ++code)
        connect(m_chkType[static_cast<std::size_t>(code)], &QCheckBox::toggled, this,
                [this, code](bool ticked) {
                    if (ticked)
                        chkType_Click(code);
                });
    connect(m_ui->SSTab1, &QTabWidget::currentChanged, this, &SettingsWindow::SSTab1_Click);
    m_ui->txtButtonName->installEventFilter(this);
    connect(m_ui->txtButtonName, &QLineEdit::textEdited, this, &SettingsWindow::txtButtonName_Edited);

    const auto output = [this] {
        if (!m_filling)
            Update_Output();
    };
    auto* field = findChild<QComboBox*>(QStringLiteral("cmbField"));
    connect(field, &QComboBox::currentIndexChanged, this, output);
    connect(findChild<QLineEdit*>(QStringLiteral("txtText")), &QLineEdit::textChanged, this, output);
    connect(findChild<QLineEdit*>(QStringLiteral("txtNumber")), &QLineEdit::textChanged, this, output);
    connect(m_ui->txtSeparator, &QLineEdit::textChanged, this, output);
    const std::array parts{AutoNumberPart::Field, AutoNumberPart::Text, AutoNumberPart::Number};
    for (std::size_t row = 0; row < parts.size(); ++row) {
        connect(m_cmbPosition[row], &QComboBox::currentIndexChanged, this, output);
        // A choice made in the list settles a clash at once; leaving the box settles one typed in.
        const AutoNumberPart part = parts[row];
        connect(m_cmbPosition[row], &QComboBox::activated, this,
                [this, part] { cmbPosition_LostFocus(part); });
        m_cmbPosition[row]->installEventFilter(this);
    }

    const auto operandLinks = [this](auto& operands) {
        for (OperandWidgets& operand : operands) {
            QRadioButton* constant = operand.optCalcText;
            QRadioButton* fieldOption = operand.optCalcField;
            connect(operand.txtCalc, &QLineEdit::textEdited, constant,
                    [constant] { constant->setChecked(true); });
            connect(operand.cmbField, &QComboBox::activated, fieldOption,
                    [fieldOption] { fieldOption->setChecked(true); });
        }
    };
    operandLinks(m_tab2);
    operandLinks(m_tab3);

    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Return in a text box saves the button, as OK does (Escape cancels, as in every dialog).
    m_ui->cmdOK->setDefault(true);
    connect(m_ui->cmdTrigger, &QPushButton::clicked, this, &SettingsWindow::cmdTrigger_Click);
    connect(m_ui->cmdAutoNumber, &QPushButton::clicked, this, &SettingsWindow::cmdAutoNumber_Click);
    connect(m_ui->cmdSave, &QPushButton::clicked, this, &SettingsWindow::cmdSave_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &SettingsWindow::Command1_Click);
    connect(m_ui->cmdMoreCond, &QPushButton::clicked, this, &SettingsWindow::cmdMoreCond_Click);
    connect(m_ui->cmdMoreCombo, &QPushButton::clicked, this, &SettingsWindow::cmdMoreCombo_Click);
}

void SettingsWindow::setCaptions()
{
    const Messages& messages = m_session.messages();
    const auto text = [&messages](MessageId id) { return messages.get(id); };
    setWindowTitle(text(MessageId::SettingsTitle));
    for (const CaptionRow& row : settingsCaptionRows()) {
        // Every row names an object of this window that takes a caption: the window's tests check it.
        if (QObject* object = findChild<QObject*>(QLatin1String(row.objectName)))
            setCaption(*object, captionText(row, messages));
    }

    // The captions that many copies share.
    for (const SchemeRow& row : SchemeTable) {
        m_ui->SSTab1->setTabText(row.editorPage, text(row.caption));
        findChild<QGroupBox*>(QStringLiteral("fraValue_%1").arg(row.editorPage))
            ->setTitle(text(MessageId::ValueToCopy) + LabelColon);
    }
    for (QCheckBox* box : m_chkType)
        box->setText(text(MessageId::SelectScheme));
    for (QLabel* orLabel : m_orLabels)
        orLabel->setText(text(MessageId::ConditionOr));
    const auto operandCaptions = [&text](auto& operands) {
        for (OperandWidgets& operand : operands) {
            operand.optCalcText->setText(text(MessageId::ConditionValue));
            operand.optCalcField->setText(text(MessageId::AutoNumberField));
        }
    };
    operandCaptions(m_tab2);
    operandCaptions(m_tab3);
}

void SettingsWindow::Form_Load(const QString& fileName)
{
    trapped(m_session.reporter(), routine("Form_Load"), [&] {
        trapped(m_session.reporter(), {Form, RoutineKind::Sub, "Field_List"}, [&] {
            m_fields = m_host.fields() ? FieldListModel::fromHost(*m_host.fields()) : FieldListModel();
        });
        // Default counter files live in the data folder, where the run looks for them.
        const QString dataFolder = withSeparator(m_session.dataFolder());
        m_counterFolder = withSeparator(
            m_session.userSettings().get(Application::Valdora, UserKey::Settings, UserKey::IniFolder,
                                         SettingsLocation::defaultCounterFolder(m_session.dataFolder())));
        const EditorSources sources{m_session.ini(), m_session.buttonFolder(), dataFolder,
                                    m_counterFolder, m_session.messages(),     m_session.locale(),
                                    m_fields,        m_host.buttonFiles()};
        m_state = fileName.isEmpty() ? newEditorState(sources) : loadEditorState(sources, fileName);
        m_loaded = m_state;
        m_sourceFields = makeSourceFieldModel(m_fields, *this);
        buildConditionRows();
        buildComboRows();
        setCaptions();
        m_ui->cmdOK->setText(
            m_session.messages().get(m_state.newButton ? MessageId::AddButton : MessageId::Apply));
        fillFieldLists();
        setTabOrders();
        Tab_Load();
    });
}

void SettingsWindow::setTabOrders()
{
    // The rows are built after the form's own controls: Tab follows the screen, page by page.
    QList<QWidget*> chain{m_ui->txtButtonName, m_ui->cmbTarget,    m_optOver[0],
                          m_optOver[1],        m_ui->txtAppendSep, m_optOver[2],
                          m_optOver[3],        m_optScope[0],      m_optScope[1]};
    for (QRadioButton* option : m_optAutoWarning)
        chain << option;
    chain << m_ui->cmdTrigger << m_ui->SSTab1;
    chain << m_chkType[0];
    // Row by row: each part's position, then its value.
    const std::array values{static_cast<QWidget*>(findChild<QComboBox*>(QStringLiteral("cmbField"))),
                            static_cast<QWidget*>(findChild<QLineEdit*>(QStringLiteral("txtText"))),
                            static_cast<QWidget*>(findChild<QLineEdit*>(QStringLiteral("txtNumber")))};
    for (std::size_t row = 0; row < m_cmbPosition.size(); ++row)
        chain << m_cmbPosition[row] << values[row];
    chain << m_ui->txtSeparator << m_ui->Command1 << m_ui->cmdAutoNumber << m_ui->cmdSave;
    chain << m_chkType[1];
    for (const ConditionRowWidgets& row : m_conditions)
        chain << row.chkCond() << row.cmbFieldTab1() << row.cmbOperator() << row.txtCondition()
              << row.txtValueTab1();
    chain << m_ui->cmdMoreCond << m_chkType[2];
    for (std::size_t i = 0; i < m_tab2.size(); ++i) {
        chain << m_tab2[i].optCalcText << m_tab2[i].txtCalc << m_tab2[i].optCalcField << m_tab2[i].cmbField;
        if (i < m_cmbOperatorTab2.size())
            chain << m_cmbOperatorTab2[i];
    }
    chain << m_ui->chkZero << m_ui->txtInvalidAdd << m_chkType[3];
    for (std::size_t i = 0; i < m_tab3.size(); ++i) {
        chain << m_tab3[i].optCalcText << m_tab3[i].txtCalc << m_tab3[i].optCalcField << m_tab3[i].cmbField;
        if (i == 0)
            chain << m_cmbOperatorTab3;
    }
    chain << m_ui->txtInvalid << m_chkType[4];
    pageAt(EditorPage::Now).appendTabOrder(chain);
    chain << m_chkType[6] << m_ui->cmbFieldTab5;
    for (QRadioButton* option : m_optAge)
        chain << option;
    chain << m_ui->txtInvalidAge << m_ui->txtBlankAge << m_chkType[5];
    for (const ComboMemberRowWidgets& row : m_combo)
        chain << row.chkButton() << row.cmbButton();
    chain << m_ui->cmdMoreCombo << m_ui->cmdOK << m_ui->cmdCancel;
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain[i], chain[i + 1]);
}

void SettingsWindow::fillFieldLists()
{
    // Every field list shows one of two shared lists, which a large database makes worth sharing.
    auto* targets = new QStringListModel(m_fields.Field_List(FieldListMode::Target), this);
    const auto show = [](QComboBox* list, QAbstractItemModel* model) { showFieldList(*list, *model); };
    show(m_ui->cmbTarget, targets);
    show(findChild<QComboBox*>(QStringLiteral("cmbField")), m_sourceFields);
    for (OperandWidgets& operand : m_tab2)
        show(operand.cmbField, m_sourceFields);
    for (OperandWidgets& operand : m_tab3)
        show(operand.cmbField, m_sourceFields);
    show(m_ui->cmbFieldTab5, m_sourceFields);
}

void SettingsWindow::Tab_Load()
{
    trapped(m_session.reporter(), routine("Tab_Load"), [&] {
        m_filling = true;
        const EditorState& s = m_state;
        m_ui->txtButtonName->setText(s.caption);
        m_lastCaption = s.caption;
        selectText(*m_ui->cmbTarget, s.target);
        checkOption(m_optOver, s.overwrite ? static_cast<int>(*s.overwrite) : NoChoice);
        checkOption(m_optScope, s.scope);
        checkOption(m_optAutoWarning, s.autoWarning);
        m_ui->txtAppendSep->setText(s.appendSeparator);
        for (std::size_t code = 0; code < m_chkType.size(); ++code)
            m_chkType[code]->setChecked(s.typeTicked[code]);

        const AutoNumberEntries& entries = s.autoNumber.entries;
        selectPosition(*m_cmbPosition[0], entries.positions.field);
        selectPosition(*m_cmbPosition[1], entries.positions.text);
        selectPosition(*m_cmbPosition[2], entries.positions.number - 1);
        selectText(*findChild<QComboBox*>(QStringLiteral("cmbField")), entries.fieldName);
        findChild<QLineEdit*>(QStringLiteral("txtText"))->setText(entries.text);
        findChild<QLineEdit*>(QStringLiteral("txtNumber"))->setText(entries.number);
        m_ui->txtSeparator->setText(entries.separator);
        const bool captioned = !s.caption.isEmpty() && s.caption != m_session.messages().get(MessageId::New);
        m_ui->cmdAutoNumber->setEnabled(captioned);
        m_ui->cmdSave->setEnabled(captioned);

        for (const ConditionRowWidgets& row : m_conditions)
            row.load(s.condition);

        const auto loadOperands = [](auto& widgets, const auto& operands) {
            for (std::size_t i = 0; i < widgets.size(); ++i) {
                OperandWidgets& operand = widgets[i];
                operand.txtCalc->setText(operands[i].constant);
                selectText(*operand.cmbField, operands[i].field.name);
                operand.group->setExclusive(false);
                operand.optCalcText->setChecked(operands[i].source == Operand::Constant);
                operand.optCalcField->setChecked(operands[i].source == Operand::Field);
                operand.group->setExclusive(true);
            }
        };
        loadOperands(m_tab2, s.addSubtract.operands);
        for (std::size_t j = 0; j < m_cmbOperatorTab2.size(); ++j)
            selectPosition(*m_cmbOperatorTab2[j], s.addSubtract.operators[j]);
        m_ui->chkZero->setChecked(s.addSubtract.emptyWhenNoData);
        m_ui->txtInvalidAdd->setText(s.addSubtract.invalid);
        loadOperands(m_tab3, s.multiplyDivide.operands);
        selectPosition(*m_cmbOperatorTab3, s.multiplyDivide.op);
        m_ui->txtInvalid->setText(s.multiplyDivide.invalid);

        for (const std::unique_ptr<SchemePage>& page : m_pages)
            if (page)
                page->load(s);

        selectText(*m_ui->cmbFieldTab5, s.age.dateField.name);
        checkOption(m_optAge, s.age.format);
        m_ui->txtInvalidAge->setText(s.age.invalid);
        m_ui->txtBlankAge->setText(s.age.blank);

        for (const ComboMemberRowWidgets& row : m_combo)
            row.load(s.combo);

        m_ui->SSTab1->setCurrentIndex(static_cast<int>(s.page));
        m_filling = false;
        SSTab1_Click(static_cast<int>(s.page));
        Update_Output();
    });
    m_filling = false;
}

void SettingsWindow::storeWidgets()
{
    EditorState& s = m_state;
    s.caption = m_ui->txtButtonName->text();
    s.target = m_ui->cmbTarget->currentText();
    s.overwrite = overwriteModeAt(checkedOption(m_optOver));
    s.scope = checkedOption(m_optScope);
    s.autoWarning = checkedOption(m_optAutoWarning);
    s.appendSeparator = m_ui->txtAppendSep->text();
    for (std::size_t code = 0; code < m_chkType.size(); ++code)
        s.typeTicked[code] = m_chkType[code]->isChecked();
    s.page = static_cast<EditorPage>(m_ui->SSTab1->currentIndex());

    AutoNumberEntries& entries = s.autoNumber.entries;
    entries.positions = {m_cmbPosition[0]->currentIndex(), m_cmbPosition[1]->currentIndex(),
                         m_cmbPosition[2]->currentIndex() + 1};
    entries.fieldName = findChild<QComboBox*>(QStringLiteral("cmbField"))->currentText();
    entries.text = findChild<QLineEdit*>(QStringLiteral("txtText"))->text();
    entries.number = findChild<QLineEdit*>(QStringLiteral("txtNumber"))->text();
    entries.separator = m_ui->txtSeparator->text();

    for (const ConditionRowWidgets& row : m_conditions)
        row.store(s.condition);

    const auto storeOperands = [](const auto& widgets, auto& operands) {
        for (std::size_t i = 0; i < widgets.size(); ++i) {
            const OperandWidgets& operand = widgets[i];
            operands[i].constant = operand.txtCalc->text();
            operands[i].field = {operand.cmbField->currentText(), {}, {}};
            operands[i].source = operand.optCalcText->isChecked()    ? Operand::Constant
                                 : operand.optCalcField->isChecked() ? Operand::Field
                                                                     : NoChoice;
        }
    };
    storeOperands(m_tab2, s.addSubtract.operands);
    for (std::size_t j = 0; j < m_cmbOperatorTab2.size(); ++j)
        s.addSubtract.operators[j] = m_cmbOperatorTab2[j]->currentIndex();
    s.addSubtract.emptyWhenNoData = m_ui->chkZero->isChecked();
    s.addSubtract.invalid = m_ui->txtInvalidAdd->text();
    storeOperands(m_tab3, s.multiplyDivide.operands);
    s.multiplyDivide.op = m_cmbOperatorTab3->currentIndex();
    s.multiplyDivide.invalid = m_ui->txtInvalid->text();

    for (const std::unique_ptr<SchemePage>& page : m_pages)
        if (page)
            page->store(s);

    s.age.dateField = {m_ui->cmbFieldTab5->currentText(), {}, {}};
    s.age.format = checkedOption(m_optAge);
    s.age.invalid = m_ui->txtInvalidAge->text();
    s.age.blank = m_ui->txtBlankAge->text();

    for (const ComboMemberRowWidgets& row : m_combo)
        row.store(s.combo);
}

EditorState SettingsWindow::state()
{
    storeWidgets();
    return m_state;
}

void SettingsWindow::Update_Output()
{
    trapped(m_session.reporter(), routine("Update_Output"), [&] {
        storeWidgets();
        const AutoNumberOutput output = m_state.output();
        m_ui->lblOutput->setText(output.preview);
    });
}

void SettingsWindow::cmbPosition_LostFocus(AutoNumberPart part)
{
    trapped(m_session.reporter(), routine("cmbPosition_LostFocus"), [&] {
        storeWidgets();
        const AutoNumberPositions moved =
            editor::cmbPosition_LostFocus(m_state.autoNumber.entries.positions, part);
        m_filling = true;
        selectPosition(*m_cmbPosition[0], moved.field);
        selectPosition(*m_cmbPosition[1], moved.text);
        selectPosition(*m_cmbPosition[2], moved.number - 1);
        m_filling = false;
        Update_Output();
    });
    m_filling = false;
}

void SettingsWindow::chkType_Click(int code)
{
    if (m_filling)
        return;
    trapped(m_session.reporter(), routine("chkType_LostFocus"), [&] {
        for (std::size_t other = 0; other < m_chkType.size(); ++other) {
            if (static_cast<int>(other) != code)
                m_chkType[other]->setChecked(false);
        }
    });
}

void SettingsWindow::SSTab1_Click(int page)
{
    if (m_filling)
        return;
    // A Combo button writes no target of its own: its target and overwrite controls are off.
    const bool targeted = page != static_cast<int>(EditorPage::Combo);
    if (!targeted)
        m_ui->cmbTarget->setCurrentIndex(-1);
    m_ui->Frame1->setEnabled(targeted);
    m_ui->Frame3->setEnabled(targeted);
    m_ui->cmbTarget->setEnabled(targeted);
    for (QRadioButton* option : m_optOver)
        option->setEnabled(targeted);
}

void SettingsWindow::txtButtonName_GotFocus()
{
    trapped(m_session.reporter(), routine("txtButtonName_GotFocus"), [&] {
        if (m_ui->txtButtonName->text() == m_session.messages().get(MessageId::New))
            // After the focus has settled: a click that gave the focus would clear the selection.
            QTimer::singleShot(0, m_ui->txtButtonName, &QLineEdit::selectAll);
    });
}

void SettingsWindow::txtButtonName_LostFocus()
{
    const QString caption = m_ui->txtButtonName->text();
    if (!caption.isEmpty() && caption != m_session.messages().get(MessageId::New)) {
        m_ui->cmdAutoNumber->setEnabled(true);
        m_ui->cmdSave->setEnabled(true);
    }
}

void SettingsWindow::txtButtonName_Edited(const QString& text)
{
    // Typing or pasting cannot make a caption longer than the limit; a longer caption a file holds
    // stays as it is until the user shortens it.
    if (text.size() > CaptionLimit && text.size() > m_lastCaption.size()) {
        QApplication::beep();
        const int cursor =
            std::min(m_ui->txtButtonName->cursorPosition(), static_cast<int>(m_lastCaption.size()));
        m_ui->txtButtonName->setText(m_lastCaption);
        m_ui->txtButtonName->setCursorPosition(cursor);
        return;
    }
    m_lastCaption = text;
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->txtButtonName) {
        if (event->type() == QEvent::FocusIn)
            txtButtonName_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            txtButtonName_LostFocus();
    } else if (watched->objectName() == u"txtNumber" && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        // Only characters are filtered: Tab, arrows and shortcuts keep their work.
        if (!typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0).unicode() == widgets::BackspaceKey) &&
            widgets::ValidateText(typed.at(0).unicode(), Digits, true, [] { QApplication::beep(); }) == 0)
            return true;
    } else if (event->type() == QEvent::FocusOut) {
        for (std::size_t row = 0; row < m_cmbPosition.size(); ++row) {
            if (watched == m_cmbPosition[row]) {
                const std::array parts{AutoNumberPart::Field, AutoNumberPart::Text, AutoNumberPart::Number};
                cmbPosition_LostFocus(parts[row]);
            }
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        // Opening an operand's field list chooses the field for that operand.
        const auto opened = [watched](auto& operands) {
            for (OperandWidgets& operand : operands) {
                if (watched == operand.cmbField)
                    operand.optCalcField->setChecked(true);
            }
        };
        opened(m_tab2);
        opened(m_tab3);
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsWindow::setCounterFile(const QString& path, bool takeNumber)
{
    m_state.autoNumber.counterFile = path;
    m_state.autoNumber.counterFileChosen = true;
    if (!takeNumber)
        return;
    findChild<QLineEdit*>(QStringLiteral("txtNumber"))
        ->setText(engine::CounterFile::startValue(path, m_session.locale()).value_or(QString()));
}

QString SettingsWindow::shownCounterFile() const
{
    return m_state.autoNumber.counterFile.isEmpty() ? defaultCounterFilePath(m_counterFolder, m_state.caption)
                                                    : m_state.autoNumber.counterFile;
}

FileRequest SettingsWindow::counterFileRequest(const QString& current) const
{
    // Both file dialogs open in the counter file's folder with its name filled in.
    const QFileInfo info(current);
    return {QString(), m_session.messages().get(OwnText::CounterFileFilter), info.absolutePath(),
            info.fileName()};
}

void SettingsWindow::cmdAutoNumber_Click()
{
    trapped(m_session.reporter(), routine("cmdAutoNumber_Click"), [&] {
        storeWidgets();
        const QString current = shownCounterFile();
        const std::optional<QString> chosen = m_session.platform().askOpenFile(counterFileRequest(current));
        if (chosen && !chosen->isEmpty() && *chosen != current)
            setCounterFile(*chosen, true);
    });
}

void SettingsWindow::cmdSave_Click()
{
    trapped(m_session.reporter(), routine("cmdSave_Click"), [&] {
        storeWidgets();
        const QString current = shownCounterFile();
        const std::optional<QString> chosen = m_session.platform().askSaveFile(counterFileRequest(current));
        // The file is written by the save, with the "Start at" number.
        if (chosen && !chosen->isEmpty())
            setCounterFile(*chosen, false);
    });
}

void SettingsWindow::Command1_Click()
{
    trapped(m_session.reporter(), routine("Command1_Click"), [&] {
        storeWidgets();
        AutoNumberPage page = m_state.autoNumber;
        if (!m_screens.fieldOptions(page))
            return;
        m_state.autoNumber.intTruncateA = page.intTruncateA;
        m_state.autoNumber.intTruncateDigitsA = page.intTruncateDigitsA;
        m_state.autoNumber.intCapsA = page.intCapsA;
    });
}

void SettingsWindow::cmdMoreCond_Click()
{
    trapped(m_session.reporter(), routine("cmdMoreCond_Click"), [&] {
        storeWidgets();
        m_screens.moreConditions(m_state, QString());
    });
}

void SettingsWindow::cmdMoreCombo_Click()
{
    trapped(m_session.reporter(), routine("cmdMoreCombo_Click"), [&] {
        storeWidgets();
        m_screens.moreMembers(m_state, QString());
    });
}

void SettingsWindow::showFailure(const SaveFailure& failure)
{
    m_session.showMessage(failure.message);
    if (failure.dialog == u"frmMoreCond") {
        m_screens.moreConditions(m_state, failure.control);
        return;
    }
    if (failure.dialog == u"frmMoreCombo") {
        m_screens.moreMembers(m_state, failure.control);
        return;
    }
    if (failure.page)
        m_ui->SSTab1->setCurrentIndex(static_cast<int>(*failure.page));
    QWidget* control = m_controls.value(failure.control);
    if (!control)
        return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<QLineEdit*>(control))
        box->selectAll();
}

SaveEnvironment SettingsWindow::saveEnvironment() const
{
    return {m_session.ini(), m_session.userSettings(), m_session.buttonFolder(), m_counterFolder,
            m_fields,        m_host.databasePath(),    m_host.lastButtonFile()};
}

bool SettingsWindow::runSave()
{
    storeWidgets();
    QStringList captions;
    for (const QString& file : m_host.buttonFiles())
        captions
            << ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), file).read(ButtonKey::Name);
    SaveAnswers answers;
    for (;;) {
        const SaveCheckContext context{m_session.messages(), m_session.locale(), captions,
                                       liveFieldType(m_host.fields(), m_state.target)};
        const SaveCheckResult result = checkSave(m_state, context, answers);
        if (const auto* ask = std::get_if<SaveAsk>(&result)) {
            if (m_session.showMessage(ask->message, MessageButtons::YesNo) != MessageAnswer::Yes)
                return false;
            if (ask->question == SaveQuestion::SchemeNotOnScreen)
                answers.proceedOffPage = true;
            else
                answers.acceptUrlTarget = true;
            continue;
        }
        if (const auto* failure = std::get_if<SaveFailure>(&result)) {
            showFailure(*failure);
            return false;
        }
        break;
    }
    const SaveOutcome outcome = saveEditorState(m_state, saveEnvironment());
    if (!outcome.written)
        throw Failure(ErrorNumber::PermissionDenied, m_session.buttonFilePath(outcome.fileName));
    m_saved = true;
    m_host.buttonSaved(outcome.fileName, m_state.newButton);
    accept();
    return true;
}

bool SettingsWindow::cmdOK_Click()
{
    bool saved = false;
    trapped(m_session.reporter(), routine("cmdOK_Click"), [&] { saved = runSave(); });
    return saved;
}

void SettingsWindow::cmdTrigger_Click()
{
    trapped(m_session.reporter(), routine("cmdTrigger_Click"), [&] {
        if (m_screens.triggerChoice() != TriggerChoice::LaunchKeelbrook)
            return;
        m_host.setLaunchKeelbrook();
        // The launch goes on when the save refuses the button: it is then not saved.
        if (!cmdOK_Click())
            reject();
        m_host.startShutdown();
    });
}

} // namespace valdora::editor

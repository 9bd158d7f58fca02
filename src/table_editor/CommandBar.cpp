#include "CommandBar.h"

#include "FormulaApplier.h"
#include "MagicCodeBox.h"
#include "core/StringTable.h"
#include "grid/CGridCtrl.h"
#include "model/Formula.h"
#include "model/MagicCodeTable.h"
#include "ui/MessageBoxes.h"
#include "ui/TableViewPart.h"
#include "ui/UserDialogs.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CommandBar::CommandBar(QWidget* parent) : QWidget(parent)
{
    m_close = MakeButton(IDC_CLOSE, QStringLiteral(":/icons/bar-close.svg"), tr("Close"));
    m_formulaText = new QLineEdit(this);
    m_formulaText->setObjectName(QString::number(IDC_FORMULA_TEXT));
    // Room for a formula such as "-12.5%" and more, however wide the list.
    m_formulaText->setMinimumWidth(m_formulaText->fontMetrics().averageCharWidth() * 18);
    m_formula = MakeButton(IDC_FORMULA, QStringLiteral(":/icons/bar-formula.svg"), tr("Formula"));
    auto* codesLabel = new QLabel(tr("Magic Codes:"), this);
    m_codes = new MagicCodeBox(this);
    codesLabel->setBuddy(m_codes);
    m_codes->setObjectName(QString::number(IDC_MAGIC_CODES));
    m_lookup = MakeButton(IDC_LOOKUP, QStringLiteral(":/icons/bar-lookup.svg"), tr("Lookup"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_close);
    layout->addWidget(m_formulaText, 1);
    layout->addWidget(m_formula);
    layout->addSpacing(8);
    layout->addWidget(codesLabel);
    layout->addWidget(m_codes);
    layout->addWidget(m_lookup);

    connect(m_close, &QPushButton::clicked, this, &CommandBar::OnClose);
    connect(m_formula, &QPushButton::clicked, this, &CommandBar::OnFormula);
    connect(m_formulaText, &QLineEdit::returnPressed, this, &CommandBar::OnFormula);
    connect(m_formulaText, &QLineEdit::textChanged, this, &CommandBar::UpdateCommandUi);
    connect(m_codes, &MagicCodeBox::CodeChosen, this, &CommandBar::OnCodeChosen);
    connect(m_lookup, &QPushButton::clicked, this, &CommandBar::OnLookup);
    UpdateCommandUi();
}

QPushButton* CommandBar::MakeButton(int id, const QString& iconPath, const QString& text)
{
    auto* button = new QPushButton(this);
    button->setObjectName(QString::number(id));
    button->setToolTip(text);
    // Until the bar's images are part of the resources the words stand in.
    if (QFile::exists(iconPath))
        button->setIcon(QIcon(iconPath));
    else
        button->setText(text);
    button->setAutoDefault(false);
    return button;
}

QWidget* CommandBar::Control(int id) const
{
    return findChild<QWidget*>(QString::number(id));
}

void CommandBar::SetTableView(TableViewPart* view)
{
    m_view = view;
    UpdateCommandUi();
}

bool CommandBar::HasCurrentTable() const
{
    return m_view && !m_view->GetCurrentFileName().isEmpty();
}

bool CommandBar::HasSelectedCells() const
{
    const CGridCtrl* grid = HasCurrentTable() ? m_view->GetCurrentGrid() : nullptr;
    return grid && grid->GetSelectedCount() > 0;
}

bool CommandBar::IsFocusOnDataCell() const
{
    if (!HasCurrentTable())
        return false;
    const GridCellId focus = m_view->GetFocusCell();
    return focus.row >= 1 && focus.col >= 1;
}

void CommandBar::UpdateCommandUi()
{
    m_close->setEnabled(HasCurrentTable());
    m_formulaText->setEnabled(HasSelectedCells());
    m_formula->setEnabled(m_formulaText->isEnabled() && !m_formulaText->text().isEmpty());
    m_codes->setEnabled(IsFocusOnDataCell());
    m_lookup->setEnabled(HasCurrentTable());
}

void CommandBar::OnClose()
{
    // Asked of the view directly: whichever pane is active, Close means the
    // current table (the view asks first when it holds unsaved changes).
    if (HasCurrentTable())
        m_view->CloseTable(m_view->GetCurrentFileName());
    UpdateCommandUi();
}

void CommandBar::OnFormula()
{
    // Enter in the field counts only when the button would: the enabling
    // is refreshed on a timer, so the state may have moved on since.
    if (!HasSelectedCells() || m_formulaText->text().isEmpty())
        return;
    const std::optional<Formula> formula = Formula::Parse(m_formulaText->text());
    if (!formula) {
        MessageBoxes::ShowMessageId(this, UserDialogs::TypeOk | UserDialogs::IconWarning, StringId::NotAFormula,
                                    {m_formulaText->text()});
        // Back in the field with the text chosen, ready to be typed over.
        m_formulaText->setFocus(Qt::OtherFocusReason);
        m_formulaText->selectAll();
        return;
    }
    FormulaApplier::Apply(*m_view, *formula);
    FocusCurrentGrid();
}

void CommandBar::OnCodeChosen(int row)
{
    if (!IsFocusOnDataCell())
        return;
    CGridCtrl* grid = m_view->GetCurrentGrid();
    const GridCellId focus = m_view->GetFocusCell();
    if (!grid || !grid->IsCellEditable(focus.row, focus.col))
        return;
    m_view->BeginUndoStep(QStringLiteral("Property Code"));
    grid->ModifyCellText(focus.row, focus.col, MagicCodeTable::Code(row));
    m_view->EndUndoStep();
    m_view->MarkCurrentTableModified();
}

void CommandBar::OnLookup()
{
    if (!HasCurrentTable())
        return;
    const CGridCtrl* grid = m_view->GetCurrentGrid();
    const GridCellId focus = m_view->GetFocusCell();
    const QString text = grid && grid->IsValid(focus) ? grid->GetCellText(focus.row, focus.col) : QString();
    if (!text.isEmpty())
        m_codes->ShowRow(MagicCodeTable::FindCode(text));
    FocusCurrentGrid();
}

void CommandBar::FocusCurrentGrid()
{
    if (CGridCtrl* grid = m_view->GetCurrentGrid())
        grid->setFocus(Qt::OtherFocusReason);
}

#include "NameEntryDialog.h"

#include "CellNameEdit.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The window's icon and its minimise, maximise and close buttons, each
// about a title bar's height wide, with the gaps desktops leave around the
// title: six heights in all.
constexpr int TitleBarControls = 6;

} // namespace

NameEntryDialog::NameEntryDialog(const QString& labelText, QWidget* parent)
    : QDialog(parent)
    , nameEdit(new CellNameEdit(this))
    , nameLabel(new QLabel(labelText, this))
    , fieldWidth(nameEdit->fontMetrics().averageCharWidth() * 36)
{
    nameEdit->setObjectName(QStringLiteral("edit%1").arg(NameEditId));
    nameEdit->setMinimumWidth(fieldWidth);
    nameLabel->setBuddy(nameEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(nameEdit, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString NameEntryDialog::Name() const
{
    return nameEdit->text();
}

int NameEntryDialog::TitleBarWidth(const QString& title) const
{
    QFont titleFont = font();
    titleFont.setBold(true);
    const int controlWidth = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return QFontMetrics(titleFont).horizontalAdvance(title) + TitleBarControls * controlWidth;
}

void NameEntryDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::FontChange)
        FitTitle();
}

void NameEntryDialog::FitTitle()
{
    // The field takes up what the title needs beyond the label and margins.
    const QMargins margins = layout() ? layout()->contentsMargins() : QMargins();
    const int spacing = style()->layoutSpacing(QSizePolicy::Label, QSizePolicy::LineEdit, Qt::Horizontal);
    const int besideField = margins.left() + margins.right() + nameLabel->sizeHint().width() + qMax(spacing, 6);
    nameEdit->setMinimumWidth(qMax(fieldWidth, TitleBarWidth(windowTitle()) - besideField));
}

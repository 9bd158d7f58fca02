#include "CNewProjectDlg.h"

#include "core/StringTable.h"
#include "model/ProjectCreation.h"
#include "ui/MessageBoxes.h"
#include "ui/UserDialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CNewProjectDlg::CNewProjectDlg(QWidget* parent)
    : QDialog(parent)
    , nameEdit(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Create New Project"));
    nameEdit->setObjectName(QString::number(NameEditId));
    auto* label = new QLabel(QStringLiteral("&Name:"), this);
    label->setBuddy(nameEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewProjectDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNewProjectDlg::reject);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(label);
    nameRow->addWidget(nameEdit, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QString CNewProjectDlg::Name() const
{
    return nameEdit->text();
}

void CNewProjectDlg::accept()
{
    const int refusal = ProjectCreation::IsMissingName(Name()) ? StringId::ProjectNameMissing
        : ProjectCreation::IsValidName(Name())                  ? 0
                                                                : StringId::BadProjectName;
    if (refusal != 0) {
        MessageBoxes::ShowMessageId(this, UserDialogs::TypeOk, refusal);
        nameEdit->setFocus(Qt::OtherFocusReason);
        nameEdit->selectAll();
        return;
    }
    QDialog::accept();
}

#include "CMODPropertySheet.h"

#include "CFontPropertyPage.h"
#include "CMODPropertyPage.h"
#include "core/StringTable.h"
#include "ui/UserDialogs.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

CMODPropertySheet::CMODPropertySheet(QWidget* parent)
    : QDialog(parent)
    , tabs(new QTabWidget(this))
    , buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
    , pathsPage(new CMODPropertyPage)
    , fontPage(new CFontPropertyPage)
{
    setWindowTitle(StringTable::Get(StringId::OptionsCaption));
    tabs->addTab(pathsPage, tr("Options"));
    tabs->addTab(fontPage, tr("Font"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    connect(tabs, &QTabWidget::currentChanged, this, &CMODPropertySheet::OnPageChanging);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMODPropertySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMODPropertySheet::reject);
}

void CMODPropertySheet::SetValues(const OptionsValues& values)
{
    pathsPage->SetData({values.modsPath, values.gameMpqPath, values.useCompression, values.openMostRecent,
                        values.remasterDataPath, values.remasterFolder, values.remasterFolderFound,
                        values.projectOpen, values.target});
    fontPage->SetData({values.gridFontName, values.gridFontSize, values.gridFontBold, values.gridFontItalic});
}

OptionsValues CMODPropertySheet::Values() const
{
    const CMODPropertyPage::Data& paths = pathsPage->GetData();
    const CFontPropertyPage::Data& font = fontPage->GetData();
    return {paths.modsPath,         paths.gameMpqPath,    paths.useCompression,      paths.openMostRecent,
            font.faceName,          font.size,            font.bold,                 font.italic,
            paths.remasterDataPath, paths.remasterFolder, paths.remasterFolderFound, paths.projectOpen,
            paths.target};
}

void CMODPropertySheet::accept()
{
    // The font page is checked first: its check changes nothing on disk,
    // while the paths page's check creates the MODs folder.
    QString problem = fontPage->Validate();
    QWidget* page = fontPage;
    if (problem.isEmpty()) {
        problem = pathsPage->Validate();
        page = pathsPage;
    }
    if (problem.isEmpty()) {
        QDialog::accept();
        return;
    }
    QWidget* focus = page->focusWidget();
    tabs->setCurrentWidget(page);
    UserDialogs::Current().Message(this, StringTable::Get(StringId::AppTitle), problem,
                                   UserDialogs::TypeOk | UserDialogs::IconWarning);
    if (focus)
        focus->setFocus();
}

void CMODPropertySheet::OnPageChanging(int index)
{
    // Leaving a page reads its controls into its data.
    if (activePage == 0)
        pathsPage->OnKillActive();
    else
        fontPage->OnKillActive();
    activePage = index;
}

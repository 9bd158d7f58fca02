#include "CMODPropertyPage.h"

#include "core/OptionsPathRules.h"
#include "ui/UserDialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* MakeBrowseButton(QWidget* parent, int id)
{
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QString::number(id));
    // As narrow as its three dots: the field beside it gets the width.
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) * 3);
    return button;
}

QLineEdit* MakePathEdit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 48);
    return edit;
}

} // namespace

CMODPropertyPage::CMODPropertyPage(QWidget* parent)
    : QWidget(parent)
    , modsPathEdit(MakePathEdit(this, IDC_MODS_PATH))
    , mpqPathEdit(MakePathEdit(this, IDC_MPQ_PATH))
    , browseModsButton(MakeBrowseButton(this, IDC_BROWSE_MODS))
    , browseMpqButton(MakeBrowseButton(this, IDC_BROWSE_MPQ))
    , useCompressionBox(new QCheckBox(tr("Use &compression when building MPQ"), this))
    , openMostRecentBox(new QCheckBox(tr("&Open most recent project when starting"), this))
{
    setObjectName(QString::number(IDD));
    useCompressionBox->setObjectName(QString::number(IDC_USE_COMPRESSION));
    openMostRecentBox->setObjectName(QString::number(IDC_OPEN_MOST_RECENT));

    auto* modsLabel = new QLabel(tr("&MODs Path:"), this);
    modsLabel->setBuddy(modsPathEdit);
    auto* mpqLabel = new QLabel(tr("&Diablo II MPQ:"), this);
    mpqLabel->setBuddy(mpqPathEdit);

    auto* paths = new QGridLayout;
    paths->addWidget(modsLabel, 0, 0, 1, 2);
    paths->addWidget(modsPathEdit, 1, 0);
    paths->addWidget(browseModsButton, 1, 1);
    paths->addWidget(mpqLabel, 2, 0, 1, 2);
    paths->addWidget(mpqPathEdit, 3, 0);
    paths->addWidget(browseMpqButton, 3, 1);

    auto* settingsGroup = new QGroupBox(tr("Settings"), this);
    auto* switches = new QVBoxLayout(settingsGroup);
    switches->addWidget(useCompressionBox);
    switches->addWidget(openMostRecentBox);

    auto* page = new QVBoxLayout(this);
    page->addLayout(paths);
    page->addSpacing(fontMetrics().height() / 2);
    page->addWidget(settingsGroup);
    page->addStretch();

    connect(browseModsButton, &QPushButton::clicked, this, &CMODPropertyPage::OnBrowseMods);
    connect(browseMpqButton, &QPushButton::clicked, this, &CMODPropertyPage::OnBrowseMpq);
}

void CMODPropertyPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!initialised)
        OnInitDialog();
}

void CMODPropertyPage::OnInitDialog()
{
    initialised = true;
    pageData.modsPath = OptionsPathRules::ShownModsPath(pageData.modsPath);
    DataToControls();
}

void CMODPropertyPage::OnKillActive()
{
    if (initialised)
        ControlsToData();
}

QString CMODPropertyPage::Validate()
{
    OnKillActive();
    // The archive is checked first: it changes nothing on disk, while the
    // MODs check creates the folder.
    QString problem = OptionsPathRules::MpqPathProblem(pageData.gameMpqPath);
    QLineEdit* atFault = mpqPathEdit;
    if (problem.isEmpty()) {
        problem = OptionsPathRules::PrepareModsFolder(pageData.modsPath);
        atFault = modsPathEdit;
    }
    if (!problem.isEmpty()) {
        atFault->setFocus();
        atFault->selectAll();
    }
    return problem;
}

void CMODPropertyPage::DataToControls()
{
    modsPathEdit->setText(QDir::toNativeSeparators(pageData.modsPath));
    mpqPathEdit->setText(QDir::toNativeSeparators(pageData.gameMpqPath));
    useCompressionBox->setChecked(pageData.useCompression);
    openMostRecentBox->setChecked(pageData.openMostRecent);
}

void CMODPropertyPage::ControlsToData()
{
    pageData.modsPath = QDir::fromNativeSeparators(modsPathEdit->text());
    pageData.gameMpqPath = QDir::fromNativeSeparators(mpqPathEdit->text());
    pageData.useCompression = useCompressionBox->isChecked();
    pageData.openMostRecent = openMostRecentBox->isChecked();
}

void CMODPropertyPage::OnBrowseMods()
{
    // What was typed so far is kept: the refresh after the browse must not
    // throw away the other field's typing.
    ControlsToData();
    const QString folder = UserDialogs::Current().ExistingFolder(
        this, tr("Select directory where MODs will be stored:"), pageData.modsPath);
    if (folder.isEmpty())
        return;
    pageData.modsPath = QDir::fromNativeSeparators(folder);
    DataToControls();
}

void CMODPropertyPage::OnBrowseMpq()
{
    ControlsToData();
    const QString file = UserDialogs::Current().OpenFileName(this, tr("Locate Diablo II patch_d2.mpq"),
                                                             pageData.gameMpqPath,
                                                             tr("Diablo II MPQ (*.mpq *.MPQ)"));
    if (file.isEmpty())
        return;
    pageData.gameMpqPath = QDir::fromNativeSeparators(file);
    DataToControls();
}

#include "CMODPropertyPage.h"

#include "core/OptionsPathRules.h"
#include "core/StringTable.h"
#include "model/ExtractedDataRule.h"
#include "ui/UserDialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

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
    , remasterDataEdit(MakePathEdit(this, IDC_REMASTER_DATA))
    , remasterFolderEdit(MakePathEdit(this, IDC_REMASTER_FOLDER))
    , remasterFoundLabel(new QLabel(this))
    , browseModsButton(MakeBrowseButton(this, IDC_BROWSE_MODS))
    , browseMpqButton(MakeBrowseButton(this, IDC_BROWSE_MPQ))
    , browseRemasterDataButton(MakeBrowseButton(this, IDC_BROWSE_REMASTER_DATA))
    , browseRemasterFolderButton(MakeBrowseButton(this, IDC_BROWSE_REMASTER_FOLDER))
    , targetGroup(new QGroupBox(StringTable::Get(StringId::TargetGroupTitle), this))
    , classicButton(new QRadioButton(StringTable::Get(StringId::ClassicTargetChoice), targetGroup))
    , remasterButton(new QRadioButton(StringTable::Get(StringId::RemasterTargetChoice), targetGroup))
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

    auto* remasterDataLabel = new QLabel(tr("&Extracted remaster data (the folder that holds data):"), this);
    remasterDataLabel->setBuddy(remasterDataEdit);
    auto* remasterFolderLabel = new QLabel(tr("Diablo II: &Resurrected folder:"), this);
    remasterFolderLabel->setBuddy(remasterFolderEdit);
    remasterFoundLabel->setObjectName(QString::number(IDC_REMASTER_FOUND));
    remasterFoundLabel->setForegroundRole(QPalette::PlaceholderText);
    remasterFoundLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    classicButton->setObjectName(QString::number(IDC_TARGET_CLASSIC));
    remasterButton->setObjectName(QString::number(IDC_TARGET_REMASTER));

    auto* paths = new QGridLayout;
    paths->addWidget(modsLabel, 0, 0, 1, 2);
    paths->addWidget(modsPathEdit, 1, 0);
    paths->addWidget(browseModsButton, 1, 1);
    paths->addWidget(mpqLabel, 2, 0, 1, 2);
    paths->addWidget(mpqPathEdit, 3, 0);
    paths->addWidget(browseMpqButton, 3, 1);
    paths->addWidget(remasterDataLabel, 4, 0, 1, 2);
    paths->addWidget(remasterDataEdit, 5, 0);
    paths->addWidget(browseRemasterDataButton, 5, 1);
    paths->addWidget(remasterFolderLabel, 6, 0, 1, 2);
    paths->addWidget(remasterFolderEdit, 7, 0);
    paths->addWidget(browseRemasterFolderButton, 7, 1);
    paths->addWidget(remasterFoundLabel, 8, 0, 1, 2);

    auto* targets = new QVBoxLayout(targetGroup);
    targets->addWidget(classicButton);
    targets->addWidget(remasterButton);

    auto* settingsGroup = new QGroupBox(tr("Settings"), this);
    auto* switches = new QVBoxLayout(settingsGroup);
    switches->addWidget(useCompressionBox);
    switches->addWidget(openMostRecentBox);

    auto* page = new QVBoxLayout(this);
    page->addLayout(paths);
    page->addSpacing(fontMetrics().height() / 2);
    page->addWidget(targetGroup);
    page->addWidget(settingsGroup);
    page->addStretch();

    connect(browseModsButton, &QPushButton::clicked, this, &CMODPropertyPage::OnBrowseMods);
    connect(browseMpqButton, &QPushButton::clicked, this, &CMODPropertyPage::OnBrowseMpq);
    connect(browseRemasterDataButton, &QPushButton::clicked, this, &CMODPropertyPage::OnBrowseRemasterData);
    connect(browseRemasterFolderButton, &QPushButton::clicked, this, &CMODPropertyPage::OnBrowseRemasterFolder);
}

void CMODPropertyPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!initialised)
        OnInitDialog();
}

void CMODPropertyPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ElideFoundLabel();
}

void CMODPropertyPage::ElideFoundLabel()
{
    // A long path is shortened in its middle to the width the page gives it;
    // the tooltip holds it whole.
    const int width = std::max(remasterFoundLabel->width(), remasterFolderEdit->minimumWidth());
    remasterFoundLabel->setText(
        remasterFoundLabel->fontMetrics().elidedText(remasterFoundLabel->toolTip(), Qt::ElideMiddle, width));
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
    if (problem.isEmpty())
        problem = RemasterProblem(atFault);
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

QString CMODPropertyPage::RemasterProblem(QLineEdit*& atFault) const
{
    // Both may stay empty: a modder of the classic game needs neither.
    const QString& data = pageData.remasterDataPath;
    if (!data.trimmed().isEmpty() && !ExtractedDataRule::IsExtractedData(data)) {
        atFault = remasterDataEdit;
        return StringTable::Get(StringId::RemasterDataNotGameData).arg(QDir::toNativeSeparators(data));
    }
    const QString& folder = pageData.remasterFolder;
    if (!folder.trimmed().isEmpty() && !QFileInfo(folder).isDir()) {
        atFault = remasterFolderEdit;
        return StringTable::Get(StringId::RemasterFolderMissing).arg(QDir::toNativeSeparators(folder));
    }
    return {};
}

void CMODPropertyPage::DataToControls()
{
    modsPathEdit->setText(QDir::toNativeSeparators(pageData.modsPath));
    mpqPathEdit->setText(QDir::toNativeSeparators(pageData.gameMpqPath));
    remasterDataEdit->setText(QDir::toNativeSeparators(pageData.remasterDataPath));
    remasterFolderEdit->setText(QDir::toNativeSeparators(OptionsPathRules::ShownModsPath(pageData.remasterFolder)));
    remasterFoundLabel->setToolTip(
        pageData.remasterFolderFound.isEmpty()
            ? tr("Not found on this computer: choose the folder it is installed in.")
            : tr("Found: %1").arg(OptionsPathRules::ShownModsPath(pageData.remasterFolderFound)));
    ElideFoundLabel();
    // Only a project with a file has a place to keep its target.
    targetGroup->setEnabled(pageData.projectOpen);
    targetGroup->setTitle(pageData.projectOpen ? StringTable::Get(StringId::TargetGroupTitle)
                                               : StringTable::Get(StringId::TargetGroupTitle) + tr(" (no MOD is open)"));
    (pageData.target == BuildTarget::RemasterModFolder ? remasterButton : classicButton)->setChecked(true);
    useCompressionBox->setChecked(pageData.useCompression);
    openMostRecentBox->setChecked(pageData.openMostRecent);
}

void CMODPropertyPage::ControlsToData()
{
    pageData.modsPath = QDir::fromNativeSeparators(modsPathEdit->text());
    pageData.gameMpqPath = QDir::fromNativeSeparators(mpqPathEdit->text());
    pageData.remasterDataPath = QDir::fromNativeSeparators(remasterDataEdit->text());
    pageData.remasterFolder = QDir::fromNativeSeparators(remasterFolderEdit->text());
    pageData.target = remasterButton->isChecked() ? BuildTarget::RemasterModFolder : BuildTarget::ClassicPatchArchive;
    pageData.useCompression = useCompressionBox->isChecked();
    pageData.openMostRecent = openMostRecentBox->isChecked();
}

void CMODPropertyPage::BrowseFolder(const QString& caption, QString Data::*field)
{
    // What was typed so far is kept: the refresh after the browse must not
    // throw away the other fields' typing.
    ControlsToData();
    const QString folder = UserDialogs::Current().ExistingFolder(this, caption, pageData.*field);
    if (folder.isEmpty())
        return;
    pageData.*field = QDir::fromNativeSeparators(folder);
    DataToControls();
}

void CMODPropertyPage::OnBrowseMods()
{
    BrowseFolder(tr("Select directory where MODs will be stored:"), &Data::modsPath);
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

void CMODPropertyPage::OnBrowseRemasterData()
{
    BrowseFolder(tr("Select the folder of extracted remaster data (it holds the data folder):"),
                 &Data::remasterDataPath);
}

void CMODPropertyPage::OnBrowseRemasterFolder()
{
    BrowseFolder(tr("Select the folder Diablo II: Resurrected is installed in:"), &Data::remasterFolder);
}

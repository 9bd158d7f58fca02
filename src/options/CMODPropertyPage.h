#pragma once

#include "model/ProjectTarget.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The "Options" tab: where MODs are stored, which game archive files are
// added from, the remaster's extracted data and install folder, the open
// project's game, and the two switches.  The page keeps its own copy of its
// values; the controls and that copy meet only when the page is first
// shown, when it is left or the sheet closes with OK, and around a browse.
class CMODPropertyPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int IDD = 103;
    static constexpr int IDC_MODS_PATH = 1009;
    static constexpr int IDC_BROWSE_MODS = 1010;
    static constexpr int IDC_MPQ_PATH = 1013;
    static constexpr int IDC_BROWSE_MPQ = 1014;
    static constexpr int IDC_USE_COMPRESSION = 1042;
    static constexpr int IDC_OPEN_MOST_RECENT = 1043;
    static constexpr int IDC_REMASTER_DATA = 1050;
    static constexpr int IDC_BROWSE_REMASTER_DATA = 1051;
    static constexpr int IDC_REMASTER_FOLDER = 1052;
    static constexpr int IDC_BROWSE_REMASTER_FOLDER = 1053;
    static constexpr int IDC_REMASTER_FOUND = 1054;
    static constexpr int IDC_TARGET_CLASSIC = 1055;
    static constexpr int IDC_TARGET_REMASTER = 1056;

    struct Data
    {
        QString modsPath;
        QString gameMpqPath;
        bool useCompression = true;
        bool openMostRecent = true;
        QString remasterDataPath;
        QString remasterFolder;
        QString remasterFolderFound;
        bool projectOpen = false;
        BuildTarget target = BuildTarget::ClassicPatchArchive;
    };

    explicit CMODPropertyPage(QWidget* parent = nullptr);

    void SetData(const Data& data) { pageData = data; }
    // The page's values; a page never shown answers what it was given.
    const Data& GetData() const { return pageData; }

    // Controls to the page's data, when the page is left or OK is pressed.
    void OnKillActive();
    // The message that refuses OK, with the focus on the field at fault;
    // empty when the paths can be used (the MODs folder then exists).
    QString Validate();

    QLineEdit* ModsPathEdit() const { return modsPathEdit; }
    QLineEdit* MpqPathEdit() const { return mpqPathEdit; }
    QLineEdit* RemasterDataEdit() const { return remasterDataEdit; }
    QLineEdit* RemasterFolderEdit() const { return remasterFolderEdit; }
    QLabel* RemasterFoundLabel() const { return remasterFoundLabel; }
    QPushButton* BrowseModsButton() const { return browseModsButton; }
    QPushButton* BrowseMpqButton() const { return browseMpqButton; }
    QPushButton* BrowseRemasterDataButton() const { return browseRemasterDataButton; }
    QPushButton* BrowseRemasterFolderButton() const { return browseRemasterFolderButton; }
    QGroupBox* TargetGroup() const { return targetGroup; }
    QRadioButton* ClassicButton() const { return classicButton; }
    QRadioButton* RemasterButton() const { return remasterButton; }
    QCheckBox* UseCompressionBox() const { return useCompressionBox; }
    QCheckBox* OpenMostRecentBox() const { return openMostRecentBox; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnInitDialog();
    void DataToControls();
    void ControlsToData();
    // A folder chooser for one of the page's folder fields.
    void BrowseFolder(const QString& caption, QString Data::*field);
    void OnBrowseMods();
    void OnBrowseMpq();
    void OnBrowseRemasterData();
    void OnBrowseRemasterFolder();
    // The check of the remaster's two fields; empty when they can be used.
    QString RemasterProblem(QLineEdit*& atFault) const;
    void ElideFoundLabel();

    Data pageData;
    bool initialised = false;
    QLineEdit* modsPathEdit;
    QLineEdit* mpqPathEdit;
    QLineEdit* remasterDataEdit;
    QLineEdit* remasterFolderEdit;
    QLabel* remasterFoundLabel;
    QPushButton* browseModsButton;
    QPushButton* browseMpqButton;
    QPushButton* browseRemasterDataButton;
    QPushButton* browseRemasterFolderButton;
    QGroupBox* targetGroup;
    QRadioButton* classicButton;
    QRadioButton* remasterButton;
    QCheckBox* useCompressionBox;
    QCheckBox* openMostRecentBox;
};

#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The "Options" tab: where MODs are stored, which game archive files are
// added from, and the two switches.  The page keeps its own copy of the
// four values; the controls and that copy meet only when the page is first
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

    struct Data
    {
        QString modsPath;
        QString gameMpqPath;
        bool useCompression = true;
        bool openMostRecent = true;
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
    QPushButton* BrowseModsButton() const { return browseModsButton; }
    QPushButton* BrowseMpqButton() const { return browseMpqButton; }
    QCheckBox* UseCompressionBox() const { return useCompressionBox; }
    QCheckBox* OpenMostRecentBox() const { return openMostRecentBox; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    void DataToControls();
    void ControlsToData();
    void OnBrowseMods();
    void OnBrowseMpq();

    Data pageData;
    bool initialised = false;
    QLineEdit* modsPathEdit;
    QLineEdit* mpqPathEdit;
    QPushButton* browseModsButton;
    QPushButton* browseMpqButton;
    QCheckBox* useCompressionBox;
    QCheckBox* openMostRecentBox;
};

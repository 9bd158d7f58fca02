#pragma once

#include "model/ProjectTarget.h"

#include <QString>

class QWidget;

// The values the options sheet edits: the eight of the classic game's
// paths, switches and grid font, then the remaster's two folders and the
// open project's target.
struct OptionsValues
{
    QString modsPath;
    QString gameMpqPath;
    bool useCompression = true;
    bool openMostRecent = true;
    QString gridFontName;
    int gridFontSize = 9;
    bool gridFontBold = false;
    bool gridFontItalic = false;
    QString remasterDataPath = {};
    // The remaster's folder as the person chose it, else as it was found.
    QString remasterFolder = {};
    // What was found at start-up, shown beside it; never edited.
    QString remasterFolderFound = {};
    // The target belongs to the open project; without a project file there
    // is none to choose.
    bool projectOpen = false;
    BuildTarget target = BuildTarget::ClassicPatchArchive;
};

// Where EditOptions shows the options sheet: it hands over the current
// values and, only when the sheet closes with OK, gets the edited ones back.
// The program shows CMODPropertySheet; tests may install their own answers.
class OptionsSheetSeam
{
public:
    virtual ~OptionsSheetSeam() = default;
    // True (and values edited) when the sheet was closed with OK.
    virtual bool Edit(QWidget* owner, OptionsValues& values) = 0;

    static OptionsSheetSeam& Current();
    // nullptr brings back the program's own sheet.
    static void SetCurrent(OptionsSheetSeam* seam);
};

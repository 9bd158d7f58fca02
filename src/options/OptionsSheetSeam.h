#pragma once

#include <QString>

class QWidget;

// The eight values the options sheet edits.
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

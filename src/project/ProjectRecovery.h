#pragma once

#include "model/RecoveryRecord.h"

#include <QString>
#include <QStringList>

class CCarvestoneDoc;
class TableViewPart;

// Brings the unsaved work of a recovery record back into the open project
// and its table view: the project with its unsaved entry list, the tables
// that were open, those with unsaved changes marked modified.  A table
// whose file another program changed since keeps both versions: the file
// opens as it is, the unsaved version beside it as a copy under a name of
// its own, written only when the person saves it.
class ProjectRecovery
{
public:
    enum class Outcome {
        Failed, // the project could not come back (reported); nothing changed
        Partly, // the project came back, but not every unsaved table did
        Whole,
    };
    static Outcome Restore(CCarvestoneDoc& document, TableViewPart& tables, const RecoveryRecord& record);
};

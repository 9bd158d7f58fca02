#pragma once

#include <QString>

#include <functional>

// Puts a whole folder in the place of another, so that the place never
// holds half of either.  The new folder is made complete beside its place
// (a temporary folder in the same parent, so moving it in is a rename);
// the folder already there is first renamed to a backup, the new one
// renamed into the place, and only then is the backup removed.  A failure
// at any step leaves the old folder in its place, whole.  A program stopped
// between the renames leaves the backup, which the next replacement of the
// same place puts back (when the place is empty) or removes (when the new
// folder made it into the place).
class SafeFolderReplace
{
public:
    // The backup's path: a hidden folder beside target named after it.
    static QString BackupPath(const QString& target);
    // Puts back or removes what an interrupted replacement of target left.
    static void RecoverInterrupted(const QString& target);
    // Renames finished into target's place as above; on failure error
    // names the folder and the cause, and finished is left for its owner.
    static bool PutInPlace(const QString& finished, const QString& target, QString* error);

    // Copies every file under source into the existing folder copy, each
    // through the checked safe-write path, making folders as it goes.
    // Errors name files as they will be called in shownFolder, the place
    // the copy is meant for, rather than by the temporary copy's path.
    // Links are refused: a folder Carvestone made holds none.  onFile (when
    // given) hears after each file how many of how many are copied, so that
    // a window can show the copy going on.
    using Progress = std::function<void(int copied, int total)>;
    static bool CopyTree(const QString& source, const QString& copy, const QString& shownFolder, QString* error,
                         const Progress& onFile = {});
    // The temporary folders are named by a prefix and six characters
    // (QTemporaryDir's XXXXXX); this removes those of parent that a stopped
    // program left behind.
    static void RemoveLeftovers(const QString& parent, const QString& prefix);
};

#pragma once

#include <QString>

// What Build makes of a project: the classic game's patch archive (every
// project made before Carvestone knew the remaster), or a mod folder that
// Diablo II: Resurrected loads when started with -mod NAME -txt.
enum class BuildTarget { ClassicPatchArchive, RemasterModFolder };

// Where a project's target is kept: a small text file beside the project
// file, named after it with ".target" in place of ".mod".  The project file
// keeps its format, because an older Carvestone rewrites it on every save
// and drops every line it does not know (comments included): a target
// written there would be lost the first time that program saved the
// project.  A file beside it is left alone by the older program, and a
// project without one is a classic project, as it always was.
class ProjectTarget
{
public:
    // projectPath with ".target" in place of its extension (or added when
    // the file name has none).
    static QString SideFilePath(const QString& projectPath);

    // The target the side file records; ClassicPatchArchive when there is
    // none.  A side file that cannot be read or says something else gives
    // ClassicPatchArchive with problem (when given) naming the file and why.
    static BuildTarget Read(const QString& projectPath, QString* problem = nullptr);
    // Records the target beside the project file: a remaster project gets
    // its side file (through the safe-write path); a classic one loses it,
    // so that its folder looks as it always did.  False, with error naming
    // the file and the cause, when that could not be done.
    static bool Write(const QString& projectPath, BuildTarget target, QString* error = nullptr);

    // The word the side file holds and carvestone-cli takes: "classic" or
    // "remaster".
    static QString Word(BuildTarget target);
    // The target of a word (without regard to case); false for any other word.
    static bool FromWord(const QString& word, BuildTarget& target);
};

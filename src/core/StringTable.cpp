#include "StringTable.h"

#include <QHash>

namespace {

const QHash<int, QString>& Table()
{
    static const QHash<int, QString> table = {
        {StringId::OptionsCaption, QStringLiteral("Carvestone Options")},
        {StringId::DocumentString,
         QStringLiteral("Carvestone\n\nNewMOD\nCarvestone Files (*.mod)\n.mod\nCarvestone.Document\nCarvestone Document")},
        {StringId::StyleRegular, QStringLiteral("Regular")},
        {StringId::StyleBold, QStringLiteral("Bold")},
        {StringId::StyleItalic, QStringLiteral("Italic")},
        {StringId::StyleBoldItalic, QStringLiteral("Bold Italic")},
        {StringId::KeepRemovedFile,
         QStringLiteral("Do you wish to keep this file so it can be added again later?\n"
                        "(Select \"No\" to delete the file as well as the MOD entry)")},
        {StringId::ConfirmInstall,
         QStringLiteral("Are you sure you wish to install this MOD?\n\n"
                        "This will overwrite the patch_d2.mpq file in your Diablo II directory.\n"
                        "Any existing patch_d2.mpq will be renamed to patch_d2.bak if not done so already.")},
        {StringId::SaveTableChanges, QStringLiteral("Do you wish to save changes to %s?")},
        {StringId::OverwriteModFile,
         QStringLiteral("The file %s already exists in the MOD directory.\nDo you wish to overwrite it?")},
        {StringId::ProjectExists,
         QStringLiteral("A project with the name \"%s\" already exists. Please choose another name.")},
        {StringId::CreateFolderFailed, QStringLiteral("Failed to create the directory \"%s\"")},
        {StringId::BadProjectName, QStringLiteral("Project name may not contain (. \\ ? * / \" ')")},
        {StringId::RowColumnPane, QStringLiteral("Row %d, Column %d")},
        {StringId::AppTitle, QStringLiteral("Carvestone")},
        {StringId::Ready, QStringLiteral("Ready")},
        {StringId::OpenCaption, QStringLiteral("Open")},
        {StringId::SaveAsCaption, QStringLiteral("Save As")},
        {StringId::Untitled, QStringLiteral("Untitled")},
        {StringId::SaveChanges, QStringLiteral("Save changes to %1?")},
        {StringId::BadFormat, QStringLiteral("%1 has a bad format.")},

        {StringId::CopyMpqForSafeKeeping,
         QStringLiteral("Copy the MPQ file to Carvestone's base path for safe keeping?\n(recommended)")},
        {StringId::CopyMpqFailed,
         QStringLiteral("The MPQ file could not be copied to %s.\n%s\nCarvestone keeps using %s.")},
        {StringId::UnsafeEntries,
         QStringLiteral("%s lists files whose names cannot be stored in the project folder:\n%s\n"
                        "They stay in the project, but Carvestone does not read, write or delete a file for them.")},
        {StringId::SettingsNotSaved, QStringLiteral("The settings could not be saved to %s.")},
        {StringId::RecentFilePlaceholder, QStringLiteral("Recent File")},
        {StringId::FailedToSaveDocument, QStringLiteral("Failed to save document.")},
        {StringId::ProjectNameMissing, QStringLiteral("Please enter a name for the new project.")},
        {StringId::ModsPathEmpty, QStringLiteral("Please enter the folder where MODs will be stored.")},
        {StringId::ModsPathNotFull,
         QStringLiteral("The MODs path \"%1\" is not a full path.\nPlease enter the whole path of the folder, "
                        "starting at the top of the disk.")},
        {StringId::ModsFolderUnusable, QStringLiteral("MODs cannot be stored in \"%1\".\n%2")},
        {StringId::MpqPathEmpty, QStringLiteral("Please choose the Diablo II MPQ that files are added from "
                                                "(the game's patch_d2.mpq).")},
        {StringId::MpqPathNoFile, QStringLiteral("The Diablo II MPQ \"%1\" does not exist.\n"
                                                 "Please choose the game's patch_d2.mpq.")},
        {StringId::FontSizeOutOfRange, QStringLiteral("Please enter a font size from 1 to 144.")},
        {StringId::ReplaceSafeKeepingCopy,
         QStringLiteral("An older copy of the MPQ file is kept at %s.\nReplace it with %s?")},

        {StringId::ConfirmRemasterInstall,
         QStringLiteral("Are you sure you wish to install this MOD?\n\n"
                        "This will copy it into the mods folder of Diablo II: Resurrected as %s.\n"
                        "A mod folder of that name already there is replaced: it is kept until the new one is "
                        "complete.")},
        {StringId::RemasterInstalled,
         QStringLiteral("%s is installed in %s.\n\nStart Diablo II: Resurrected with these launcher arguments "
                        "(in Battle.net: Game Settings, Additional command line arguments):")},
        {StringId::RemasterDataNotGameData,
         QStringLiteral("\"%1\" is not a folder of extracted remaster data.\n"
                        "Please choose the folder that holds the data folder your extraction tool made.")},
        {StringId::RemasterFolderMissing,
         QStringLiteral("The Diablo II: Resurrected folder \"%1\" does not exist.\n"
                        "Please choose the folder the game is installed in, or leave the field empty.")},
        {StringId::TargetUnreadable,
         QStringLiteral("%s\nCarvestone builds this MOD for the classic game until you choose its game in "
                        "Tools > Options.")},
        {StringId::TargetGroupTitle, QStringLiteral("Build this MOD for")},
        {StringId::ClassicTargetChoice, QStringLiteral("Diablo II: a classic &patch archive (patch_d2.mpq)")},
        {StringId::RemasterTargetChoice,
         QStringLiteral("Diablo II: Resurrected: a remaster mod &folder (mods/<name>)")},

        {StringId::RemovedFileKeptForOtherEntry,
         QStringLiteral("%s was not deleted, because another entry of this MOD still uses it.\n"
                        "Only the entry was removed.")},
        {StringId::RemovedFileNotDeleted, QStringLiteral("%s\nThe file and its entry stay in this MOD.")},

        {StringId::DeleteRowQuestion, QStringLiteral("Are you sure you wish to delete row %d from this file?")},
        {StringId::EmptyTableViewHint,
         QStringLiteral("No table is open.\n\n"
                        "To add the game's files to this MOD, select the project in the tree and press Ins.\n"
                        "To edit a table, select it in the tree and press Enter.")},
        {StringId::TableDataDropped,
         QStringLiteral("%s holds data that a table cannot keep: %s.\n"
                        "Saving this table writes it without that data.")},
        {StringId::RenameColumnTitle, QStringLiteral("Enter New Name For Column %d")},
        {StringId::RenameRowTitle, QStringLiteral("Enter New Name For Row %d")},
        {StringId::LoadingFile, QStringLiteral("Loading file...")},
        {StringId::SavingFile, QStringLiteral("Saving file...")},
        {StringId::NotAFormula,
         QStringLiteral("\"%s\" is not a formula, so no cell was changed.\n\n"
                        "A formula is a number, optionally followed by %% or #:\n"
                        "10 adds 10, -5 subtracts 5,\n"
                        "15%% changes each value by 15 percent,\n"
                        "250# sets each value to 250.")},

        {StringId::RecoverQuestion, QStringLiteral("Carvestone was closed without saving changes to %s. Recover them?")},
        {StringId::RecoveredAsCopies,
         QStringLiteral("These tables were changed on disk after Carvestone last read or saved them:\n%s\n"
                        "Each opens as it is now, with your unsaved version beside it as a copy. "
                        "Compare them and save what you want to keep: a copy is written only when you save it.")},
        {StringId::RecordSetAside,
         QStringLiteral("The recovery record %s could not be read: %s.\nIt was set aside as %s.")},
        {StringId::RecordNotSetAside,
         QStringLiteral("The recovery record %s could not be read: %s.\nIt could not be set aside either, "
                        "so Carvestone will report it again at the next start.")},
        {StringId::RecordNotWritten,
         QStringLiteral("Carvestone cannot keep a recovery record of your unsaved changes:\n%s\n"
                        "Save your work to keep it safe.")},
        {StringId::RecordNotRemoved,
         QStringLiteral("The recovery record could not be removed:\n%s\nIt will be offered again at the next start.")},

        // Commands: status-bar prompt, line feed, tooltip.
        {32771, QStringLiteral("Add files to this MOD\nAdd")},
        {32772, QStringLiteral("Remove a file from this MOD\nRemove")},
        {32773, QStringLiteral("Configure the Carvestone options\nOptions")},
        {32774, QStringLiteral("Build the MPQ for this MOD\nBuild")},
        {32776, QStringLiteral("Open the selected file for editing\nOpen File")},
        {32778, QStringLiteral("Add a new row to the open table\nAdd Row")},
        {32779, QStringLiteral("Remove the selected row from the open table\nRemove Row")},
        {32781, QStringLiteral("Copy the MPQ file for this MOD into the Diablo II directory\nInstall")},
        {32782, QStringLiteral("Close the active open table\nClose")},
        {32785, QStringLiteral("Rename the current row header\nRename Row")},
        {32786, QStringLiteral("Rename the current column header\nRename Column")},
        {32787, QStringLiteral("Open your browser to the Saltmarsh web site.\nSaltmarsh")},
        {32788, QStringLiteral("Show or hide what the open table changes against the game\nShow Changes")},
        {32789, QStringLiteral("Go to the next change of the open table\nNext Change")},
        {32790, QStringLiteral("Go to the previous change of the open table\nPrevious Change")},
        {32791, QStringLiteral("Put the game's values back into the selected changed cells\nRevert to Game Value")},
        {32792, QStringLiteral("Show or hide the list of every change of this MOD\nChanges List")},
        {32793, QStringLiteral("Carry this MOD's changes over to new game data\nRebase")},
        {32796, QStringLiteral("Open Carvestone's guide, the README\nHelp")},
        {57600, QStringLiteral("Create a new document\nNew")},
        {57601, QStringLiteral("Open an existing document\nOpen")},
        {57603, QStringLiteral("Save the active document\nSave")},
        {57616, QStringLiteral("Open this document")},
        {57617, QStringLiteral("Open this document")},
        {57618, QStringLiteral("Open this document")},
        {57619, QStringLiteral("Open this document")},
        {57634, QStringLiteral("Copy the selection and put it on the Clipboard\nCopy")},
        {57635, QStringLiteral("Cut the selection and put it on the Clipboard\nCut")},
        {57636, QStringLiteral("Find the specified text\nFind")},
        {57637, QStringLiteral("Insert Clipboard contents\nPaste")},
        {57643, QStringLiteral("Undo the last action\nUndo")},
        {57644, QStringLiteral("Redo the previously undone action\nRedo")},
        {57664, QStringLiteral("Display program information, version number and copyright\nAbout")},
        {57665, QStringLiteral("Quit the application; prompts to save documents\nExit")},
        {57680, QStringLiteral("Switch to the next window pane\nNext Pane")},
        {57681, QStringLiteral("Switch back to the previous window pane\nPrevious Pane")},
        {59392, QStringLiteral("Show or hide the toolbar\nToggle ToolBar")},
        {59393, QStringLiteral("Show or hide the status bar\nToggle StatusBar")},
    };
    return table;
}

} // namespace

QString StringTable::Get(int id)
{
    return Table().value(id);
}

bool StringTable::Contains(int id)
{
    return Table().contains(id);
}

QString StringTable::Prompt(int id)
{
    return Get(id).section(QLatin1Char('\n'), 0, 0);
}

QString StringTable::Tooltip(int id)
{
    return Get(id).section(QLatin1Char('\n'), 1, 1);
}

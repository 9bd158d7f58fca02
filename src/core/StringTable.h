#pragma once

#include <QString>

// The program's user-visible texts, addressed by the fixed numeric ids that
// message boxes, menus and the status bar use.  A command's string holds its
// status-bar prompt and its tooltip separated by a line feed.
namespace StringId {
inline constexpr int OptionsCaption = 102;
inline constexpr int DocumentString = 128;
inline constexpr int StyleRegular = 131;
inline constexpr int StyleBold = 132;
inline constexpr int StyleItalic = 133;
inline constexpr int StyleBoldItalic = 134;
inline constexpr int KeepRemovedFile = 135;
inline constexpr int ConfirmInstall = 137;
inline constexpr int SaveTableChanges = 138;
inline constexpr int OverwriteModFile = 139;
inline constexpr int ProjectExists = 140;
inline constexpr int CreateFolderFailed = 141;
inline constexpr int BadProjectName = 142;
inline constexpr int RowColumnPane = 32775;
inline constexpr int AppTitle = 57344;
inline constexpr int Ready = 57345;
inline constexpr int OpenCaption = 61440;
inline constexpr int SaveAsCaption = 61441;
inline constexpr int Untitled = 61443;
inline constexpr int SaveChanges = 61699;
inline constexpr int BadFormat = 61877;

// The program's own texts, beyond the ids above.
inline constexpr int CopyMpqForSafeKeeping = 1001;
inline constexpr int CopyMpqFailed = 1002;
inline constexpr int UnsafeEntries = 1003;
inline constexpr int SettingsNotSaved = 1004;
inline constexpr int RecentFilePlaceholder = 1005;
inline constexpr int FailedToSaveDocument = 1006;
inline constexpr int ProjectNameMissing = 1007;
// The options sheet's refusals and the safe-keeping copy's question.
inline constexpr int ModsPathEmpty = 1301;
inline constexpr int ModsPathNotFull = 1302;
inline constexpr int ModsFolderUnusable = 1303;
inline constexpr int MpqPathEmpty = 1304;
inline constexpr int MpqPathNoFile = 1305;
inline constexpr int FontSizeOutOfRange = 1306;
inline constexpr int ReplaceSafeKeepingCopy = 1307;


// The project tree's reports.
inline constexpr int RemovedFileKeptForOtherEntry = 1101;
inline constexpr int RemovedFileNotDeleted = 1102;


// The table editor's texts.
inline constexpr int DeleteRowQuestion = 1201;
inline constexpr int TableDataDropped = 1202;
inline constexpr int RenameColumnTitle = 1203;
inline constexpr int RenameRowTitle = 1204;
inline constexpr int LoadingFile = 1205;
inline constexpr int SavingFile = 1206;
inline constexpr int NotAFormula = 1207;
inline constexpr int EmptyTableViewHint = 1208;

// Recovery of unsaved work after the program ended without saving it.
inline constexpr int RecoverQuestion = 1401;
inline constexpr int RecoveredAsCopies = 1402;
inline constexpr int RecordSetAside = 1403;
inline constexpr int RecordNotSetAside = 1404;
inline constexpr int RecordNotWritten = 1405;
inline constexpr int RecordNotRemoved = 1406;
} // namespace StringId

class StringTable
{
public:
    // The text of an id, or an empty text when the table has no such id.
    static QString Get(int id);
    static bool Contains(int id);
    // The two halves of a command's string: the status-bar prompt and the tooltip.
    static QString Prompt(int id);
    static QString Tooltip(int id);
};

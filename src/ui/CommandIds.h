#pragma once

// The command ids of menus, shortcuts, toolbar and command bar.
namespace CommandId {
inline constexpr int AddFiles = 32771;
inline constexpr int RemoveFile = 32772;
inline constexpr int Options = 32773;
inline constexpr int Build = 32774;
inline constexpr int OpenFile = 32776;
inline constexpr int AddRow = 32778;
inline constexpr int RemoveRow = 32779;
inline constexpr int Install = 32781;
inline constexpr int CloseFile = 32782;
inline constexpr int NextTable = 32783;
inline constexpr int PreviousTable = 32784;
inline constexpr int RenameRow = 32785;
inline constexpr int RenameColumn = 32786;
inline constexpr int Saltmarsh = 32787;
inline constexpr int ShowChanges = 32788;
inline constexpr int NextChange = 32789;
inline constexpr int PreviousChange = 32790;
inline constexpr int RevertToGameValue = 32791;
inline constexpr int ChangesList = 32792;
inline constexpr int RebaseMod = 32793;
inline constexpr int HelpReadme = 32796;
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int RecentFileFirst = 57616;
inline constexpr int RecentFileLast = 57619;
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditFind = 57636;
inline constexpr int EditPaste = 57637;
inline constexpr int EditUndo = 57643;
inline constexpr int EditRedo = 57644;
inline constexpr int About = 57664;
inline constexpr int Exit = 57665;
inline constexpr int NextPane = 57680;
inline constexpr int PreviousPane = 57681;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
} // namespace CommandId

#pragma once

#include <QString>

// Which of the ten small pictures stands for an archive name.  Shared by the
// project tree, the archive tree, the rename list and the table tabs.
namespace FileKind {
inline constexpr int Root = 0;
inline constexpr int Folder = 1;
inline constexpr int OpenFolder = 2;
inline constexpr int Other = 3;
inline constexpr int Picture = 4;     // .dc6, .dcc
inline constexpr int StringTable = 5; // .tbl
inline constexpr int Sound = 6;       // .wav
inline constexpr int Table = 7;       // .txt
inline constexpr int UniqueItems = 8; // uniqueitems.txt
inline constexpr int SetItems = 9;    // setitems.txt
inline constexpr int Count = 10;

// The extension is the text after the last "." anywhere in the name, the
// name part the text after the last backslash; both compared without case.
int IconIndex(const QString& archiveName);
} // namespace FileKind

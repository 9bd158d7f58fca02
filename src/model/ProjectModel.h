#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The MOD project as data: the ordered entry list, the project file's path,
// its folder and title, and the modified flag; reading and writing the
// project file.  Needs no windows, so carvestone-cli uses it as well.
class ProjectModel
{
public:
    static const QByteArray Header;        // "Carvestone Project File Version 1.0"
    static QByteArray NewProjectFileBytes(); // the header ended by CR LF: 37 bytes

    const QStringList& FileList() const { return fileList; }
    // Ends with '/'; empty for an untitled project.
    const QString& ProjectFolder() const { return projectFolder; }
    const QString& Path() const { return path; }
    // The file name with its extension; "Untitled" without a path.
    QString Title() const;
    bool IsModified() const { return modified; }
    void SetModifiedFlag(bool isModified) { modified = isModified; }

    // Inserts in ascending order; false when an equal entry is there or
    // the project file could not hold the entry.
    bool AddFile(const QString& entry);
    // Removes the first equal entry; false when there is none.
    bool RemoveFile(const QString& entry);

    // Takes entries as the entry list, in their order, leaving out those the
    // project file could not hold, and marks the project modified (a list
    // brought back from a recovery record).
    void ReplaceFileList(const QStringList& entries);

    // An empty untitled project.
    void Reset();

    // The file's content: header, then every entry, each ended by LF.
    QByteArray Serialize() const;

    // Reads the project file at filePath.  On success the model holds its
    // entries in file order, its path, its folder, and is not modified.  On
    // failure the model is unchanged and error names the file and cause.
    // A file of 0 bytes is an empty project; a file whose first line is not
    // the header is refused.
    bool Load(const QString& filePath, QString& error);

    // Writes the project file to filePath through a temporary file in the
    // same folder (the old file stays whole on failure), creating the
    // project folder first.  Does not change path or modified flag.
    bool Write(const QString& filePath, QString& error) const;

    // Sets the path (and title) of the project, and its folder.
    void SetPath(const QString& filePath, const QString& folder);

    // Entries whose name part cannot be a file in the project folder.
    QStringList EntriesWithoutDiskFile() const;

    // True when the entry, saved, reads back as itself: not empty, not
    // starting with the comment mark ';', no line break, single bytes only.
    static bool CanHoldEntry(const QString& entry);

    // Reads the bytes of a project file; false when the first line is not
    // the header.  entries receives the lines that are not comments.
    static bool Parse(const QByteArray& bytes, QStringList& entries);

    // Creates a new, empty project file (exactly NewProjectFileBytes()).
    static bool CreateNewFile(const QString& filePath, QString& error);

private:
    QStringList fileList;
    QString projectFolder;
    QString path;
    bool modified = false;
};

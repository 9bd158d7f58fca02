// The project file reader: whatever a project file holds, every entry it
// gives is one the file can hold again, a save reads back as the same
// list, and no entry turns into a path outside the project folder.
#include "FuzzCheck.h"
#include "model/ProjectEntry.h"
#include "model/ProjectModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList entries;
    if (!ProjectModel::Parse(bytes, entries))
        return 0;
    const QString folder = QStringLiteral("/mods/Fuzz/");
    for (const QString& entry : entries) {
        FUZZ_CHECK(ProjectModel::CanHoldEntry(entry));
        const QString path = ProjectEntry::DiskPath(folder, entry);
        FUZZ_CHECK(path.isEmpty() || (path.startsWith(folder) && !path.mid(folder.size()).contains(QLatin1Char('/'))
                                      && path != folder + QLatin1String("..")));
    }
    ProjectModel model;
    model.ReplaceFileList(entries);
    QStringList reread;
    FUZZ_CHECK(ProjectModel::Parse(model.Serialize(), reread));
    FUZZ_CHECK(reread == model.FileList());
    return 0;
}

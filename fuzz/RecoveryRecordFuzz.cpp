// The recovery record reader: any file in the recovery folder is read or
// refused without harm; a record read is written back as the same record,
// and its table names stay inside the project folder.
#include "FuzzCheck.h"
#include "model/ProjectEntry.h"
#include "model/RecoveryRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    RecoveryRecord record;
    QString cause;
    if (RecoveryRecord::Parse(bytes, record, cause) != RecoveryRecord::ParseResult::Read) {
        FUZZ_CHECK(!cause.isEmpty());
        FUZZ_CHECK(record == RecoveryRecord());
        return 0;
    }
    const QString folder = QStringLiteral("/mods/Fuzz/");
    for (const RecoveryRecord::Table& table : record.tables) {
        const QString path = ProjectEntry::DiskPath(folder, table.name);
        FUZZ_CHECK(path == folder + table.name);
        FUZZ_CHECK(!table.name.contains(QLatin1Char('/')) && table.name != QLatin1String(".."));
    }
    const QByteArray written = record.Serialize();
    RecoveryRecord reread;
    FUZZ_CHECK(RecoveryRecord::Parse(written, reread, cause) == RecoveryRecord::ParseResult::Read);
    FUZZ_CHECK(reread == record);
    FUZZ_CHECK(reread.Serialize() == written);
    return 0;
}

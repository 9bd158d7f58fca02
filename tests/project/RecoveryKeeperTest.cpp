#include "project/RecoveryKeeper.h"

#include "FakeTableView.h"
#include "TestFiles.h"
#include "project/CCarvestoneDoc.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// One open table whose content and revision the test moves, counting how
// often the keeper takes its bytes.
struct ChangingTable : FakeTableView
{
    QList<TableState> TableStates() const override { return {{QStringLiteral("Weapons.txt"), modified, revision, 29, 5}}; }
    QByteArray TableContent(const QString& name) const override
    {
        ++taken;
        return name == QLatin1String("Weapons.txt") ? content : QByteArray();
    }

    bool modified = true;
    quint64 revision = 1;
    QByteArray content = "name\tmindam\r\nThorn Sickle\t45\r\n";
    mutable int taken = 0;
};

RecoveryRecord Read(const QString& path)
{
    RecoveryRecord record;
    QString cause;
    EXPECT_EQ(RecoveryRecord::Parse(TestFiles::Read(path), record, cause), RecoveryRecord::ParseResult::Read);
    return record;
}

TEST(RecoveryKeeper, EditsThatNeverPauseAreRecordedWithinTheLongestWaitAndOnlyChangedTablesAreTakenAgain)
{
    QTemporaryDir folder;
    CCarvestoneDoc document;
    ChangingTable table;
    // A quiet moment a minute long never comes while changes follow each
    // other: the longest wait writes the record all the same.
    RecoveryKeeper keeper(document, table, folder.path(), 60000, 800);
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(keeper.RecordPath()) && clock.elapsed() < 10000) {
        ++table.revision;
        keeper.NoteChange();
        QTest::qWait(100);
    }
    ASSERT_TRUE(QFile::exists(keeper.RecordPath()));
    EXPECT_EQ(Read(keeper.RecordPath()).tables.first().content, table.content);

    // An unchanged table's bytes are reused; a changed one's are taken anew.
    const int takenBefore = table.taken;
    keeper.RecordNow();
    keeper.RecordNow();
    EXPECT_EQ(table.taken, takenBefore) << "nothing changed since the last record";
    table.content = "name\tmindam\r\nThorn Sickle\t46\r\n";
    ++table.revision;
    keeper.RecordNow();
    EXPECT_EQ(table.taken, takenBefore + 1);
    const RecoveryRecord record = Read(keeper.RecordPath());
    EXPECT_EQ(record.tables, QList<RecoveryRecord::Table>({{QStringLiteral("Weapons.txt"), true, table.content, 29, 5}}));
    EXPECT_FALSE(record.projectModified);

    // Saved: nothing is unsaved, the record goes without waiting.
    table.modified = false;
    keeper.NoteChange();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(keeper.RecordPath()); }, 300));
    document.AddFile(QStringLiteral("data\\global\\excel\\Weapons.txt"));
    keeper.RecordNow();
    EXPECT_EQ(Read(keeper.RecordPath()).entries, QStringList({QStringLiteral("data\\global\\excel\\Weapons.txt")}));
}

} // namespace

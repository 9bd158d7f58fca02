#include "model/RecoveryFolder.h"
#include "model/RecoveryRecord.h"
#include "model/RecoveryWriter.h"

#include "QStringPrinter.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>

#include <gtest/gtest.h>

namespace {

using Parsed = RecoveryRecord::ParseResult;

// Content that looks like the record's own fields, line ends of every kind
// and a NUL: stored by length, none of it may be read as structure.
const char TrickyContent[] = "name\tmindam\r\nend 0\n\ntable 3\nx\n\0\xff";

RecoveryRecord SampleRecord()
{
    RecoveryRecord record;
    record.processId = 4242;
    record.writtenAt = 1700000000123;
    record.projectPath = QStringLiteral("/home/m\u00f6dder/MODs/Sharp\nEdge/Sharp Edge.mod");
    record.projectModified = true;
    record.entries = {QStringLiteral("data\\global\\excel\\Weapons.txt"), QStringLiteral("data\\z \xff.txt"),
                      QStringLiteral("data\\a.txt")};
    record.tables = {{QStringLiteral("Weapons.txt"), true, QByteArray(TrickyContent, sizeof TrickyContent - 1), 1234,
                      1699999999000},
                     {QStringLiteral("Armor (recovered).txt"), true, QByteArray("", 0), -1, 0},
                     {QStringLiteral("Skills.txt"), false, {}, 88, 5}};
    return record;
}

RecoveryRecord::ParseResult Parse(QByteArrayView bytes, RecoveryRecord& record)
{
    QString cause;
    return RecoveryRecord::Parse(bytes, record, cause);
}

QString Cause(QByteArrayView bytes)
{
    RecoveryRecord record;
    QString cause;
    RecoveryRecord::Parse(bytes, record, cause);
    return cause;
}

TEST(RecoveryRecordTest, EveryFieldComesBackFromItsBytesWhateverTheTablesHoldAndAnEmptyTableStaysAContent)
{
    const RecoveryRecord written = SampleRecord();
    RecoveryRecord read;
    ASSERT_EQ(Parse(written.Serialize(), read), Parsed::Read);
    EXPECT_EQ(read, written);
    EXPECT_FALSE(read.tables[1].content.isNull());
    EXPECT_EQ(read.ModifiedTableNames(), QStringList({QStringLiteral("Weapons.txt"), QStringLiteral("Armor (recovered).txt")}));
    EXPECT_EQ(read.Serialize(), written.Serialize());

    // An unmodified project keeps no entry list; an untitled one no path.
    RecoveryRecord untitled;
    untitled.processId = 7;
    untitled.entries = {QStringLiteral("kept only when modified.txt")};
    ASSERT_EQ(Parse(untitled.Serialize(), read), Parsed::Read);
    EXPECT_TRUE(read.entries.isEmpty());
    EXPECT_TRUE(read.projectPath.isEmpty());
    EXPECT_FALSE(read.HoldsUnsavedWork());
}

TEST(RecoveryRecordTest, ACutOrGarbledRecordIsDamagedAndAnotherHeaderIsForeign)
{
    const QByteArray bytes = SampleRecord().Serialize();
    RecoveryRecord read;
    // Every cut, wherever it falls, is noticed: the record ends with its own mark.
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        const Parsed result = Parse(bytes.first(size), read);
        ASSERT_NE(result, Parsed::Read) << "cut at " << size;
        EXPECT_EQ(read, RecoveryRecord()) << "a damaged record hands nothing over";
    }
    EXPECT_EQ(Parse(bytes + "x", read), Parsed::Damaged) << "nothing may follow the end";
    EXPECT_EQ(Cause(bytes.first(bytes.size() - 3)), QStringLiteral("it is cut short or garbled"));

    QByteArray longer = bytes;
    longer.replace("content 32\n", "content 33\n");
    EXPECT_EQ(Parse(longer, read), Parsed::Damaged);
    for (const char* number : {"01", "-0", "+5", " 5", "5x", "", "9999999999999999999"}) {
        QByteArray changed = bytes;
        changed.replace("process 4\n4242\n", "process " + QByteArray::number(qstrlen(number)) + "\n" + number + "\n");
        EXPECT_EQ(Parse(changed, read), Parsed::Damaged) << number;
    }

    EXPECT_EQ(Cause("Carvestone Recovery Record Version 2\nprocess 1\n1\n"),
              QStringLiteral("it was written by another version of Carvestone"));
    EXPECT_EQ(Cause("Carvestone Project File Version 1.0\n"), QStringLiteral("it is not a Carvestone recovery record"));
    EXPECT_EQ(Parse("", read), Parsed::Foreign);
}

TEST(RecoveryRecordTest, FieldsOutOfPlaceAndNamesThatWouldLeaveTheProjectFolderAreDamage)
{
    const QByteArray head = RecoveryRecord::Header + "\nprocess 1\n9\n";
    const QByteArray end = "end 0\n\n";
    RecoveryRecord read;
    ASSERT_EQ(Parse(head + end, read), Parsed::Read);
    // Only the process comes first: a record of an untitled project may go on with its tables at once.
    ASSERT_EQ(Parse(head + "table 5\na.txt\n" + end, read), Parsed::Read);
    EXPECT_EQ(read.tables.value(0).name, QStringLiteral("a.txt"));
    for (const QByteArray& body :
         {QByteArray("table 5\n../up\n"), QByteArray("table 3\na/b\n"), QByteArray("table 3\na\\b\n"),
          QByteArray("table 2\n..\n"), QByteArray("table 0\n\n"), QByteArray("table 3\na\0b\n", 12),
          QByteArray("entry 5\na.txt\n"),                                  // an entry list of an unmodified project
          QByteArray("project-modified 1\n1\nentry 5\n;a.tx\n"),           // a comment is no entry
          QByteArray("modified 1\n1\n"),                                    // a table field before any table
          QByteArray("table 5\na.txt\nmodified 1\n1\n"),                    // modified without content
          QByteArray("table 5\na.txt\nmodified 1\n7\ncontent 1\nx\n"),      // a flag is 0 or 1
          QByteArray("table 5\na.txt\nmodified 1\n1\ncontent 1\nx\nmodified 1\n1\n"), // the flag comes first
          QByteArray("table 5\na.txt\ncontent 1\nx\n"),                     // content of an unmodified table
          QByteArray("table 5\na.txt\nsaved-size 2\n-2\n"), QByteArray("table 5\na.txt\nspare 0\n\n"),
          QByteArray("table 5\na.txt\nproject 2\n/x\n"), QByteArray("project 0\n\n"),
          QByteArray("project 2\n\xff\xfe\n"), QByteArray("project-modified 1\n2\n"),
          // the record's own fields come once each and in the writer's order
          QByteArray("project-modified 1\n1\nentry 5\na.txt\nproject-modified 1\n0\n"),
          QByteArray("project-modified 1\n0\nproject 2\n/x\n"), QByteArray("written 1\n5\nwritten 1\n6\n"),
          QByteArray("process 1\n9\n")})
        EXPECT_EQ(Parse(head + body + end, read), Parsed::Damaged) << body.toStdString();
    EXPECT_EQ(Parse(RecoveryRecord::Header + "\nwritten 1\n5\nprocess 1\n9\n" + end, read), Parsed::Damaged)
        << "the process comes first";
    EXPECT_EQ(Parse(RecoveryRecord::Header + "\nprocess 1\n0\n" + end, read), Parsed::Damaged);
}

class RecoveryFolderTest : public ::testing::Test
{
protected:
    QString Folder() const { return temp.filePath(QStringLiteral("recovery")); }
    QString Record(const QString& name) const { return Folder() + QLatin1Char('/') + name; }
    static RecoveryRecord RecordOf(qint64 writtenAt)
    {
        RecoveryRecord record = SampleRecord();
        record.writtenAt = writtenAt;
        return record;
    }

    // A lock as a program that has ended left it: Qt's own lock file, with
    // the process id of a child that has been killed.
    void LeaveLockOfEndedProgram(const QString& recordPath)
    {
        QProcess child;
        child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        ASSERT_TRUE(child.waitForStarted());
        const qint64 pid = child.processId();
        child.kill();
        child.waitForFinished();
        auto lock = RecoveryFolder::MakeLock(recordPath);
        ASSERT_TRUE(lock->tryLock(0));
        QFile file(RecoveryFolder::LockPath(recordPath));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray contents = file.readAll();
        file.close();
        lock->unlock();
        contents.replace(0, contents.indexOf('\n'), QByteArray::number(pid));
        TestFiles::Write(RecoveryFolder::LockPath(recordPath), contents);
    }

    QTemporaryDir temp;
    QList<RecoveryFolder::SetAside> setAside;
};

TEST_F(RecoveryFolderTest, OnlyRecordsOfProgramsThatAreGoneAreClaimedNewestFirstAndUnreadableOnesAreSetAside)
{
    std::atomic<int> failures{0};
    RecoveryWriter running(Folder(), [&](const QString& error) { failures += !error.isEmpty(); });
    running.Write(RecordOf(50));
    running.Flush();
    ASSERT_TRUE(QFile::exists(running.RecordPath()));

    TestFiles::Write(Record(QStringLiteral("1-1.recovery")), RecordOf(10).Serialize());
    TestFiles::Write(Record(QStringLiteral("2-1.recovery")), RecordOf(30).Serialize());
    LeaveLockOfEndedProgram(Record(QStringLiteral("2-1.recovery")));
    TestFiles::Write(Record(QStringLiteral("3-1.recovery")), RecordOf(20).Serialize().chopped(1));
    TestFiles::Write(Record(QStringLiteral("3-1.recovery.damaged")), "an earlier damaged one");
    TestFiles::Write(Record(QStringLiteral("notes.txt")), "not a record");
    // Far larger than any record: set aside unread (sparse, it takes no room).
    QFile huge(Record(QStringLiteral("4-1.recovery")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize((qint64(1) << 30) + 1));
    huge.close();

    {
        const auto claims = RecoveryFolder(Folder()).ClaimOrphans(setAside);
        ASSERT_EQ(claims.size(), 2u) << "the running writer's record is not offered";
        EXPECT_EQ(claims[0]->Path(), Record(QStringLiteral("2-1.recovery")));
        EXPECT_EQ(claims[1]->Record(), RecordOf(10));
        ASSERT_EQ(setAside.size(), 2);
        EXPECT_EQ(setAside[0].keptAs, Record(QStringLiteral("3-1.recovery.damaged-2")));
        EXPECT_EQ(setAside[0].cause, QStringLiteral("it is cut short or garbled"));
        EXPECT_EQ(TestFiles::Read(setAside[0].keptAs), RecordOf(20).Serialize().chopped(1));
        EXPECT_EQ(setAside[1].keptAs, Record(QStringLiteral("4-1.recovery.damaged")));
        EXPECT_EQ(setAside[1].cause, QStringLiteral("it is far larger than any recovery record"));

        EXPECT_TRUE(RecoveryFolder(Folder()).ClaimOrphans(setAside).empty()) << "a claimed record is held";
        QString error;
        ASSERT_TRUE(claims[1]->Discard(&error)) << error.toStdString();
        EXPECT_FALSE(QFile::exists(Record(QStringLiteral("1-1.recovery"))));
    }
    // A claim given up without a decision leaves its record for later.
    EXPECT_EQ(RecoveryFolder(Folder()).ClaimOrphans(setAside).size(), 1u);
    EXPECT_EQ(failures, 0);
}

TEST_F(RecoveryFolderTest, AWriterKeepsOnlyTheNewestWishNeverTakesAnEarlierProgramsNameAndSaysWhyItFailed)
{
    const QString taken = RecoveryFolder(Folder()).RecordPath(QCoreApplication::applicationPid(), RecoveryWriter::NextSerial() + 1);
    QDir().mkpath(Folder());
    TestFiles::Write(taken, "an earlier program's record with this process id");
    QStringList reports;
    {
        RecoveryWriter writer(Folder(), [&](const QString& error) { reports.append(error); });
        EXPECT_NE(writer.RecordPath(), taken);
        for (qint64 time = 1; time <= 200; ++time)
            writer.Write(RecordOf(time));
        writer.Flush();
        RecoveryRecord read;
        ASSERT_EQ(Parse(TestFiles::Read(writer.RecordPath()), read), Parsed::Read);
        EXPECT_EQ(read.writtenAt, 200);
        EXPECT_TRUE(QFile::exists(RecoveryFolder::LockPath(writer.RecordPath())));

        writer.Write(RecordOf(300));
        writer.Remove();
        writer.Flush();
        EXPECT_FALSE(QFile::exists(writer.RecordPath()));
    }
    EXPECT_EQ(reports.count(QString()), reports.size());
    EXPECT_EQ(TestFiles::Read(taken), "an earlier program's record with this process id");

    // The data folder is a file: nothing can be written, and the report says where.
    const QString blocked = temp.filePath(QStringLiteral("blocked"));
    TestFiles::Write(blocked, "");
    RecoveryWriter writer(blocked + QStringLiteral("/recovery"), [&](const QString& error) { reports.append(error); });
    writer.Write(RecordOf(1));
    writer.Flush();
    ASSERT_FALSE(reports.last().isEmpty());
    EXPECT_TRUE(reports.last().contains(QStringLiteral("blocked"))) << reports.last().toStdString();
}

} // namespace

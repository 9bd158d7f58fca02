#include "RecoveryRecord.h"

#include "FileStamp.h"
#include "ProjectEntry.h"
#include "ProjectModel.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

const QByteArray RecoveryRecord::Header = QByteArrayLiteral("Carvestone Recovery Record Version 1");

namespace {

const QByteArray HeaderStem = QByteArrayLiteral("Carvestone Recovery Record Version ");
// Nineteen digits may already overflow a 64-bit number; no length or time
// this record holds comes near eighteen.
constexpr qsizetype MaxDigits = 18;

class FieldWriter
{
public:
    explicit FieldWriter(qsizetype reserve) { out.reserve(reserve); }

    void Add(const char* key, QByteArrayView value)
    {
        out.append(key);
        out.append(' ');
        out.append(QByteArray::number(value.size()));
        out.append('\n');
        out.append(value);
        out.append('\n');
    }
    void Add(const char* key, qint64 value) { Add(key, QByteArray::number(value)); }
    QByteArray Take() { return std::move(out); }

private:
    QByteArray out;
};

// A whole number as the writer writes it: an optional '-', then digits
// without leading zeros.
std::optional<qint64> ReadNumber(QByteArrayView text)
{
    const bool negative = text.startsWith('-');
    const QByteArrayView digits = negative ? text.sliced(1) : text;
    if (digits.isEmpty() || digits.size() > MaxDigits || (digits.size() > 1 && digits.front() == '0'))
        return std::nullopt;
    qint64 value = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        value = value * 10 + (digit - '0');
    }
    if (negative && value == 0)
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<bool> ReadFlag(QByteArrayView text)
{
    if (text == "1")
        return true;
    if (text == "0")
        return false;
    return std::nullopt;
}

// Walks the fields after the header line.
class FieldReader
{
public:
    explicit FieldReader(QByteArrayView bytes) : bytes(bytes) {}

    // False at a field that is not "<key> <length>\n<bytes>\n".
    bool Next()
    {
        const qsizetype lineEnd = bytes.indexOf('\n', position);
        if (lineEnd < 0)
            return false;
        const QByteArrayView line = bytes.sliced(position, lineEnd - position);
        const qsizetype space = line.indexOf(' ');
        if (space <= 0)
            return false;
        key = line.first(space);
        const std::optional<qint64> length = ReadNumber(line.sliced(space + 1));
        const qsizetype start = lineEnd + 1;
        if (!length || *length < 0 || *length >= bytes.size() - start || bytes[start + *length] != '\n')
            return false;
        value = bytes.sliced(start, *length);
        position = start + *length + 1;
        return true;
    }
    bool AtEnd() const { return position == bytes.size(); }
    QByteArrayView Key() const { return key; }
    QByteArrayView Value() const { return value; }

private:
    QByteArrayView bytes;
    qsizetype position = 0;
    QByteArrayView key;
    QByteArrayView value;
};

// Fills a record from its fields, one at a time; a field out of its place
// or with a value the writer never writes is damage.
class RecordBuilder
{
public:
    explicit RecordBuilder(RecoveryRecord& record) : record(record) {}

    bool Take(QByteArrayView key, QByteArrayView value)
    {
        if (key == "process")
            return Advance(Stage::Process) && TakeNumber(value, record.processId, true) && record.processId > 0;
        if (key == "written")
            return Advance(Stage::Written) && TakeNumber(value, record.writtenAt, true);
        if (key == "project") {
            record.projectPath = QString::fromUtf8(value);
            return Advance(Stage::Project) && value.size() > 0 && record.projectPath.toUtf8() == value;
        }
        if (key == "project-modified") {
            const std::optional<bool> flag = ReadFlag(value);
            record.projectModified = flag.value_or(false);
            return Advance(Stage::ProjectModified) && flag;
        }
        if (stage < Stage::Process)
            return false;
        if (key == "entry") {
            record.entries.append(QString::fromLatin1(value));
            return stage == Stage::ProjectModified && record.projectModified
                && ProjectModel::CanHoldEntry(record.entries.last());
        }
        if (key == "table") {
            stage = Stage::Tables;
            return TakeTable(value);
        }
        return TakeTableField(key, value);
    }

    // Every table that says it was modified brought its content.
    bool Complete() const
    {
        return stage >= Stage::Process && std::all_of(record.tables.cbegin(), record.tables.cend(), [](const auto& table) {
                   return !table.modified || !table.content.isNull();
               });
    }

private:
    static bool TakeNumber(QByteArrayView text, qint64& target, bool allowed)
    {
        const std::optional<qint64> number = ReadNumber(text);
        target = number.value_or(0);
        return allowed && number.has_value();
    }

    bool TakeTable(QByteArrayView value)
    {
        RecoveryRecord::Table table;
        table.name = QString::fromLatin1(value);
        // The name becomes a path in the project folder: only a plain file
        // name may, whatever a damaged record holds.
        const bool named = ProjectEntry::IsPlainFileName(table.name) && table.name.indexOf(QLatin1Char('\\')) < 0;
        record.tables.append(table);
        return named;
    }

    bool TakeTableField(QByteArrayView key, QByteArrayView value)
    {
        if (record.tables.isEmpty())
            return false;
        RecoveryRecord::Table& table = record.tables.last();
        if (key == "modified") {
            const std::optional<bool> flag = ReadFlag(value);
            table.modified = flag.value_or(false);
            return flag && table.content.isNull();
        }
        if (key == "saved-size")
            return TakeNumber(value, table.savedSize, table.savedSize == -1) && table.savedSize >= -1;
        if (key == "saved-time")
            return TakeNumber(value, table.savedTime, table.savedTime == 0);
        if (key == "content") {
            table.content = value.toByteArray();
            // A null array marks content not yet read; an empty table is not null.
            if (table.content.isNull())
                table.content = QByteArray("", 0);
            return table.modified;
        }
        return false;
    }

    // The record's own fields come once each, in the order the writer puts
    // them, before any table: a record read is the record written.
    enum class Stage { None, Process, Written, Project, ProjectModified, Tables };

    bool Advance(Stage next)
    {
        if (next <= stage || (next > Stage::Process && stage < Stage::Process))
            return false;
        stage = next;
        return true;
    }

    RecoveryRecord& record;
    Stage stage = Stage::None;
};

} // namespace

bool RecoveryRecord::HoldsUnsavedWork() const
{
    return projectModified || std::any_of(tables.cbegin(), tables.cend(), [](const Table& table) {
               return table.modified;
           });
}

QStringList RecoveryRecord::ModifiedTableNames() const
{
    QStringList names;
    for (const Table& table : tables) {
        if (table.modified)
            names.append(table.name);
    }
    return names;
}

QByteArray RecoveryRecord::Serialize() const
{
    qsizetype size = 256;
    for (const Table& table : tables)
        size += table.content.size() + table.name.size() + 96;
    FieldWriter writer(size);
    writer.Add("process", processId);
    writer.Add("written", writtenAt);
    if (!projectPath.isEmpty())
        writer.Add("project", projectPath.toUtf8());
    writer.Add("project-modified", projectModified ? 1 : 0);
    if (projectModified) {
        for (const QString& entry : entries)
            writer.Add("entry", entry.toLatin1());
    }
    for (const Table& table : tables) {
        writer.Add("table", table.name.toLatin1());
        writer.Add("modified", table.modified ? 1 : 0);
        writer.Add("saved-size", table.savedSize);
        writer.Add("saved-time", table.savedTime);
        if (table.modified)
            writer.Add("content", table.content);
    }
    writer.Add("end", QByteArrayView());
    return Header + '\n' + writer.Take();
}

QString RecoveryRecord::ProjectFolderOf(const QString& projectPath)
{
    return projectPath.isEmpty() ? QString() : QFileInfo(projectPath).absolutePath() + QLatin1Char('/');
}

bool RecoveryRecord::FileChangedSince(const QString& projectFolder, const Table& table)
{
    const FileStamp now = FileStamp::Of(ProjectEntry::DiskPath(projectFolder, table.name));
    return now.size >= 0 && now != FileStamp{table.savedSize, table.savedTime};
}

QString RecoveryRecord::CopyName(const QString& name, const std::function<bool(const QString&)>& taken)
{
    const QString suffix = QFileInfo(name).suffix();
    const QString base = suffix.isEmpty() ? name : name.chopped(suffix.size() + 1);
    const QString dottedSuffix = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
    for (int number = 1;; ++number) {
        const QString mark = number == 1 ? QStringLiteral(" (recovered)") : QStringLiteral(" (recovered %1)").arg(number);
        const QString candidate = base + mark + dottedSuffix;
        if (!taken(candidate))
            return candidate;
    }
}

RecoveryRecord::ParseResult RecoveryRecord::Parse(QByteArrayView bytes, RecoveryRecord& record, QString& cause)
{
    record = RecoveryRecord();
    const qsizetype headerEnd = bytes.indexOf('\n');
    const QByteArrayView header = headerEnd < 0 ? bytes : bytes.first(headerEnd);
    if (header != Header) {
        cause = header.startsWith(HeaderStem) ? QStringLiteral("it was written by another version of Carvestone")
                                              : QStringLiteral("it is not a Carvestone recovery record");
        return ParseResult::Foreign;
    }
    FieldReader reader(bytes.sliced(headerEnd + 1));
    RecordBuilder builder(record);
    while (reader.Next()) {
        if (reader.Key() == "end") {
            if (reader.Value().isEmpty() && reader.AtEnd() && builder.Complete())
                return ParseResult::Read;
            break;
        }
        if (!builder.Take(reader.Key(), reader.Value()))
            break;
    }
    record = RecoveryRecord();
    cause = QStringLiteral("it is cut short or garbled");
    return ParseResult::Damaged;
}

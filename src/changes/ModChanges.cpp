#include "ModChanges.h"

#include "GameCopies.h"
#include "core/CarvestoneSettings.h"
#include "model/KeptOriginals.h"
#include "model/ProjectEntry.h"
#include "model/TableFile.h"
#include "project/CCarvestoneDoc.h"
#include "ui/TableViewPart.h"

#include <algorithm>

ModChanges::ModChanges(const CCarvestoneDoc& document, const CarvestoneSettings& settings, GameCopies& copies,
                       QObject* parent)
    : QObject(parent)
    , document(document)
    , settings(settings)
    , copies(copies)
{
    // Changes that come together (every cell of a paste) are compared once.
    timer.setSingleShot(true);
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &ModChanges::Flush);
    connect(&copies, &GameCopies::Ready, this, &ModChanges::OnGameReady);
    connect(&copies, &GameCopies::Failed, this, &ModChanges::OnGameFailed);
}

void ModChanges::RefreshAll()
{
    allDirty = true;
    timer.start();
}

QString ModChanges::GameProblem() const
{
    return settings.GameMpqPath.isEmpty() ? QString() : copies.Failure(settings.GameMpqPath);
}

void ModChanges::RefreshFile(const QString& namePart)
{
    const QString entry = EntryOf(namePart);
    if (entry.isEmpty())
        return;
    dirty.insert(entry);
    timer.start();
}

QString ModChanges::EntryOf(const QString& namePart) const
{
    for (const QString& entry : document.FileList()) {
        if (ProjectEntry::NamePart(entry) == namePart)
            return entry;
    }
    return {};
}

bool ModChanges::IsReadingGame() const
{
    return copies.IsReading();
}

std::optional<QByteArray> ModChanges::OriginalOf(const QString& entry, QString* name, bool* known) const
{
    *known = true;
    const KeptOriginals kept(document.ProjectFolder());
    if (std::optional<QByteArray> bytes = kept.Read(entry)) {
        *name = kept.PathOf(entry);
        return bytes;
    }
    const QString& game = settings.GameMpqPath;
    *name = QStringLiteral("%1 in %2").arg(entry, game);
    if (game.isEmpty())
        return std::nullopt;
    *known = copies.Knows(game, entry);
    return copies.Copy(game, entry);
}

std::optional<EntryDiff> ModChanges::Compare(const QString& entry) const
{
    QString originalName;
    bool known = false;
    const std::optional<QByteArray> original = OriginalOf(entry, &originalName, &known);
    if (!known)
        return std::nullopt;
    const QString path = ProjectEntry::DiskPath(document.ProjectFolder(), entry);
    // An open table's unsaved edits count; empty when it is not open.
    QByteArray mod = tableView ? tableView->TableContent(ProjectEntry::NamePart(entry)) : QByteArray();
    if (mod.isEmpty()) {
        QString error;
        if (!TableFile::ReadFile(path, &mod, &error))
            return EntryDiff::Unreadable(entry, error);
    }
    return EntryDiff::Compare(entry, path, mod, original, originalName);
}

void ModChanges::Flush()
{
    timer.stop();
    const QStringList& entries = document.FileList();
    const KeptOriginals kept(document.ProjectFolder());
    QStringList wanted;
    for (const QString& entry : entries) {
        if (!kept.Has(entry) && !copies.Knows(settings.GameMpqPath, entry))
            wanted.append(entry);
    }
    if (allDirty && !settings.GameMpqPath.isEmpty() && !wanted.isEmpty() && GameProblem().isEmpty())
        copies.Request(settings.GameMpqPath, wanted);
    std::vector<EntryDiff> compared;
    for (const QString& entry : entries) {
        const auto old = std::find_if(files.begin(), files.end(), [&](const EntryDiff& file) { return file.Entry() == entry; });
        if (!allDirty && !dirty.contains(entry) && old != files.end()) {
            compared.push_back(std::move(*old));
            continue;
        }
        if (std::optional<EntryDiff> diff = Compare(entry))
            compared.push_back(std::move(*diff));
    }
    files = std::move(compared);
    allDirty = false;
    dirty.clear();
    Q_EMIT Updated();
}

QHash<QString, int> ModChanges::Counts() const
{
    QHash<QString, int> counts;
    for (const EntryDiff& file : files) {
        if (file.GetKind() == EntryDiff::Kind::Table)
            counts.insert(file.Entry(), file.ChangeCount());
    }
    return counts;
}

void ModChanges::OfferOriginal(const QString& namePart)
{
    const QString entry = EntryOf(namePart);
    const QString& game = settings.GameMpqPath;
    if (entry.isEmpty() || game.isEmpty())
        return;
    offered.insert(namePart);
    copies.Request(game, {entry});
}

void ModChanges::OnGameReady(const QString& archive)
{
    if (archive != settings.GameMpqPath)
        return;
    const QSet<QString> waiting = offered;
    for (const QString& namePart : waiting) {
        const QString entry = EntryOf(namePart);
        if (!copies.Knows(archive, entry))
            continue;
        offered.remove(namePart);
        if (const std::optional<QByteArray> copy = copies.Copy(archive, entry); copy && tableView)
            tableView->SetTableOriginal(namePart, *copy);
    }
    RefreshAll();
}

void ModChanges::OnGameFailed(const QString& archive)
{
    if (archive != settings.GameMpqPath)
        return;
    offered.clear();
    RefreshAll();
}

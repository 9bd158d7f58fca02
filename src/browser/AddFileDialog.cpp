#include "AddFileDialog.h"

#include "ArchiveTree.h"
#include "ProgressDialog.h"
#include "archive/ArchiveJob.h"
#include "core/SafeFileCopy.h"
#include "core/StringTable.h"
#include "model/ArchiveNameRule.h"
#include "model/ExtractedDataRule.h"
#include "model/FileKind.h"
#include "model/KeptOriginals.h"
#include "model/ProjectEntry.h"
#include "ui/FileKindIcons.h"
#include "ui/MessageBoxes.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>

namespace {

// The dialog's size in dialog units, as the resource gives it.
constexpr int WidthUnits = 220;
constexpr int HeightUnits = 175;
// The progress bar is repainted (not the whole window) every so many names.
constexpr int RepaintEvery = 2000;

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool IsSameFile(const QString& first, const QString& second)
{
    const QString canonical = QFileInfo(first).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(second).canonicalFilePath();
}

// The child's words without the verb it puts in front of them.
QString WithoutVerb(const QString& message)
{
    return QString(message).remove(QRegularExpression(QStringLiteral("^[a-z-]+: ")));
}

} // namespace

AddFileDialog::AddFileDialog(const AddFileContext& context, QWidget* parent)
    : ArchiveWorkDialog(parent)
    , context(context)
    , archivePath(context.archivePath)
    , topText(new QLabel(this))
    , tree(new QTreeWidget(this))
    , closeButton(new QPushButton(tr("Close"), this))
    , addButton(new QPushButton(tr("&Add"), this))
    , addFilesButton(new QPushButton(tr("Add &Files..."), this))
    , archiveButton(new QPushButton(tr("A&rchive..."), this))
    , dataFolderButton(new QPushButton(tr("&Data Folder..."), this))
    , extractButton(new QPushButton(tr("&Extract..."), this))
{
    setWindowTitle(QStringLiteral("Add File to MOD"));
    topText->setWordWrap(true);
    topText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setUniformRowHeights(true);
    tree->setDragEnabled(false);
    closeButton->setDefault(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {closeButton, addButton, addFilesButton, archiveButton, dataFolderButton})
        buttons->addWidget(button);
    buttons->addSpacing(fontMetrics().height());
    buttons->addWidget(extractButton);
    buttons->addStretch();
    auto* layout = new QGridLayout(this);
    layout->addWidget(topText, 0, 0, 1, 2);
    layout->addWidget(tree, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->setRowStretch(1, 1);
    const QFontMetrics metrics = fontMetrics();
    resize(WidthUnits * metrics.averageCharWidth() / 4 * 3 / 2, HeightUnits * metrics.height() / 8);

    connect(closeButton, &QPushButton::clicked, this, &AddFileDialog::reject);
    connect(addButton, &QPushButton::clicked, this, &AddFileDialog::OnAdd);
    connect(addFilesButton, &QPushButton::clicked, this, &AddFileDialog::OnAddFiles);
    connect(archiveButton, &QPushButton::clicked, this, &AddFileDialog::OnArchive);
    connect(dataFolderButton, &QPushButton::clicked, this, &AddFileDialog::OnDataFolder);
    connect(extractButton, &QPushButton::clicked, this, &AddFileDialog::OnExtract);
    connect(tree, &QTreeWidget::itemSelectionChanged, this, &AddFileDialog::UpdateButtons);
    topText->setText(Shown(archivePath));
    UpdateButtons();
}

AddFileDialog::~AddFileDialog() = default;

QString AddFileDialog::ArchiveName(const QTreeWidgetItem* item)
{
    const std::optional<ArchiveTreeItemData> data = ArchiveTree::ItemData(item);
    return data ? data->archiveName : QString();
}

void AddFileDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The tree is filled only while the dialog runs, never behind it.
    if (!filledOnce) {
        filledOnce = true;
        FillTree();
    }
}

void AddFileDialog::UpdateButtons()
{
    const bool idle = !IsWorking();
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    const QTreeWidgetItem* item = selected.value(0);
    const bool isFile = !ArchiveName(item).isEmpty();
    closeButton->setEnabled(idle);
    archiveButton->setEnabled(idle);
    dataFolderButton->setEnabled(idle);
    addButton->setEnabled(idle && isFile);
    extractButton->setEnabled(idle && isFile);
    addFilesButton->setEnabled(idle && item && item->parent());
}

void AddFileDialog::ShowFailure(const QString& why)
{
    topText->setText(why);
}

void AddFileDialog::FillTree()
{
    tree->clear();
    UpdateButtons();
    if (archivePath.isEmpty()) {
        ShowFailure(QStringLiteral("No archive is chosen: press Archive... or Data Folder... to choose one."));
        return;
    }
    topText->setText(Shown(archivePath));
    if (const QStringList* cached = ArchiveJob::Listings().Find(archivePath)) {
        FillFromNames(*cached);
        return;
    }
    const QString& listing = context.listingPath;
    if (ShowsFolder()) {
        const QString problem = ExtractedDataRule::Problem(archivePath);
        if (!problem.isEmpty()) {
            ShowFailure(problem);
            return;
        }
    } else if (!QFileInfo::exists(archivePath)) {
        ShowFailure(QStringLiteral("%1 cannot be shown: the file does not exist.").arg(Shown(archivePath)));
        return;
    } else if (!QFileInfo::exists(listing)) {
        ShowFailure(QStringLiteral("%1 cannot be shown: the listing file %2, which names the game's files, is "
                                   "missing (reinstall Carvestone).")
                        .arg(Shown(archivePath), Shown(listing)));
        return;
    }
    progress = std::make_unique<ProgressDialog>(ShowsFolder() ? QStringLiteral("Reading Folder")
                                                              : QStringLiteral("Reading Archive"),
                                                this);
    progress->show();
    RunJob([&](ArchiveJob& started) { started.StartListing(archivePath, listing); },
           [this](ArchiveJob& done) {
               if (done.GetResult() == ArchiveJob::Result::Succeeded)
                   FillFromNames(done.Names());
               else
                   ShowFailure(QStringLiteral("%1 cannot be shown: %2").arg(Shown(archivePath), WithoutVerb(done.Message())));
           });
}

void AddFileDialog::FillFromNames(const QStringList& names)
{
    if (names.isEmpty()) {
        ShowFailure(ShowsFolder()
                        ? QStringLiteral("%1 holds no files under its data folder.").arg(Shown(archivePath))
                        : QStringLiteral("%1 holds none of the files named in AllFiles.txt.").arg(Shown(archivePath)));
        return;
    }
    progress = std::make_unique<ProgressDialog>(QStringLiteral("Filling Tree"), this);
    QProgressBar* bar = progress->Bar();
    bar->setRange(0, int(names.size()));
    progress->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    tree->setUpdatesEnabled(false);
    auto* root = new QTreeWidgetItem(tree, {ShowsFolder() ? QDir(archivePath).dirName() : QFileInfo(archivePath).fileName()});
    root->setIcon(0, ShowsFolder() ? FileKindIcons::FolderIcon() : FileKindIcons::Icon(FileKind::Root));
    ArchiveTree archiveTree(root);
    for (int i = 0; i < names.size(); ++i) {
        archiveTree.InsertArchivePath(names[i]);
        if (i % RepaintEvery == 0) {
            bar->setValue(i);
            bar->repaint();
        }
    }
    bar->setValue(int(names.size()));
    root->setExpanded(true);
    tree->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    progress.reset();
    // The archive is what the person came for: arrows and "*" work at once.
    tree->setCurrentItem(root);
    tree->setFocus(Qt::OtherFocusReason);
}

void AddFileDialog::RunJob(const std::function<void(ArchiveJob&)>& start,
                           const std::function<void(ArchiveJob&)>& finished)
{
    job = new ArchiveJob(context.programFolder, this);
    if (progress) {
        connect(job, &ArchiveJob::RangeChanged, progress->Bar(), &QProgressBar::setRange);
        connect(job, &ArchiveJob::PositionChanged, progress->Bar(), &QProgressBar::setValue);
    }
    connect(job, &ArchiveJob::Finished, this, [this, finished] {
        ArchiveJob* done = job;
        job = nullptr;
        progress.reset();
        QApplication::restoreOverrideCursor();
        finished(*done);
        done->deleteLater();
        UpdateButtons();
    });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    UpdateButtons();
    start(*job);
}

void AddFileDialog::Record(const QString& name)
{
    results.append(name);
    results.removeDuplicates();
    results.sort(Qt::CaseSensitive);
}

void AddFileDialog::Tell(const QString& text)
{
    MessageBoxes::ShowMessage(this, UserDialogs::TypeOk | UserDialogs::IconError, QStringLiteral("%s"), {text});
}

bool AddFileDialog::MayPlace(const QString& name, const QString& source, const QStringList& batch)
{
    const QString problem = ArchiveNameRule::Problem(name);
    if (!problem.isEmpty()) {
        Tell(problem);
        return false;
    }
    const QString namePart = ProjectEntry::NamePart(name);
    const QString destination = ProjectEntry::DiskPath(context.modFolder, name);
    if (destination.isEmpty()) {
        Tell(QStringLiteral("%1 cannot be added: the project has no MOD folder yet.").arg(name));
        return false;
    }
    for (const QString& other : context.projectEntries + results + batch) {
        if (other != name && ArchiveNameRule::SameNamePart(other, name)) {
            Tell(QStringLiteral("%1 cannot be added: %2 in the MOD folder is the file of %3, and two entries cannot "
                                "share one file.")
                     .arg(name, namePart, other));
            return false;
        }
    }
    for (const QString& own : {context.projectFilePath, context.modArchivePath}) {
        if (!own.isEmpty() && ArchiveNameRule::SameNamePart(QFileInfo(own).fileName(), namePart)) {
            Tell(QStringLiteral("%1 cannot be added: its file would replace %2.").arg(name, Shown(own)));
            return false;
        }
    }
    if (context.isTableOpen && context.isTableOpen(namePart)) {
        Tell(QStringLiteral("%1 is open in a tab; close it there first, then add %2 again.").arg(namePart, name));
        return false;
    }
    const QFileInfo target(destination);
    if (target.isDir()) {
        Tell(QStringLiteral("%1 cannot be added: the MOD folder holds a folder named %2.").arg(name, namePart));
        return false;
    }
    if (!target.exists() || (!source.isEmpty() && IsSameFile(source, destination)))
        return true;
    return MessageBoxes::ShowMessageId(this, UserDialogs::TypeYesNo | UserDialogs::IconQuestion,
                                         StringId::OverwriteModFile, {namePart})
        == UserDialogs::IdYes;
}

void AddFileDialog::OnAdd()
{
    const QString name = ArchiveName(tree->selectedItems().value(0));
    if (name.isEmpty() || !MayPlace(name, {}, {}))
        return;
    const QString destination = ProjectEntry::DiskPath(context.modFolder, name);
    RunJob([&](ArchiveJob& started) { started.StartExtraction(archivePath, name, destination); },
           [this, name, destination](ArchiveJob& done) {
               if (done.GetResult() == ArchiveJob::Result::Succeeded)
                   RecordWithOriginal(name, destination);
               else
                   Tell(QStringLiteral("%1 could not be extracted from %2 to %3: %4")
                            .arg(name, Shown(archivePath), Shown(destination), WithoutVerb(done.Message())));
           });
}

void AddFileDialog::OnAddFiles()
{
    QTreeWidgetItem* target = tree->selectedItems().value(0);
    if (!target || !target->parent())
        return;
    const QStringList paths = UserDialogs::Current().OpenFileNames(
        this, QStringLiteral("Add Files"), context.modFolder, QStringLiteral("Table Files (*.txt);;All Files (*)"));
    if (paths.isEmpty())
        return;
    if (!ArchiveName(target).isEmpty())
        target = target->parent();
    const QString folderPath = ArchiveTree::BuildItemFolderPath(target);
    QList<RenameListDialog::Item> proposed;
    for (const QString& path : paths)
        proposed.append({folderPath + QFileInfo(path).fileName(), path});
    RenameListDialog rename(proposed, this);
    if (UserDialogs::Current().Exec(rename) != QDialog::Accepted)
        return;
    const QList<RenameListDialog::Item> chosen = rename.Items();
    QStringList batch;
    for (const RenameListDialog::Item& item : chosen)
        batch.append(item.name);
    for (const RenameListDialog::Item& item : chosen)
        CopyChosenFile(item, batch);
}

void AddFileDialog::CopyChosenFile(const RenameListDialog::Item& item, const QStringList& batch)
{
    if (!MayPlace(item.name, item.source, batch))
        return;
    const QString destination = ProjectEntry::DiskPath(context.modFolder, item.name);
    QString error;
    if (!IsSameFile(item.source, destination) && !SafeFileCopy::CopyReplacing(item.source, destination, &error)) {
        Tell(QStringLiteral("%1 could not be copied to %2: %3").arg(Shown(item.source), Shown(destination), error));
        return;
    }
    Record(item.name);
    // A file from disk came with nothing of the game's: the game archive
    // answers for it from now on, not what an earlier extraction kept.
    if (!KeptOriginals(context.modFolder).Forget(item.name, &error))
        Tell(error);
}

void AddFileDialog::RecordWithOriginal(const QString& name, const QString& extracted)
{
    Record(name);
    QString error;
    if (!KeptOriginals(context.modFolder).KeepCopyOf(name, extracted, &error))
        Tell(QStringLiteral("%1 was added, but its original could not be kept, so what the MOD changes in it is "
                            "measured against the game archive: %2")
                 .arg(name, error));
}

void AddFileDialog::OnArchive()
{
    const QString start = archivePath.isEmpty() ? context.archivePath : archivePath;
    const QString chosen = UserDialogs::Current().OpenFileName(this, QStringLiteral("Locate MPQ File"), start,
                                                               QStringLiteral("Diablo II MPQ (*.mpq)"));
    if (chosen.isEmpty())
        return;
    archivePath = chosen;
    FillTree();
}

void AddFileDialog::OnDataFolder()
{
    const QString start = ShowsFolder() ? archivePath : QFileInfo(archivePath).absolutePath();
    const QString chosen = UserDialogs::Current().ExistingFolder(this, QStringLiteral("Locate Extracted Game Data"), start);
    if (chosen.isEmpty())
        return;
    archivePath = QDir::fromNativeSeparators(chosen);
    FillTree();
}

bool AddFileDialog::ShowsFolder() const
{
    return QFileInfo(archivePath).isDir();
}

void AddFileDialog::OnExtract()
{
    const QString name = ArchiveName(tree->selectedItems().value(0));
    if (name.isEmpty())
        return;
    const QString target = UserDialogs::Current().SaveFileName(
        this, QStringLiteral("Extract"), context.modFolder + ProjectEntry::NamePart(name), QStringLiteral("All Files (*)"));
    if (target.isEmpty())
        return;
    RunJob([&](ArchiveJob& started) { started.StartExtraction(archivePath, name, target); },
           [this, name, target](ArchiveJob& done) {
               if (done.GetResult() != ArchiveJob::Result::Succeeded)
                   Tell(QStringLiteral("%1 could not be extracted from %2 to %3: %4")
                            .arg(name, Shown(archivePath), Shown(target), WithoutVerb(done.Message())));
           });
}

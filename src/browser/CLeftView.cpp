#include "CLeftView.h"

#include "ArchiveTree.h"
#include "core/FileErrorText.h"
#include "core/StringTable.h"
#include "model/FileKind.h"
#include "model/ProjectEntry.h"
#include "project/CCarvestoneDoc.h"
#include "ui/CommandIds.h"
#include "ui/FileKindIcons.h"
#include "ui/MessageBoxes.h"
#include "ui/TableViewPart.h"
#include "ui/UserDialogs.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeWidgetItemIterator>

#include <cerrno>
#include <cstdio>

namespace {

void ReportTreeFailure(int stringId, const QVariantList& values)
{
    MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconWarning, stringId, values);
}

} // namespace

CLeftView::CLeftView(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(2);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setDragEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    // The name takes the room; the count beside it only what it needs.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
}

void CLeftView::SetDocument(CCarvestoneDoc* doc)
{
    document = doc;
    connect(doc, &CCarvestoneDoc::ProjectReplaced, this, &CLeftView::OnInitialUpdate);
    connect(doc, &CCarvestoneDoc::TitleChanged, this, &CLeftView::OnInitialUpdate);
    connect(doc, &CCarvestoneDoc::PathChanged, this, &CLeftView::OnInitialUpdate);
    OnInitialUpdate();
}

void CLeftView::OnInitialUpdate()
{
    setUpdatesEnabled(false);
    clear();
    // A project that was never saved has no folder for files yet.
    if (document && !document->GetPathName().isEmpty()) {
        auto* root = new QTreeWidgetItem(this, QStringList{document->GetTitle()});
        root->setIcon(0, FileKindIcons::Icon(FileKind::Root));
        ArchiveTree tree(root);
        for (const QString& entry : document->FileList())
            tree.InsertArchivePath(entry);
        ArchiveTree::ExpandAllItems(root);
        setCurrentItem(root);
    }
    ShowChangeCounts();
    setUpdatesEnabled(true);
}

void CLeftView::SetChangeCounts(const QHash<QString, int>& counts)
{
    changeCounts = counts;
    ShowChangeCounts();
}

void CLeftView::ShowChangeCounts()
{
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        const auto data = ArchiveTree::ItemData(*it);
        const int count = data ? changeCounts.value(data->archiveName, 0) : 0;
        (*it)->setText(1, count > 0 ? QString::number(count) : QString());
        (*it)->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        (*it)->setToolTip(1, count == 1 ? tr("1 change against the game")
                                 : count > 1 ? tr("%1 changes against the game").arg(count)
                                             : QString());
    }
}

void CLeftView::AddNamesToProject(const QStringList& names)
{
    if (!document || !Root())
        return;
    setUpdatesEnabled(false);
    ArchiveTree tree(Root());
    for (const QString& name : names) {
        if (document->AddFile(name))
            tree.InsertArchivePath(name);
    }
    ArchiveTree::ExpandAllItems(Root());
    ShowChangeCounts();
    setUpdatesEnabled(true);
}

bool CLeftView::CanAddFiles() const
{
    // Files are copied into the project folder: without a saved project
    // there is no folder, and no path is ever built from an empty one.
    return document && !document->GetPathName().isEmpty() && !document->ProjectFolder().isEmpty()
        && currentItem() != nullptr;
}

bool CLeftView::CanOpenFile() const
{
    const QString entry = SelectedEntry();
    // A name that cannot be a file of the project folder opens nothing.
    return !entry.isEmpty() && ProjectEntry::NamePart(entry).endsWith(QLatin1String(".txt"))
        && !ProjectEntry::DiskPath(document->ProjectFolder(), entry).isEmpty() && tableView != nullptr;
}

QString CLeftView::SelectedEntry() const
{
    const auto data = ArchiveTree::ItemData(currentItem());
    return data ? data->archiveName : QString();
}

void CLeftView::OnAddFiles()
{
    if (addFilesRunner && CanAddFiles())
        AddNamesToProject(addFilesRunner(document->ProjectFolder()));
}

void CLeftView::OnRemoveFile()
{
    const QString entry = SelectedEntry();
    if (entry.isEmpty() || !document)
        return;
    const int answer = MessageBoxes::ShowMessageId(
        nullptr, UserDialogs::TypeYesNoCancel | UserDialogs::IconQuestion, StringId::KeepRemovedFile);
    if (answer == UserDialogs::IdCancel)
        return;
    // A table left open could be saved later and bring the file back.
    if (!CloseOpenTable(ProjectEntry::NamePart(entry)))
        return;
    if (answer == UserDialogs::IdNo && !DeleteDiskFile(entry))
        return;
    QTreeWidgetItem* item = currentItem();
    if (document->RemoveFile(entry))
        delete item;
}

bool CLeftView::CloseOpenTable(const QString& namePart)
{
    return !tableView || !tableView->IsTableOpen(namePart) || tableView->CloseTable(namePart);
}

bool CLeftView::AnotherEntryNames(const QString& entry) const
{
    const QString namePart = ProjectEntry::NamePart(entry);
    for (const QString& other : document->FileList()) {
        if (other != entry && ProjectEntry::NamePart(other) == namePart)
            return true;
    }
    return false;
}

bool CLeftView::DeleteDiskFile(const QString& entry)
{
    const QString path = ProjectEntry::DiskPath(document->ProjectFolder(), entry);
    if (path.isEmpty())
        return true; // no file of this project can have such a name
    const QString shownPath = QDir::toNativeSeparators(path);
    if (AnotherEntryNames(entry)) {
        ReportTreeFailure(StringId::RemovedFileKeptForOtherEntry, {shownPath});
        return true;
    }
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return true;
    // A folder in the file's place is never removed as if it were the file.
    const bool isFolder = QFileInfo(path).isDir();
    if (!isFolder && std::remove(QFile::encodeName(path).constData()) == 0)
        return true;
    ReportTreeFailure(StringId::RemovedFileNotDeleted, {FileErrorText::ForErrno(isFolder ? EISDIR : errno, path)});
    return false;
}

void CLeftView::OnOpenFile()
{
    const QString entry = SelectedEntry();
    if (!tableView || !ProjectEntry::NamePart(entry).endsWith(QLatin1String(".txt")))
        return;
    // The table view says itself why a table could not be read.
    tableView->OpenTable(ProjectEntry::NamePart(entry));
    Q_EMIT TableOpened();
}

bool CLeftView::OnCommand(int id)
{
    if (id == CommandId::AddFiles)
        OnAddFiles();
    else if (id == CommandId::RemoveFile)
        OnRemoveFile();
    else if (id == CommandId::OpenFile)
        OnOpenFile();
    else
        return false;
    return true;
}

bool CLeftView::OnUpdateCommand(int id, CommandState& state)
{
    if (id == CommandId::AddFiles)
        state.enabled = addFilesRunner && CanAddFiles();
    else if (id == CommandId::RemoveFile)
        state.enabled = document && !SelectedEntry().isEmpty();
    else if (id == CommandId::OpenFile)
        state.enabled = CanOpenFile();
    else
        return false;
    return true;
}

void CLeftView::keyPressEvent(QKeyEvent* event)
{
    const QKeyCombination key = event->keyCombination();
    int command = 0;
    if (key == QKeyCombination(Qt::Key_Return) || key == QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter))
        command = CommandId::OpenFile;
    else if (key == QKeyCombination(Qt::Key_Insert))
        command = CommandId::AddFiles;
    else if (key == QKeyCombination(Qt::Key_Delete))
        command = CommandId::RemoveFile;
    if (command == 0) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    Q_EMIT CommandPosted(command);
    event->accept();
}

void CLeftView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (itemAt(event->position().toPoint()))
        Q_EMIT CommandPosted(CommandId::OpenFile);
}

void CLeftView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        if (QTreeWidgetItem* item = itemAt(event->pos()))
            setCurrentItem(item);
    }
    Q_EMIT ProjectMenuRequested(event->globalPos());
}

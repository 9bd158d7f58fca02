#include "CCarvestoneDoc.h"

#include "core/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/MessageBoxes.h"
#include "ui/TableViewPart.h"
#include "ui/UserDialogs.h"

#include <QDir>
#include <QFileInfo>

namespace {

int ReportError(const QString& text)
{
    return MessageBoxes::ShowMessage(nullptr, UserDialogs::TypeOk | UserDialogs::IconError, QStringLiteral("%s"),
                                       {text});
}

// The save dialog's default extension: a name without one gets ".mod".
QString WithDefaultExtension(const QString& path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".mod") : path;
}

} // namespace

const QString CCarvestoneDoc::FileFilter = QStringLiteral("Carvestone Files (*.mod);;All Files (*)");

CCarvestoneDoc::CCarvestoneDoc(QObject* parent)
    : QObject(parent)
{
}

bool CCarvestoneDoc::AddFile(const QString& entry)
{
    if (!model.AddFile(entry))
        return false;
    Q_EMIT EntriesChanged();
    Q_EMIT Changed();
    return true;
}

bool CCarvestoneDoc::RemoveFile(const QString& entry)
{
    if (!model.RemoveFile(entry))
        return false;
    Q_EMIT EntriesChanged();
    Q_EMIT Changed();
    return true;
}

void CCarvestoneDoc::SetModifiedFlag(bool modified)
{
    model.SetModifiedFlag(modified);
    Q_EMIT Changed();
}

bool CCarvestoneDoc::SetTarget(BuildTarget target)
{
    if (target == model.Target() && model.TargetProblem().isEmpty())
        return true;
    QString error;
    if (model.Path().isEmpty() || !ProjectTarget::Write(model.Path(), target, &error)) {
        ReportError(error.isEmpty() ? StringTable::Get(StringId::FailedToSaveDocument) : error);
        return false;
    }
    model.SetTarget(target);
    return true;
}

bool CCarvestoneDoc::IsModified() const
{
    if (model.IsModified())
        return true;
    return tableView && tableView->IsAnyTableModified();
}

bool CCarvestoneDoc::OnNewDocument()
{
    model.Reset();
    Q_EMIT ProjectReplaced();
    Q_EMIT TitleChanged(GetTitle());
    Q_EMIT Changed();
    return true;
}

CCarvestoneDoc::OpenResult CCarvestoneDoc::OpenProject(const QString& path)
{
    if (!SaveModified())
        return OpenResult::Kept;
    ProjectModel opened;
    QString error;
    if (!opened.Load(path, error)) {
        ReportError(error);
        return OpenResult::Failed;
    }
    model = opened;
    Q_EMIT ProjectReplaced();
    Q_EMIT TitleChanged(GetTitle());
    Q_EMIT Changed();
    ReportEntriesWithoutDiskFile();
    ReportTargetProblem();
    return OpenResult::Opened;
}

bool CCarvestoneDoc::RecoverProject(const QString& path, const QStringList* entries)
{
    ProjectModel recovered;
    QString error;
    if (!path.isEmpty() && !recovered.Load(path, error)) {
        ReportError(error);
        if (!entries)
            return false;
        recovered.SetPath(path, QFileInfo(path).absolutePath() + QLatin1Char('/'));
    }
    if (entries)
        recovered.ReplaceFileList(*entries);
    model = recovered;
    Q_EMIT ProjectReplaced();
    Q_EMIT TitleChanged(GetTitle());
    Q_EMIT Changed();
    ReportEntriesWithoutDiskFile();
    ReportTargetProblem();
    return true;
}

void CCarvestoneDoc::ReportTargetProblem() const
{
    if (model.TargetProblem().isEmpty())
        return;
    MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconWarning, StringId::TargetUnreadable,
                                {model.TargetProblem()});
}

void CCarvestoneDoc::ReportEntriesWithoutDiskFile() const
{
    const QStringList entries = model.EntriesWithoutDiskFile();
    if (entries.isEmpty())
        return;
    MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconWarning, StringId::UnsafeEntries,
                                  {GetTitle(), entries.join(QLatin1Char('\n'))});
}

bool CCarvestoneDoc::OnSaveDocument(const QString& path)
{
    return SaveTo(path, model.IsModified());
}

bool CCarvestoneDoc::SaveTo(const QString& path, bool writeProjectFile)
{
    bool saved = true;
    if (writeProjectFile) {
        QString error;
        if (model.Write(path, error)) {
            model.SetModifiedFlag(false);
            Q_EMIT Changed();
        } else {
            ReportError(error.isEmpty() ? StringTable::Get(StringId::FailedToSaveDocument) : error);
            saved = false;
        }
    }
    // Tables are saved even when the project file failed: their changes are
    // the user's work as well.  A failed table fails the save, so that the
    // save question never lets unsaved table changes go.
    if (tableView && tableView->IsAnyTableModified() && !tableView->SaveAllModifiedTables())
        saved = false;
    return saved;
}

bool CCarvestoneDoc::NeedsNewName() const
{
    const QFileInfo file(model.Path());
    return model.Path().isEmpty() || !file.isFile() || !file.isWritable();
}

bool CCarvestoneDoc::DoFileSave()
{
    if (!NeedsNewName())
        return OnSaveDocument(model.Path());

    const QString proposed = model.Path().isEmpty() ? GetTitle() + QStringLiteral(".mod") : model.Path();
    const QString chosen = UserDialogs::Current().SaveFileName(
        dialogOwner, StringTable::Get(StringId::SaveAsCaption), proposed, FileFilter);
    if (chosen.isEmpty())
        return false;
    const QString path = QFileInfo(WithDefaultExtension(chosen)).absoluteFilePath();
    // Under a new name the project file is always written, so that the
    // project's path never names a file that is not there; its target goes
    // with it.
    QString error;
    if (!SaveTo(path, true))
        return false;
    if (!ProjectTarget::Write(path, model.Target(), &error))
        ReportError(error);
    const QString folder = model.ProjectFolder().isEmpty() ? QFileInfo(path).absolutePath() + QLatin1Char('/')
                                                           : model.ProjectFolder();
    model.SetPath(path, folder);
    Q_EMIT TitleChanged(GetTitle());
    Q_EMIT PathChanged(path);
    Q_EMIT Changed();
    return true;
}

bool CCarvestoneDoc::SaveModified()
{
    if (!IsModified())
        return true;
    const int answer = MessageBoxes::ShowMessageId(
        nullptr, UserDialogs::TypeYesNoCancel | UserDialogs::IconQuestion, StringId::SaveChanges, {GetTitle()});
    if (answer == UserDialogs::IdCancel)
        return false;
    if (answer == UserDialogs::IdNo)
        return true;
    return DoFileSave();
}

bool CCarvestoneDoc::OnCommand(int id)
{
    if (id != CommandId::FileSave)
        return false;
    DoFileSave();
    return true;
}

bool CCarvestoneDoc::OnUpdateCommand(int id, CommandState& state)
{
    if (id != CommandId::FileSave)
        return false;
    state.enabled = true;
    return true;
}

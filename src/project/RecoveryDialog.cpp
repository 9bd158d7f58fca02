#include "RecoveryDialog.h"

#include "core/MessageFormat.h"
#include "core/StringTable.h"
#include "model/FileKind.h"
#include "ui/FileKindIcons.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString ProjectTitle(const RecoveryRecord& record)
{
    return record.projectPath.isEmpty() ? StringTable::Get(StringId::Untitled) : QFileInfo(record.projectPath).fileName();
}

QString TableNote(const QString& folder, const RecoveryRecord::Table& table)
{
    if (!table.modified)
        return QStringLiteral("open, no unsaved changes");
    if (RecoveryRecord::FileChangedSince(folder, table))
        return QStringLiteral("unsaved changes; the file was changed on disk since, so they come back as a copy");
    return QStringLiteral("unsaved changes");
}

} // namespace

RecoveryDialog::RecoveryDialog(const RecoveryRecord& record, QWidget* parent)
    : QDialog(parent)
    , list(new QTreeWidget(this))
    , recoverButton(new QPushButton(QStringLiteral("&Recover"), this))
    , discardButton(new QPushButton(QStringLiteral("&Discard"), this))
{
    setWindowTitle(QStringLiteral("Recover Unsaved Changes"));
    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);
    auto* question = new QLabel(
        MessageFormat::Format(StringTable::Get(StringId::RecoverQuestion), {ProjectTitle(record)}), this);
    question->setWordWrap(true);
    const QString when = QLocale().toString(QDateTime::fromMSecsSinceEpoch(record.writtenAt), QLocale::ShortFormat);
    auto* recorded = new QLabel(QStringLiteral("Recorded %1.").arg(when), this);

    list->setColumnCount(2);
    list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("What comes back")});
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    FillList(record);

    recoverButton->setDefault(true);
    recoverButton->setAutoDefault(true);
    discardButton->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(recoverButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(discardButton, QDialogButtonBox::DestructiveRole);
    connect(recoverButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(discardButton, &QPushButton::clicked, this, [this] { done(DiscardResult); });

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addWidget(question, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list, 1);
    layout->addWidget(recorded);
    layout->addWidget(buttons);
    resize(560, 320);
    recoverButton->setFocus();
}

void RecoveryDialog::FillList(const RecoveryRecord& record)
{
    const QString folder = RecoveryRecord::ProjectFolderOf(record.projectPath);
    auto* project = new QTreeWidgetItem(list, {ProjectTitle(record), record.projectModified
                                                                          ? QStringLiteral("the project's unsaved file list")
                                                                          : QStringLiteral("the project")});
    project->setIcon(0, FileKindIcons::Icon(FileKind::Root));
    for (const RecoveryRecord::Table& table : record.tables) {
        auto* item = new QTreeWidgetItem(project, {table.name, TableNote(folder, table)});
        item->setIcon(0, FileKindIcons::Icon(FileKind::IconIndex(table.name)));
    }
    list->expandAll();
    list->header()->setStretchLastSection(true);
    list->resizeColumnToContents(0);
}

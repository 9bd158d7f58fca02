#include "AddFileDialogFixture.h"

#include "archive/ArchiveJob.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

void AddFileDialogTest::SetUp()
{
    SmpqTest::SetUp();
    if (IsSkipped())
        return;
    gameFiles = {{Weapons, ArchiveFixtures::Pattern(70000, 1)}, {Armor, "name\tcode\r\nTin Mail\ttin\r\n"},
                 {LocalX, "local x"}, {ExcelX, "excel X"}, {Hit, ArchiveFixtures::Pattern(3000, 2)},
                 {Readme, "readme"}};
    // A fresh path each test, so the run's listing cache never answers for
    // another test's archive.
    context.archivePath = fixtures.MakeGameArchive(QStringLiteral("Diablo II/patch_d2.mpq"), gameFiles);
    ASSERT_FALSE(context.archivePath.isEmpty());
    context.programFolder = fixtures.Path(QStringLiteral("Program/"));
    context.listingPath = context.programFolder + QLatin1String("AllFiles.txt");
    fixtures.Write(QStringLiteral("Program/AllFiles.txt"),
                   "; the game's files\r\n" + Weapons.toLatin1() + "\r\ndata\\global\\excel\\absent.txt\r\n"
                       + Readme.toLatin1() + "\r\n" + LocalX.toLatin1() + "\n" + Armor.toLatin1() + "\n"
                       + Hit.toLatin1() + "\n" + ExcelX.toLatin1());
    ASSERT_TRUE(QFile::link(QCoreApplication::applicationDirPath() + QLatin1String("/carvestone-cli"),
                            context.programFolder + QLatin1String("carvestone-cli")));
    context.modFolder = fixtures.Path(QStringLiteral("Mods/Weapons/"));
    QDir().mkpath(context.modFolder);
    context.projectFilePath = context.modFolder + QLatin1String("Weapons.mod");
    context.modArchivePath = context.modFolder + QLatin1String("Weapons.mpq");
    context.isTableOpen = [this](const QString& name) { return openTables.contains(name); };
}

std::unique_ptr<AddFileDialog> AddFileDialogTest::Open()
{
    auto dialog = std::make_unique<AddFileDialog>(context, nullptr);
    dialog->show();
    EXPECT_TRUE(WaitIdle(*dialog));
    dialog->Tree()->expandAll();
    return dialog;
}

bool AddFileDialogTest::WaitIdle(AddFileDialog& dialog)
{
    return QTest::qWaitFor([&] { return !dialog.IsWorking(); }, 30000);
}

QTreeWidgetItem* AddFileDialogTest::Item(AddFileDialog& dialog, const QStringList& path)
{
    QTreeWidgetItem* item = dialog.Tree()->topLevelItem(0);
    for (const QString& text : path) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; item && i < item->childCount() && !next; ++i)
            next = item->child(i)->text(0) == text ? item->child(i) : nullptr;
        item = next;
    }
    return item;
}

void AddFileDialogTest::Click(AddFileDialog& dialog, QTreeWidgetItem* item)
{
    ASSERT_NE(item, nullptr);
    QTreeWidget* tree = dialog.Tree();
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

void AddFileDialogTest::Press(AddFileDialog& dialog, QPushButton* button)
{
    ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(WaitIdle(dialog));
}

FakeChild::FakeChild(const QString& script)
{
    ArchiveJob::OverrideProgram(QStringLiteral("sh"), {QStringLiteral("-c"), script});
}

FakeChild::~FakeChild()
{
    ArchiveJob::OverrideProgram({});
}

#pragma once

#include "ArchiveFixtures.h"
#include "ScriptedDialogs.h"

#include "browser/AddFileContext.h"
#include "browser/AddFileDialog.h"

#include <QSet>

#include <memory>

class QTreeWidgetItem;

// A game archive made by smpq, a listing file naming its files (and some it
// lacks) in a program folder beside carvestone-cli, and an empty MOD folder.
class AddFileDialogTest : public SmpqTest
{
protected:
    void SetUp() override;

    // Opens the dialog as the project tree does and waits for its tree.
    std::unique_ptr<AddFileDialog> Open();
    static bool WaitIdle(AddFileDialog& dialog);
    // The tree item at a path of texts from the root ("excel", "armor.txt").
    static QTreeWidgetItem* Item(AddFileDialog& dialog, const QStringList& path);
    static void Click(AddFileDialog& dialog, QTreeWidgetItem* item);
    static void Press(AddFileDialog& dialog, QPushButton* button);
    QString ModFile(const QString& name) const { return context.modFolder + name; }

    const QString Weapons = QStringLiteral("data\\global\\excel\\weapons.txt");
    const QString Armor = QStringLiteral("data\\global\\excel\\armor.txt");
    const QString LocalX = QStringLiteral("data\\local\\x.txt");
    const QString ExcelX = QStringLiteral("data\\global\\excel\\X.txt");
    const QString Hit = QStringLiteral("data\\global\\sfx\\hit.wav");
    const QString Readme = QStringLiteral("readme.tbl");
    QMap<QString, QByteArray> gameFiles;
    AddFileContext context;
    QSet<QString> openTables;
    ScriptedDialogs dialogs;
};

// Puts a fake in the place of carvestone-cli for the life of the instance.
class FakeChild
{
public:
    explicit FakeChild(const QString& script);
    ~FakeChild();
    FakeChild(const FakeChild&) = delete;
    FakeChild& operator=(const FakeChild&) = delete;
};

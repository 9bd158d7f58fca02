#pragma once

#include "FakeTableView.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "browser/CLeftView.h"
#include "mainframe/CMainFrame.h"
#include "project/CCarvestoneDoc.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

// The main window, shown and active, with its project tree, a stand-in
// table view and a project saved on disk: what a person finds after
// opening a MOD.  Questions are answered by ScriptedDialogs.
class ProjectWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame.SetTableViewPane(table, table);
        frame.SetDocument(&doc);
        frame.show();
        QApplication::setActiveWindow(&frame);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        QDir().mkpath(folder);
    }

    // Writes the project file and an entry file for each entry, then opens it.
    void OpenProject(const QStringList& entries)
    {
        QByteArray content = "Carvestone Project File Version 1.0\n";
        for (const QString& entry : entries) {
            content += entry.toLatin1() + '\n';
            TestFiles::Write(folder + entry.section(QLatin1Char('\\'), -1), "cells\r\n");
        }
        ASSERT_EQ(doc.OpenProject(TestFiles::Write(folder + "Mod.mod", content)), CCarvestoneDoc::OpenResult::Opened);
    }

    CLeftView* Tree() const { return frame.GetTreeView(); }
    QTreeWidgetItem* Item(const QString& text) const
    {
        return Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    // Clicks the item, as a person selects it, which makes the tree active.
    void Select(const QString& text)
    {
        ASSERT_NE(Item(text), nullptr) << text.toStdString();
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualItemRect(Item(text)).center());
    }
    // A key in the tree, and the command it posts run to its end.
    void Press(Qt::Key key)
    {
        QTest::keyClick(Tree(), key);
        QCoreApplication::processEvents();
    }
    bool Enabled(int id)
    {
        frame.UpdateCommandUi();
        return frame.Action(id)->isEnabled();
    }

    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/Mod/");
    ScriptedDialogs dialogs;
    CMainFrame frame;
    CCarvestoneDoc doc;
    FakeTableView* table = new FakeTableView;
};

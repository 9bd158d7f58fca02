#include "ViewHost.h"

#include "TestFiles.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CommandIds.h"
#include "mainframe/CommandTable.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

ViewHost::ViewHost() : view(new CCarvestoneView([this] { return Folder(); }, settings, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    for (const CommandDescriptor& command : CommandTable::All()) {
        if (command.shortcuts.isEmpty())
            continue;
        auto* action = new QAction(this);
        action->setShortcuts(command.shortcuts);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] {
            CommandState state;
            if (view->OnUpdateCommand(id, state) && state.enabled)
                view->OnCommand(id);
        });
        addAction(action);
    }
    resize(640, 400);
    show();
    activateWindow();
    QApplication::setActiveWindow(this);
    (void)QTest::qWaitForWindowActive(this);
}

void ViewHost::Open(const QString& name, const QByteArray& bytes)
{
    TestFiles::Write(PathOf(name), bytes);
    EXPECT_TRUE(view->OpenTable(name)) << name.toStdString();
}

CGridCtrl& ViewHost::Grid() const
{
    return *view->GetCurrentGrid();
}

QStringList ViewHost::TabTexts() const
{
    QStringList texts;
    for (int index = 0; index < view->TabBar()->count(); ++index)
        texts.append(view->TabBar()->tabText(index));
    return texts;
}

QLineEdit* ViewHost::Type(const QString& text)
{
    Grid().setFocus();
    QTest::keyClicks(&Grid(), text.left(1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    EXPECT_NE(editor, nullptr) << "typing opened no editor";
    if (editor)
        QTest::keyClicks(editor, text.mid(1));
    return editor;
}

void ViewHost::Press(int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

#include "ViewHost.h"

#include "TestFiles.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CommandTable.h"
#include "table_editor/CellNameEdit.h"
#include "table_editor/MagicCodeBox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

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

void ViewHost::Click(int row, int col, Qt::KeyboardModifiers modifiers)
{
    Grid().setFocus();
    Grid().EnsureVisible(row, col);
    QRect rect;
    ASSERT_TRUE(Grid().GetCellRect(row, col, &rect));
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, modifiers, rect.center());
}

void ViewHost::Select(int row1, int col1, int row2, int col2)
{
    Click(row1, col1);
    Click(row2, col2, Qt::ShiftModifier);
}

void ViewHost::Edit(int row, int col, const QString& text)
{
    Click(row, col);
    Type(text);
    Press(Qt::Key_Return);
}

CommandState ViewHost::State(int id)
{
    CommandState state;
    if (!view->OnUpdateCommand(id, state))
        state.enabled = false;
    return state;
}

void ViewTest::AnswerName(const QString& typed, QString* caption, QString* shown)
{
    dialogs.AnswerDialog([=](QDialog& dialog) {
        auto* edit = dialog.findChild<CellNameEdit*>();
        EXPECT_NE(edit, nullptr);
        if (caption)
            *caption = dialog.windowTitle();
        if (shown)
            *shown = edit->text();
        edit->clear();
        QTest::keyClicks(edit, typed);
        return int(QDialog::Accepted);
    });
}

BarTest::BarTest()
{
    static_cast<QBoxLayout*>(host.layout())->insertWidget(0, &bar);
    bar.SetTableView(&view);
}

void BarTest::ApplyFormula(const QString& text)
{
    bar.UpdateCommandUi();
    auto* field = static_cast<QLineEdit*>(bar.Control(CommandBar::IDC_FORMULA_TEXT));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
    QTest::mouseClick(bar.Control(CommandBar::IDC_FORMULA), Qt::LeftButton);
}

MagicCodeBox& BarTest::Codes() const
{
    return *static_cast<MagicCodeBox*>(bar.Control(CommandBar::IDC_MAGIC_CODES));
}

void BarTest::ChooseCode(int tableRow, bool click)
{
    bar.UpdateCommandUi();
    QTest::mouseClick(&Codes(), Qt::LeftButton);
    QAbstractItemView* list = Codes().view();
    const QModelIndex entry = list->model()->index(Codes().findData(tableRow), 0);
    list->scrollTo(entry);
    list->setCurrentIndex(entry);
    if (click) {
        // The list ignores a release too soon after it opened: it would end
        // the click that opened it.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
    } else {
        QTest::keyClick(list, Qt::Key_Return);
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(list->isVisible());
}

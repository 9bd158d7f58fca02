#pragma once

#include "grid/CGridCtrl.h"
#include "table_editor/CCarvestoneView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

// What the table benchmarks share: a view shown as on a screen and a table
// opened in it the way the user opens one.
namespace ViewBench {

inline void ShowExposed(QWidget& widget)
{
    widget.resize(1600, 1000);
    widget.show();
    QElapsedTimer timer;
    timer.start();
    while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// Opens the table as the user does and paints the new tab's grid.
[[gnu::noinline]] inline void OpenAndPaint(CCarvestoneView& view, const QString& name)
{
    if (!view.OpenTable(name))
        std::fprintf(stderr, "could not open %s\n", qPrintable(name));
    if (CGridCtrl* grid = view.GetCurrentGrid())
        grid->viewport()->repaint();
}

} // namespace ViewBench

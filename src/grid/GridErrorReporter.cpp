#include "grid/GridErrorReporter.h"

#include <QtDebug>

#include <utility>

GridErrorReporter::Reporter& GridErrorReporter::Current()
{
    static Reporter reporter;
    return reporter;
}

void GridErrorReporter::Set(Reporter reporter)
{
    Current() = std::move(reporter);
}

void GridErrorReporter::Report(QWidget* grid, const QString& text)
{
    if (Current())
        Current()(grid, text);
    else
        qWarning() << text;
}

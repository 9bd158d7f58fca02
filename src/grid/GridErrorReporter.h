#pragma once

#include <QString>

#include <functional>

class QWidget;

// The one place every grid's failures go to, as CGridCtrl::SetErrorReporter
// sets it; while none is set they go to the log.
class GridErrorReporter
{
public:
    using Reporter = std::function<void(QWidget* grid, const QString& text)>;

    static void Set(Reporter reporter);
    static void Report(QWidget* grid, const QString& text);

private:
    static Reporter& Current();
};

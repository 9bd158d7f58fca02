#pragma once

#include "ui/CommandTarget.h"

#include <QString>

#include <functional>

class CCarvestoneDoc;
class CarvestoneSettings;
class MpqLibrary;
class QWidget;

// The main window's Build and Install commands: when they are offered, and
// what they do with the open project.
class BuildInstallCommands : public CommandTarget
{
public:
    BuildInstallCommands(MpqLibrary& library, const CarvestoneSettings& settings);

    void SetDocument(const CCarvestoneDoc* openProject) { document = openProject; }
    void SetOwner(QWidget* window) { owner = window; }
    // Where a finished install says what went where (the status bar).
    void SetStatusReport(std::function<void(const QString&)> report) { statusReport = std::move(report); }

    // Runs the "Building - " dialog for the open project; nothing happens
    // when the project's title has no ".".
    void OnBuild();
    // Asks first; a failure is reported in a message box.
    void OnInstall();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;

private:
    MpqLibrary& library;
    const CarvestoneSettings& settings;
    const CCarvestoneDoc* document = nullptr;
    QWidget* owner = nullptr;
    std::function<void(const QString&)> statusReport;
};

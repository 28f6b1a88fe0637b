#pragma once

#include "install/Installer.h"
#include "platform/widgets/DialogService.h"
#include "shell/AppContext.h"

#include <QTemporaryDir>
#include <memory>

class BaseServidorPrueba;

// A fresh installation folder in a temporary directory, laid out by the real
// installer, and a context opened on it as start-up would. With
// ORBALIA_MOTOR=servidor the context's database is the office carried onto a
// database of its own on the test cluster, as orbalia-install --servidor does,
// and the seat points there: the same suite then proves the server.
class TestInstallation {
public:
    explicit TestInstallation(const orb::install::InstallOptions& options = {});
    ~TestInstallation();

    QString path() const; // ends in "/"
    QString file(const QString& name) const { return path() + name; }

    // A context on this folder with the agency database open and a scripted
    // dialog service; facts as installed unless changed afterwards.
    orb::AppContext& context();
    ui::ScriptedDialogService& dialogs() { return dialogs_; }

private:
    QTemporaryDir dir_;
    ui::ScriptedDialogService dialogs_;
    std::unique_ptr<orb::AppContext> ctx_;
    std::unique_ptr<BaseServidorPrueba> servidor_;
};

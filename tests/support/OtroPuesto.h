#pragma once

#include "TestServers.h"
#include "platform/widgets/DialogService.h"
#include "shell/AppContext.h"

#include <QTemporaryDir>

// Another seat of the same agency inside the test process: a folder of its own
// and its own connection to the first seat's agency database (on the server
// another PC signed in, on the file a second copy of the program on the same
// PC), shared under its own folder's database path so its record windows take
// it. Its notices of other seats' changes are started, retrying quickly.
class OtroPuesto {
public:
    explicit OtroPuesto(orb::AppContext& primero) {
        if (!dir_.isValid())
            qFatal("cannot create a temporary folder");
        ctx_.PonerCarpeta(dir_.path() + u'/');
        ctx_.facts = primero.facts;
        ctx_.AddAgainConfig = primero.AddAgainConfig;
        ctx_.dialogs = &dialogs_;
        ctx_.BaseDatosAgencia = primero.db().reopen();
        db::Database::shareAs(ctx_.RutaBaseDatos, ctx_.BaseDatosAgencia);
        ctx_.VersionBD = primero.VersionBD;
        ctx_.avisos.setEsperaReintento(100);
        ctx_.avisos.iniciar(ctx_.BaseDatosAgencia);
    }

    orb::AppContext& context() { return ctx_; }
    // On the file this seat hears of others' changes when one of its windows
    // is activated (the main window's own test proves that path); on the
    // server nothing is needed.
    void llega() {
        if (!testservers::onServer())
            ctx_.avisos.comprobar();
    }
    ui::ScriptedDialogService& dialogs() { return dialogs_; }

private:
    QTemporaryDir dir_;
    ui::ScriptedDialogService dialogs_;
    orb::AppContext ctx_;
};

#include "WindowRegistry.h"

#include "AppContext.h"

#include <QWidget>

namespace orb {

void Navigator::usrShowReport(QWidget* rep, const QString& titulo) {
    if (!rep)
        return;
    rep->setWindowTitle(titulo);
    usrShow(rep);
}

void WindowRegistry::registrar(Ventana v, FabricaVentana fabrica) {
    ventanas_[indice(v)] = std::move(fabrica);
    Q_EMIT cambiado();
}

void WindowRegistry::registrarListado(Listado l, FabricaListado fabrica) {
    listados_[static_cast<std::size_t>(l)] = std::move(fabrica);
    Q_EMIT cambiado();
}

void WindowRegistry::registrarCorreo(FuncionEmailPara para, FuncionEmailDossier dossier) {
    emailPara_ = std::move(para);
    emailDossier_ = std::move(dossier);
    Q_EMIT cambiado();
}

bool WindowRegistry::registrado(Listado l) const {
    const FabricaListado& f = listado(l);
    return f.crear && f.preparar;
}

} // namespace orb

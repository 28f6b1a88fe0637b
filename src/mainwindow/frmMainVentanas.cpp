#include "frmMain.h"

#include "shell/IrRegistroTarget.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <array>

// The main window's slots: which window of each kind and side is open, how a
// window is shown, placed and centred, and the operations other windows call.

namespace orb {

namespace {

// Names under which a seat remembers where each kind of window was.
constexpr std::array<const char*, NumVentanas> NombresVentana = {"Propiedades",
                                                                 "Clientes",
                                                                 "Propietarios",
                                                                 "BusPropiedades",
                                                                 "BusClientes",
                                                                 "BusPropietarios",
                                                                 "Tipos",
                                                                 "Localidades",
                                                                 "Areas",
                                                                 "Configuracion",
                                                                 "ExportacionWeb",
                                                                 "ExportacionOficina",
                                                                 "ImportacionOficina",
                                                                 "ExportacionPortales",
                                                                 "Agentes"};

QString claveVentana(Ventana v, bool alquiler) {
    return QString::fromLatin1(NombresVentana[static_cast<std::size_t>(v)]) +
           (alquiler ? QStringLiteral("Alquiler") : QStringLiteral("Venta"));
}

} // namespace

void frmMain::mostrarVentana(Ventana v, bool modoAlquiler) {
    QPointer<QWidget>& slot = slots_[static_cast<std::size_t>(v)][modoAlquiler ? 1 : 0];
    if (!slot) {
        const FabricaVentana& f = registro_.fabrica(v);
        if (!f)
            return;
        QWidget* w = f(ctx_, modoAlquiler, this);
        if (!w)
            return;
        // Closing the window empties the slot; the next call loads a new one.
        w->setAttribute(Qt::WA_DeleteOnClose);
        if (!subventana(w))
            mdiArea()->addSubWindow(w);
        slot = w;
        if (!w->testAttribute(Qt::WA_SetWindowIcon))
            w->setWindowIcon(windowIcon());
        mostrarDelante(w);
        colocarPrimeraVez(w, claveVentana(v, modoAlquiler));
        return;
    }
    usrShow(slot);
}

void frmMain::mostrarHerramienta(Ventana v) {
    QPointer<QWidget>& slot = slots_[static_cast<std::size_t>(v)][0];
    if (!slot) {
        const FabricaVentana& f = registro_.fabrica(v);
        if (!f)
            return;
        QWidget* w = f(ctx_, false, this);
        if (!w)
            return;
        if (!qobject_cast<QDialog*>(w)) {
            // A plain widget is given a dialog frame so it can run modal.
            auto* marco = new QDialog(this);
            marco->setWindowTitle(w->windowTitle());
            auto* l = new QVBoxLayout(marco);
            l->setContentsMargins(0, 0, 0, 0);
            l->addWidget(w);
            if (w->testAttribute(Qt::WA_Resized))
                marco->resize(w->size());
            w = marco;
        }
        w->setAttribute(Qt::WA_DeleteOnClose);
        slot = w;
    }
    auto* dlg = static_cast<QDialog*>(slot.data());
    if (!dlg->testAttribute(Qt::WA_SetWindowIcon))
        dlg->setWindowIcon(windowIcon());
    // A dialog that chose its size keeps it; only one that did not is fitted to its contents.
    if (!dlg->testAttribute(Qt::WA_Resized))
        dlg->adjustSize();
    usrMDICenter(dlg);
    dlg->exec();
}

void frmMain::usrShow(Ventana kind, bool alquiler) {
    switch (kind) {
    case Ventana::Configuracion:
    case Ventana::ExportacionWeb:
    case Ventana::ExportacionPortales:
    case Ventana::ExportacionOficina:
    case Ventana::ImportacionOficina:
        mostrarHerramienta(kind);
        return;
    case Ventana::Tipos:
    case Ventana::Localidades:
    case Ventana::Areas:
    case Ventana::Agentes:
        mostrarVentana(kind, false);
        return;
    default:
        mostrarVentana(kind, alquiler);
    }
}
void frmMain::usrShowPropiedadesVenta() {
    mostrarVentana(Ventana::Propiedades, false);
}
void frmMain::usrShowPropiedadesAlquiler() {
    mostrarVentana(Ventana::Propiedades, true);
}
void frmMain::usrShowClientesVenta() {
    mostrarVentana(Ventana::Clientes, false);
}
void frmMain::usrShowClientesAlquiler() {
    mostrarVentana(Ventana::Clientes, true);
}
void frmMain::usrShowPropietariosVenta() {
    mostrarVentana(Ventana::Propietarios, false);
}
void frmMain::usrShowPropietariosAlquiler() {
    mostrarVentana(Ventana::Propietarios, true);
}
void frmMain::usrShowBusPropiedadesVenta() {
    mostrarVentana(Ventana::BusPropiedades, false);
}
void frmMain::usrShowBusPropiedadesAlquiler() {
    mostrarVentana(Ventana::BusPropiedades, true);
}
void frmMain::usrShowBusClientesVenta() {
    mostrarVentana(Ventana::BusClientes, false);
}
void frmMain::usrShowBusClientesAlquiler() {
    mostrarVentana(Ventana::BusClientes, true);
}
void frmMain::usrShowBusPropietariosVenta() {
    mostrarVentana(Ventana::BusPropietarios, false);
}
void frmMain::usrShowBusPropietariosAlquiler() {
    mostrarVentana(Ventana::BusPropietarios, true);
}

void frmMain::irRegistro(Ventana v, bool alquiler, const QString& cod) {
    mostrarVentana(v, alquiler);
    if (auto* destino = dynamic_cast<IrRegistroTarget*>(ventana(v, alquiler)))
        destino->IrRegistro(cod);
}
void frmMain::usrIrPropiedad(bool alquiler, const QString& cod) {
    irRegistro(Ventana::Propiedades, alquiler, cod);
}
void frmMain::usrIrPropietario(bool alquiler, const QString& cod) {
    irRegistro(Ventana::Propietarios, alquiler, cod);
}
void frmMain::usrIrCliente(bool alquiler, const QString& cod) {
    irRegistro(Ventana::Clientes, alquiler, cod);
}

QWidget* frmMain::ventana(Ventana v, bool modoAlquiler) const {
    return slots_[static_cast<std::size_t>(v)][modoAlquiler ? 1 : 0];
}

QWidget* frmMain::informe(Listado l) const {
    return informes_[static_cast<std::size_t>(l)];
}

void frmMain::usrEmailPara(const QString& direccion, const QString& nombre) {
    if (registro_.emailPara())
        registro_.emailPara()(ctx_, this, direccion, nombre);
}

void frmMain::usrEmailDossier(const QString& asunto, const QString& texto, const QString& fichero) {
    if (registro_.emailDossier())
        registro_.emailDossier()(ctx_, this, asunto, texto, fichero);
}

// ---- showing and placing windows ----

QMdiSubWindow* frmMain::subventana(QWidget* frm) const {
    for (QWidget* w = frm; w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub->mdiArea() == mdiArea() ? sub : nullptr;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

QMdiSubWindow* frmMain::mostrarDelante(QWidget* frm) {
    QMdiSubWindow* sub = subventana(frm);
    // Everything but a dialog lives in the MDI area.
    if (!sub && !qobject_cast<QDialog*>(frm))
        sub = mdiArea()->addSubWindow(frm);
    if (sub) {
        sub->setWindowIcon(frm->windowIcon());
        frm->show();
        if (sub->isMinimized() || sub->isMaximized())
            sub->showNormal();
        else
            sub->show();
        mdiArea()->setActiveSubWindow(sub);
        sub->raise();
    } else {
        frm->show();
        frm->raise();
        frm->activateWindow();
    }
    return sub;
}

void frmMain::usrShow(QWidget* frm) {
    if (!frm)
        return;
    if (!frm->testAttribute(Qt::WA_SetWindowIcon))
        frm->setWindowIcon(windowIcon());
    mostrarDelante(frm);
    // Raising a window already placed leaves it where the user put it.
    colocarPrimeraVez(frm, QString());
}

void frmMain::usrMDICenter(QWidget* frm) {
    if (!frm)
        return;
    if (QMdiSubWindow* sub = subventana(frm)) {
        const QSize area = mdiArea()->viewport()->size();
        // Never above or left of the area: the title bar must stay reachable.
        sub->move(qMax(0, (area.width() - sub->width()) / 2), qMax(0, (area.height() - sub->height()) / 2));
        return;
    }
    const QRect interior = geometry();
    QSize tam = frm->frameGeometry().size();
    if (!frm->isVisible()) {
        // The frame of a window not yet shown is unknown: take the main
        // window's, which the same window manager draws.
        tam += frameGeometry().size() - geometry().size();
    }
    frm->move(interior.x() + (interior.width() - tam.width()) / 2,
              interior.y() + (interior.height() - tam.height()) / 2);
}

void frmMain::usrScreenCenter(QWidget* frm) {
    if (!frm)
        return;
    QScreen* pantalla = frm->screen() ? frm->screen() : QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    // The work area, so the window never sits under a panel.
    const QRect r = pantalla->availableGeometry();
    const QSize tam = frm->frameGeometry().size();
    frm->move(r.x() + (r.width() - tam.width()) / 2, r.y() + (r.height() - tam.height()) / 2);
}

void frmMain::usrShowReport(QWidget* rep, const QString& titulo) {
    if (!rep)
        return;
    rep->setWindowTitle(titulo);
    rep->setWindowIcon(windowIcon());
    const bool nueva = !subventana(rep);
    QMdiSubWindow* sub = mostrarDelante(rep);
    if (sub && nueva) {
        // A page must be readable at once: most of the area, at least.
        const QSize area = mdiArea()->viewport()->size();
        sub->resize(qMax(sub->width(), area.width() * 4 / 5), qMax(sub->height(), area.height() * 9 / 10));
        sub->resize(sub->size().boundedTo(area));
    }
    colocarPrimeraVez(rep, QString());
}

void frmMain::usrShowReport2(QWidget* rep, const QString& titulo) {
    usrShowReport(rep, titulo);
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing the main window closes every child; a child that refuses keeps
    // the program running.
    const auto hijas = mdiArea()->subWindowList();
    for (QMdiSubWindow* sub : hijas) {
        if (!sub->close()) {
            event->ignore();
            return;
        }
    }
    guardarPrincipal();
    event->accept();
}

void frmMain::usrMensajeEstado(const QString& texto) {
    // Beside the bar's other notices, which a temporary message would cover.
    auto* l = statusBar()->findChild<QLabel*>(QStringLiteral("lblEstadoRegistro"));
    if (!l) {
        l = new QLabel(statusBar());
        l->setObjectName(QStringLiteral("lblEstadoRegistro"));
        l->setAccessibleName(tr("Estado del registro"));
        statusBar()->addPermanentWidget(l);
    }
    l->setText(texto);
}

} // namespace orb

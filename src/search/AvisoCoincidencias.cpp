#include "AvisoCoincidencias.h"

#include "Coincidencias.h"
#include "frmCoincidencias.h"
#include "platform/widgets/ResultGrid.h"
#include "shell/AppContext.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace orb {

namespace {

// Lowers the calling thread (the count's own) to the least share of the
// processor; a no-op where threads have no nice value of their own.
void cederProcesador() {
#ifdef Q_OS_LINUX
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
#endif
}

} // namespace

AvisoCoincidencias::AvisoCoincidencias(AppContext& ctx, QMainWindow& principal)
    : QObject(&principal), ctx_(ctx) {
    etiqueta = new QLabel(&principal);
    etiqueta->setObjectName(QStringLiteral("lblCoincidencias"));
    etiqueta->setAccessibleName(tr("Clientes con propiedades nuevas"));
    principal.statusBar()->addWidget(etiqueta, 1);

    accion = new QAction(tr("Clientes con propie&dades nuevas"), this);
    accion->setObjectName(QStringLiteral("mnuClientesNovedades"));
    connect(accion, &QAction::triggered, this, [this] {
        contarAhora();
        mostrarLista();
    });
    // The tools menu, found by its name or its Spanish title so the main window needs no change.
    for (QAction* a : principal.menuBar()->actions())
        if (a->menu() &&
            (a->menu()->objectName() == u"mnuMain(2)" || a->text().remove(u'&') == u"Herramientas")) {
            a->menu()->addSeparator();
            a->menu()->addAction(accion);
        }
    // Count again when a property or a client is stored or deleted anywhere
    // (an office import tells its tables too).
    connect(&ctx_.cambios, &CambiosRegistros::registroCambiado, this, [this](const QString& tabla) {
        if (CambiosRegistros::esDe(tabla, {"Propiedades", "Clientes"}))
            actualizar();
    });
    hilo_.setMaxThreadCount(1);
    vigilante_ = new QFutureWatcher<Cuenta>(this);
    connect(vigilante_, &QFutureWatcherBase::finished, this, &AvisoCoincidencias::contado);
    // After the window shows.
    QTimer::singleShot(0, this, &AvisoCoincidencias::actualizar);
}

QString AvisoCoincidencias::Texto(qsizetype clientes) {
    if (clientes == 0)
        return tr("Ningún cliente en espera tiene propiedades nuevas que encajen.");
    return tr("%n clientes en espera tienen propiedades nuevas que encajan.", nullptr, int(clientes));
}

void AvisoCoincidencias::actualizar() {
    if (!ctx_.BaseDatosAgencia)
        return;
    if (vigilante_->isRunning()) {
        otraVez_ = true; // a change came while counting: it is counted next
        return;
    }
    etiqueta->setText(tr("Buscando clientes con propiedades nuevas…"));
    // Counting reads every waiting client and every property on offer: on a
    // connection of its own, away from the windows, which stay usable meanwhile.
    vigilante_->setFuture(
        QtConcurrent::run(&hilo_, [principal = ctx_.BaseDatosAgencia, numero = ++numero_]() -> Cuenta {
            cederProcesador();
            try {
                const auto base = principal->reopen({.readOnly = true});
                return {numero, coincidencias::ClientesConNovedades(*base)};
            } catch (const db::DbError&) {
                // Only a hint: a database that cannot be read now is told by whatever reads it next.
                return {numero, std::nullopt};
            }
        }));
}

void AvisoCoincidencias::contado() {
    const Cuenta cuenta = vigilante_->result();
    if (cuenta.numero != numero_)
        return;
    clientes_ = cuenta.clientes.value_or(QStringList());
    if (otraVez_) {
        otraVez_ = false;
        actualizar();
        return;
    }
    etiqueta->setText(Texto(clientes_.size()));
    Q_EMIT cuentaTerminada();
}

void AvisoCoincidencias::contarAhora() {
    if (!ctx_.BaseDatosAgencia)
        return;
    // Whatever a count under way finds is older than this one.
    vigilante_->waitForFinished();
    ++numero_;
    otraVez_ = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        clientes_ = coincidencias::ClientesConNovedades(ctx_.db());
    } catch (const db::DbError&) {
        clientes_.clear();
    }
    QApplication::restoreOverrideCursor();
    etiqueta->setText(Texto(clientes_.size()));
    Q_EMIT cuentaTerminada();
}

QWidget* AvisoCoincidencias::mostrarLista() {
    if (!ctx_.navigator)
        return nullptr;
    auto* w = new frmClientesNovedades(ctx_, clientes_);
    ctx_.navigator->usrShowReport(w, tr("Clientes con propiedades nuevas"));
    return w;
}

frmClientesNovedades::frmClientesNovedades(AppContext& ctx, const QStringList& clientes, QWidget* parent)
    : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmClientesNovedades"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* v = new QVBoxLayout(this);
    grid = new QTableWidget(0, 4, this);
    grid->setObjectName(QStringLiteral("grdClientesNovedades"));
    grid->setAccessibleName(tr("Clientes con propiedades nuevas"));
    grid->setHorizontalHeaderLabels({tr("Código"), tr("Nombre"), tr("Lado"), tr("Teléfono")});
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    ui::disableCornerButton(grid, tr("Esquina de la tabla"));
    v->addWidget(grid, 1);
    for (const QString& cod : clientes) {
        const QList<db::Row> filas = ctx_.db().query(
            QStringLiteral("SELECT Cod, Nombre, Alquiler, Telefono FROM Clientes WHERE Cod = ?"), {cod});
        if (filas.isEmpty())
            continue;
        const db::Row& r = filas.first();
        const int fila = grid->rowCount();
        grid->insertRow(fila);
        alquiler_ << r[2].toBool();
        const QStringList celdas{r[0].toString(), r[1].toString(),
                                 r[2].toBool() ? tr("Alquileres") : tr("Ventas"), r[3].toString()};
        for (int j = 0; j < celdas.size(); ++j)
            grid->setItem(fila, j, new QTableWidgetItem(celdas[j]));
    }
    grid->resizeColumnsToContents();
    if (grid->rowCount() > 0)
        grid->selectRow(0);

    auto* h = new QHBoxLayout;
    cmdVer = new QPushButton(tr("&Propiedades que encajan"), this);
    cmdVer->setObjectName(QStringLiteral("cmdVer"));
    cmdVer->setAccessibleName(tr("Propiedades que encajan"));
    cmdIr = new QPushButton(tr("&Ir al cliente"), this);
    cmdIr->setObjectName(QStringLiteral("cmdIr"));
    cmdIr->setAccessibleName(tr("Ir al cliente"));
    h->addWidget(cmdVer);
    h->addWidget(cmdIr);
    h->addStretch(1);
    v->addLayout(h);
    connect(cmdVer, &QPushButton::clicked, this, [this] {
        const int f = grid->currentRow();
        if (f >= 0)
            frmCoincidencias::Mostrar(ctx_, frmCoincidencias::Modo::DeCliente, grid->item(f, 0)->text());
    });
    connect(cmdIr, &QPushButton::clicked, this, [this] {
        const int f = grid->currentRow();
        if (f >= 0 && ctx_.navigator)
            ctx_.navigator->usrIrCliente(alquiler_.value(f), grid->item(f, 0)->text());
    });
    resize(560, 360);
}

} // namespace orb

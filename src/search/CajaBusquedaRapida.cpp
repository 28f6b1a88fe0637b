#include "CajaBusquedaRapida.h"

#include "shell/AppContext.h"
#include "shell/ErrorReport.h"

#include <QApplication>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QtConcurrent>
#include <utility>

namespace orb {

namespace {

QString NombreClase(ClaseRapida c) {
    switch (c) {
    case ClaseRapida::Propiedad:
        return CajaBusquedaRapida::tr("Propiedades");
    case ClaseRapida::Propietario:
        return CajaBusquedaRapida::tr("Propietarios");
    case ClaseRapida::Cliente:
        break;
    }
    return CajaBusquedaRapida::tr("Clientes");
}

// A recent record's line, after its kind.
QString LineaReciente(ClaseRapida c, const QString& linea) {
    switch (c) {
    case ClaseRapida::Propiedad:
        return CajaBusquedaRapida::tr("Propiedad: %1").arg(linea);
    case ClaseRapida::Propietario:
        return CajaBusquedaRapida::tr("Propietario: %1").arg(linea);
    case ClaseRapida::Cliente:
        break;
    }
    return CajaBusquedaRapida::tr("Cliente: %1").arg(linea);
}

constexpr int RolIndice = Qt::UserRole + 1;

} // namespace

CajaBusquedaRapida::CajaBusquedaRapida(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("CajaBusquedaRapida"));
    txtBuscar = new QLineEdit(this);
    txtBuscar->setObjectName(QStringLiteral("txtBuscar"));
    txtBuscar->setPlaceholderText(tr("Buscar (Ctrl+F)"));
    txtBuscar->setToolTip(tr("Búsqueda rápida: referencia, dirección, nombre, teléfono, e-mail o DNI"));
    txtBuscar->setAccessibleName(tr("Búsqueda rápida"));
    txtBuscar->setMinimumWidth(220);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(txtBuscar);

    // A window of its own over whatever lies below the toolbar; the focus
    // stays in the box, the arrows move through the list.
    lstResultados = new QListWidget(this);
    lstResultados->setObjectName(QStringLiteral("lstResultados"));
    lstResultados->setAccessibleName(tr("Resultados de la búsqueda rápida"));
    lstResultados->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    lstResultados->setAttribute(Qt::WA_ShowWithoutActivating);
    lstResultados->setFocusPolicy(Qt::NoFocus);
    lstResultados->hide();

    pausa_ = new QTimer(this);
    pausa_->setSingleShot(true);
    pausa_->setInterval(PausaMs);
    connect(pausa_, &QTimer::timeout, this, &CajaBusquedaRapida::buscarYa);
    connect(txtBuscar, &QLineEdit::textEdited, pausa_, qOverload<>(&QTimer::start));
    connect(txtBuscar, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (t.isEmpty())
            pausa_->start();
    });
    connect(lstResultados, &QListWidget::itemClicked, this, &CajaBusquedaRapida::abrir);
    vigilante_ = new QFutureWatcher<Resultado>(this);
    connect(vigilante_, &QFutureWatcher<Resultado>::finished, this, &CajaBusquedaRapida::encontrado);
    txtBuscar->installEventFilter(this);
}

void CajaBusquedaRapida::activar() {
    txtBuscar->setFocus(Qt::ShortcutFocusReason);
    txtBuscar->selectAll();
    if (txtBuscar->text().isEmpty())
        buscarYa();
}

void CajaBusquedaRapida::buscarYa() {
    pausa_->stop();
    const QString texto = txtBuscar->text();
    if (texto.trimmed().size() < 2) {
        ++numero_; // a search still running is not shown
        mostrar(texto.trimmed().isEmpty() ? Recientes() : QList<Encontrado>{}, true);
        return;
    }
    // On a read-only connection of its own, away from the windows: typing
    // never waits for a search; only the latest one's rows are shown.
    const int numero = ++numero_;
    vigilante_->setFuture(
        QtConcurrent::run([principal = ctx_.BaseDatosAgencia, texto, numero]() -> Resultado {
            try {
                const auto base = principal->reopen({.readOnly = true});
                return {numero, BuscarRapido(*base, texto), {}};
            } catch (const db::DbError& e) {
                return {numero, {}, e.description()};
            }
        }));
}

void CajaBusquedaRapida::encontrado() {
    const Resultado r = vigilante_->result();
    if (r.numero != numero_)
        return;
    if (!r.error.isEmpty()) {
        // The list says it; the engine's words go to the log.
        RegistrarError(tr("buscar"), db::DbError(db::ErrGeneric, r.error));
        lstResultados->clear();
        mostrados_.clear();
        lstResultados->addItem(tr("No se ha podido realizar la búsqueda."));
        colocarLista();
    } else {
        mostrar(r.encontrados, false);
    }
    if (std::exchange(abrirAlLlegar_, false))
        abrir(lstResultados->currentItem());
    Q_EMIT buscado();
}

void CajaBusquedaRapida::mostrar(const QList<Encontrado>& encontrados, bool recientes) {
    lstResultados->clear();
    mostrados_ = encontrados;
    if (encontrados.isEmpty() && recientes) {
        lstResultados->hide();
        return;
    }
    if (encontrados.isEmpty())
        lstResultados->addItem(tr("No se ha encontrado nada."));
    if (recientes && !encontrados.isEmpty()) {
        auto* titulo = new QListWidgetItem(tr("Abiertos últimamente"), lstResultados);
        titulo->setFlags(Qt::ItemIsEnabled);
        QFont f = titulo->font();
        f.setBold(true);
        titulo->setFont(f);
    }
    std::optional<ClaseRapida> grupo;
    for (int i = 0; i < encontrados.size(); ++i) {
        const Encontrado& e = encontrados.at(i);
        if (!recientes && grupo != e.clase) {
            grupo = e.clase;
            auto* titulo = new QListWidgetItem(NombreClase(e.clase), lstResultados);
            titulo->setFlags(Qt::ItemIsEnabled); // a heading, never chosen
            QFont f = titulo->font();
            f.setBold(true);
            titulo->setFont(f);
        }
        QString linea =
            QStringLiteral("%1  %2  (%3)").arg(e.cod, e.texto, e.alquiler ? tr("Alquiler") : tr("Venta"));
        if (recientes)
            linea = LineaReciente(e.clase, linea);
        auto* item = new QListWidgetItem(QStringLiteral("    ") + linea, lstResultados);
        item->setData(RolIndice, i);
        item->setData(Qt::AccessibleTextRole, linea);
    }
    for (int r = 0; r < lstResultados->count(); ++r)
        if (lstResultados->item(r)->data(RolIndice).isValid()) {
            lstResultados->setCurrentRow(r);
            break;
        }
    colocarLista();
}

void CajaBusquedaRapida::colocarLista() {
    const QPoint abajo = txtBuscar->mapToGlobal(QPoint(0, txtBuscar->height()));
    const int alto = std::min(lstResultados->count(), 16) * (lstResultados->sizeHintForRow(0) + 1) + 6;
    lstResultados->setGeometry(abajo.x(), abajo.y(), std::max(txtBuscar->width(), 480), alto);
    lstResultados->show();
    lstResultados->raise();
}

void CajaBusquedaRapida::abrir(QListWidgetItem* item) {
    if (!item || !item->data(RolIndice).isValid())
        return;
    const Encontrado e = mostrados_.value(item->data(RolIndice).toInt());
    lstResultados->hide();
    RecordarReciente(e);
    if (!ctx_.navigator)
        return;
    switch (e.clase) {
    case ClaseRapida::Propiedad:
        ctx_.navigator->usrIrPropiedad(e.alquiler, e.cod);
        break;
    case ClaseRapida::Propietario:
        ctx_.navigator->usrIrPropietario(e.alquiler, e.cod);
        break;
    case ClaseRapida::Cliente:
        ctx_.navigator->usrIrCliente(e.alquiler, e.cod);
        break;
    }
}

bool CajaBusquedaRapida::eventFilter(QObject* obj, QEvent* ev) {
    if (obj == txtBuscar && ev->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(ev);
        const auto mover = [this](int paso) {
            for (int r = lstResultados->currentRow() + paso; r >= 0 && r < lstResultados->count(); r += paso)
                if (lstResultados->item(r)->data(RolIndice).isValid()) {
                    lstResultados->setCurrentRow(r);
                    return;
                }
        };
        switch (k->key()) {
        case Qt::Key_Down:
            if (!lstResultados->isVisible())
                buscarYa();
            else
                mover(1);
            return true;
        case Qt::Key_Up:
            mover(-1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // What was typed last is looked for before opening; its rows open the first one.
            if (pausa_->isActive() || vigilante_->isRunning()) {
                if (pausa_->isActive())
                    buscarYa();
                abrirAlLlegar_ = true;
                return true;
            }
            abrir(lstResultados->currentItem());
            return true;
        case Qt::Key_Escape:
            if (lstResultados->isVisible()) {
                lstResultados->hide();
                return true;
            }
            break;
        default:
            break;
        }
    }
    if (obj == txtBuscar && ev->type() == QEvent::FocusOut && !lstResultados->underMouse())
        lstResultados->hide();
    return QWidget::eventFilter(obj, ev);
}

} // namespace orb

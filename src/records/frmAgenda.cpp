#include "frmAgenda.h"

#include "frmVisitas.h"
#include "platform/widgets/ResultGrid.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Fechas.h"
#include "shell/Mensajes.h"
#include "shell/OfficeRules.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSaveFile>
#include <QStackedWidget>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace orb {

namespace {

QString linea(const visitas::Visita& v) {
    QString t = v.hora.toString(QStringLiteral("HH:mm")) + u' ' + v.codPropiedad;
    if (!v.cliente.isEmpty())
        t += QStringLiteral(" · ") + v.cliente;
    if (!v.agente.isEmpty())
        t += QStringLiteral(" · ") + v.agente;
    if (v.estado != visitas::Prevista)
        t += QStringLiteral(" (") + v.estado + u')';
    return t;
}

// The seat's locale (day and month names); Spanish, the program's own
// language, where none was set and the C locale stands in.
QLocale localeAgenda() {
    const QLocale l;
    return l.language() == QLocale::C ? QLocale(QLocale::Spanish, QLocale::Spain) : l;
}

QPushButton* boton(QWidget* parent, QLayout* layout, const QString& texto, const QString& nombre) {
    auto* b = new QPushButton(texto, parent);
    b->setAccessibleName(nombre);
    layout->addWidget(b);
    return b;
}

} // namespace

frmAgenda::frmAgenda(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmAgenda"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Agenda de visitas"));
    auto* v = new QVBoxLayout(this);

    auto* barra = new QHBoxLayout;
    cmdAnterior = boton(this, barra, tr("< &Anterior"), tr("Anterior"));
    txtDia = new QDateEdit(QDate::currentDate(), this);
    txtDia->setCalendarPopup(true);
    // Day names in the seat's language, whatever the system's.
    const QLocale idioma = localeAgenda();
    txtDia->setLocale(idioma);
    txtDia->setDisplayFormat(QStringLiteral("dddd dd/MM/yyyy"));
    int ancho = 0;
    for (int d = Qt::Monday; d <= Qt::Sunday; ++d)
        ancho = qMax(ancho, txtDia->fontMetrics().horizontalAdvance(idioma.dayName(d) +
                                                                    QStringLiteral(" 00/00/0000")));
    txtDia->setMinimumWidth(ancho + 48);
    txtDia->setAccessibleName(tr("Día"));
    barra->addWidget(txtDia);
    cmdHoy = boton(this, barra, tr("&Hoy"), tr("Hoy"));
    cmdSiguiente = boton(this, barra, tr("&Siguiente >"), tr("Siguiente"));
    barra->addSpacing(12);
    cmdVistaDia = boton(this, barra, tr("&Día"), tr("Vista de un día"));
    cmdVistaSemana = boton(this, barra, tr("Se&mana"), tr("Vista de la semana"));
    auto* grupo = new QButtonGroup(this);
    for (QPushButton* b : {cmdVistaDia, cmdVistaSemana}) {
        b->setCheckable(true);
        grupo->addButton(b);
    }
    cmdVistaDia->setChecked(true);
    barra->addStretch(1);
    auto* lblAgente = new QLabel(tr("A&gente:"), this);
    cboAgente = new QComboBox(this);
    cboAgente->setAccessibleName(tr("Agente"));
    cboAgente->setMinimumContentsLength(12);
    lblAgente->setBuddy(cboAgente);
    barra->addWidget(lblAgente);
    barra->addWidget(cboAgente);
    auto* lblOficina = new QLabel(tr("&Oficina:"), this);
    cboOficina = new QComboBox(this);
    cboOficina->setAccessibleName(tr("Oficina"));
    lblOficina->setBuddy(cboOficina);
    barra->addWidget(lblOficina);
    barra->addWidget(cboOficina);
    v->addLayout(barra);

    paginas_ = new QStackedWidget(this);
    tablaDia = new QTableWidget(0, 6, paginas_);
    tablaDia->setAccessibleName(tr("Visitas del día"));
    tablaDia->setHorizontalHeaderLabels(
        {tr("Hora"), tr("Propiedad"), tr("Dirección"), tr("Cliente"), tr("Agente"), tr("Estado")});
    tablaDia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tablaDia->setSelectionBehavior(QAbstractItemView::SelectRows);
    tablaDia->setSelectionMode(QAbstractItemView::SingleSelection);
    tablaDia->horizontalHeader()->setStretchLastSection(true);
    tablaDia->verticalHeader()->hide();
    ui::disableCornerButton(tablaDia, tr("Esquina de las visitas del día"));
    paginas_->addWidget(tablaDia);
    connect(tablaDia, &QTableWidget::cellDoubleClicked, this, [this] { abrirVisita(); });

    auto* semana = new QWidget(paginas_);
    auto* g = new QGridLayout(semana);
    g->setContentsMargins(0, 0, 0, 0);
    for (int d = 0; d < 7; ++d) {
        auto* titulo = new QLabel(semana);
        titulo->setAlignment(Qt::AlignCenter);
        auto* l = new QListWidget(semana);
        l->setWordWrap(true);
        titulo->setBuddy(l);
        g->addWidget(titulo, 0, d);
        g->addWidget(l, 1, d);
        g->setColumnStretch(d, 1);
        titulosSemana << titulo;
        listasSemana << l;
        connect(l, &QListWidget::itemDoubleClicked, this, [this] { abrirVisita(); });
        connect(l, &QListWidget::currentItemChanged, this, [this, l](QListWidgetItem* item) {
            // One choice in the whole week.
            if (!item)
                return;
            for (QListWidget* otra : listasSemana)
                if (otra != l)
                    otra->setCurrentItem(nullptr);
        });
    }
    paginas_->addWidget(semana);
    v->addWidget(paginas_, 1);

    auto* acciones = new QHBoxLayout;
    cmdNueva = boton(this, acciones, tr("&Nueva visita"), tr("Nueva visita"));
    cmdAbrir = boton(this, acciones, tr("A&brir"), tr("Abrir visita"));
    cmdMover = boton(this, acciones, tr("&Mover…"), tr("Mover visita"));
    cmdAnular = boton(this, acciones, tr("Anu&lar"), tr("Anular visita"));
    acciones->addStretch(1);
    cmdCalendario = boton(this, acciones, tr("&Exportar calendario (.ics)"), tr("Exportar calendario"));
    v->addLayout(acciones);

    connect(cmdAnterior, &QPushButton::clicked, this,
            [this] { mostrarDia(dia().addDays(vista_ == Semana ? -7 : -1)); });
    connect(cmdSiguiente, &QPushButton::clicked, this,
            [this] { mostrarDia(dia().addDays(vista_ == Semana ? 7 : 1)); });
    connect(cmdHoy, &QPushButton::clicked, this, [this] { mostrarDia(QDate::currentDate()); });
    connect(txtDia, &QDateEdit::dateChanged, this, [this] { leer(); });
    connect(cmdVistaDia, &QPushButton::clicked, this, [this] { ponerVista(Dia); });
    connect(cmdVistaSemana, &QPushButton::clicked, this, [this] { ponerVista(Semana); });
    connect(cboAgente, &QComboBox::currentIndexChanged, this, [this] { leer(); });
    connect(cboOficina, &QComboBox::currentIndexChanged, this, [this] { leer(); });
    connect(cmdNueva, &QPushButton::clicked, this, &frmAgenda::nuevaVisita);
    connect(cmdAbrir, &QPushButton::clicked, this, &frmAgenda::abrirVisita);
    connect(cmdMover, &QPushButton::clicked, this, &frmAgenda::moverVisita);
    connect(cmdAnular, &QPushButton::clicked, this, &frmAgenda::anularVisita);
    connect(cmdCalendario, &QPushButton::clicked, this, &frmAgenda::exportarCalendario);
    connect(&ctx_.cambios, &CambiosRegistros::registroCambiado, this,
            [this](const QString& tabla, const QString&) {
                if (tabla == u"Visitas") {
                    leerFiltros();
                    leer();
                }
            });
    leerFiltros();
    leer();
    resize(980, 560);
}

QDate frmAgenda::dia() const {
    return txtDia->date();
}

void frmAgenda::mostrarDia(const QDate& d) {
    txtDia->setDate(d);
}

void frmAgenda::ponerVista(Vista vista) {
    vista_ = vista;
    (vista == Dia ? cmdVistaDia : cmdVistaSemana)->setChecked(true);
    paginas_->setCurrentIndex(vista);
    leer();
}

QString frmAgenda::agente() const {
    return cboAgente->currentIndex() <= 0 ? QString() : cboAgente->currentText();
}

QString frmAgenda::oficina() const {
    return cboOficina->currentIndex() <= 0 ? QString() : cboOficina->currentText();
}

void frmAgenda::leerFiltros() {
    try {
        for (auto [combo, valores] : {std::pair{cboAgente, visitas::AgentesConVisitas(ctx_.db())},
                                      std::pair{cboOficina, visitas::OficinasConVisitas(ctx_.db())}}) {
            const QString antes = combo->currentText();
            QSignalBlocker bloqueo(combo);
            combo->clear();
            combo->addItem(tr("(Todos)"));
            combo->addItems(valores);
            combo->setCurrentIndex(qMax(0, combo->findText(antes)));
        }
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(*ctx_.dialogs, this, tr("leer la agenda"),
                               tr("No se puede leer la agenda de visitas."), e, {}, ctx_.RutaBaseDatos);
    }
}

QList<visitas::Visita> frmAgenda::visitasDelDia(const QDate& d) const {
    return visitas::VisitasEntre(ctx_.db(), d, d, agente(), oficina());
}

void frmAgenda::leer() {
    const qint64 elegida = visitaElegida();
    try {
        if (vista_ == Dia) {
            MostrarVisitas(tablaDia, visitasDelDia(dia()), [](const visitas::Visita& v) {
                return QStringList{v.hora.toString(QStringLiteral("HH:mm")),
                                   v.codPropiedad,
                                   v.direccion,
                                   v.cliente,
                                   v.agente,
                                   v.estado};
            });
        } else {
            const QDate lunes = dia().addDays(1 - dia().dayOfWeek());
            const QList<visitas::Visita> semana =
                visitas::VisitasEntre(ctx_.db(), lunes, lunes.addDays(6), agente(), oficina());
            const QLocale idioma = localeAgenda();
            for (int d = 0; d < 7; ++d) {
                const QDate fecha = lunes.addDays(d);
                QString titulo = idioma.toString(fecha, QStringLiteral("dddd d/M"));
                titulo[0] = titulo[0].toUpper();
                titulosSemana[d]->setText(fecha == dia() ? QStringLiteral("<b>%1</b>").arg(titulo) : titulo);
                listasSemana[d]->setAccessibleName(titulo);
                listasSemana[d]->clear();
                for (const visitas::Visita& v : semana) {
                    if (v.fecha != fecha)
                        continue;
                    auto* item = new QListWidgetItem(linea(v), listasSemana[d]);
                    item->setData(Qt::UserRole, v.cod);
                    if (v.estado == visitas::Anulada) {
                        QFont f = item->font();
                        f.setStrikeOut(true);
                        item->setFont(f);
                    }
                }
            }
        }
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(*ctx_.dialogs, this, tr("leer la agenda"),
                               tr("No se puede leer la agenda de visitas."), e, {}, ctx_.RutaBaseDatos);
    }
    elegirVisita(elegida);
}

qint64 frmAgenda::visitaElegida() const {
    if (vista_ == Dia) {
        const int fila = tablaDia->currentRow();
        return fila >= 0 && tablaDia->item(fila, 0) ? tablaDia->item(fila, 0)->data(Qt::UserRole).toLongLong()
                                                    : 0;
    }
    for (QListWidget* l : listasSemana)
        if (l->currentItem())
            return l->currentItem()->data(Qt::UserRole).toLongLong();
    return 0;
}

void frmAgenda::elegirVisita(qint64 cod) {
    if (cod == 0)
        return;
    for (int i = 0; i < tablaDia->rowCount(); ++i)
        if (tablaDia->item(i, 0)->data(Qt::UserRole).toLongLong() == cod)
            tablaDia->selectRow(i);
    for (QListWidget* l : listasSemana)
        for (int i = 0; i < l->count(); ++i)
            if (l->item(i)->data(Qt::UserRole).toLongLong() == cod)
                l->setCurrentRow(i);
}

void frmAgenda::nuevaVisita() {
    FiltroVisitas f;
    f.fecha = dia();
    AbrirVisitas(ctx_, f)->nuevaVisita();
}

void frmAgenda::abrirVisita() {
    const qint64 cod = visitaElegida();
    if (cod == 0)
        return;
    FiltroVisitas f;
    f.cod = cod;
    AbrirVisitas(ctx_, f);
}

void frmAgenda::moverVisita() {
    const qint64 cod = visitaElegida();
    if (cod == 0)
        return;
    FiltroVisitas f;
    f.cod = cod;
    AbrirVisitas(ctx_, f)->moverVisita();
}

void frmAgenda::anularVisita() {
    const qint64 cod = visitaElegida();
    if (cod == 0)
        return;
    try {
        std::optional<visitas::Visita> v = visitas::LeerVisita(ctx_.db(), cod);
        if (!v || v->estado == visitas::Anulada || NoPerteneceOficina(ctx_, v->agencia))
            return;
        const auto respuesta = ctx_.dialogs->message(
            this,
            {tr("¿Anular la visita de las %1 del %2 a la propiedad %3?")
                 .arg(v->hora.toString(QStringLiteral("HH:mm")), FormatoFecha(v->fecha), v->codPropiedad),
             tr("Agenda de visitas"), ui::DialogService::Buttons::YesNo, ui::DialogService::Icon::Question,
             ui::DialogService::Answer::No});
        if (respuesta != ui::DialogService::Answer::Yes)
            return;
        v->estado = visitas::Anulada;
        visitas::GuardarVisita(ctx_.db(), *v);
        ctx_.cambios.avisar(QStringLiteral("Visitas"), QString::number(cod));
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(*ctx_.dialogs, this, tr("anular la visita"),
                               tr("No se ha podido anular la visita."), e, {}, ctx_.RutaBaseDatos);
    }
}

QString frmAgenda::exportarCalendario() {
    const QString quien = agente();
    if (quien.isEmpty()) {
        MensajeError(*ctx_.dialogs, tr("Elija un agente en la lista Agente para exportar su calendario."),
                     this);
        cboAgente->setFocus();
        return {};
    }
    QString nombre = quien;
    for (QChar& c : nombre)
        if (!c.isLetterOrNumber())
            c = u'_';
    const QString fichero = ctx_.RutaAplicacion + QStringLiteral("Visitas_%1.ics").arg(nombre);
    try {
        const QList<visitas::Visita> l =
            visitas::VisitasEntre(ctx_.db(), dia().addDays(-30), dia().addYears(1), quien, oficina());
        QSaveFile f(fichero);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(visitas::CalendarioVisitas(l, ctx_.facts.NombreAgencia)) < 0 || !f.commit()) {
            MensajeError(*ctx_.dialogs,
                         tr("No se ha podido escribir el calendario %1: %2.")
                             .arg(QDir::toNativeSeparators(fichero), f.errorString()),
                         this);
            return {};
        }
        ui::DialogService::Box box;
        box.title = tr("Agenda de visitas");
        box.text = tr("Calendario de %1 guardado en %2 (%n visitas).\n\n¿Quiere abrirlo ahora?", nullptr,
                      int(l.size()))
                       .arg(quien, QDir::toNativeSeparators(fichero));
        box.buttons = ui::DialogService::Buttons::YesNo;
        box.icon = ui::DialogService::Icon::Question;
        box.defaultButton = ui::DialogService::Answer::No;
        if (ctx_.dialogs->message(this, box) == ui::DialogService::Answer::Yes)
            QDesktopServices::openUrl(QUrl::fromLocalFile(fichero));
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(*ctx_.dialogs, this, tr("exportar el calendario"),
                               tr("No se ha podido exportar el calendario."), e, {}, ctx_.RutaBaseDatos);
        return {};
    }
    return fichero;
}

void InstalarMenuVisitas(AppContext& ctx, QMainWindow& principal) {
    auto* accion = new QAction(frmAgenda::tr("A&genda de visitas"), &principal);
    QObject::connect(accion, &QAction::triggered, &principal, [&ctx, &principal] {
        // One agenda: raised again when open.
        if (auto* abierta = principal.findChild<frmAgenda*>()) {
            if (ctx.navigator)
                ctx.navigator->usrShow(abierta);
            return;
        }
        auto* w = new frmAgenda(ctx, ctx.navigator ? ctx.navigator->ventanaPrincipal() : nullptr);
        if (ctx.navigator)
            ctx.navigator->usrShow(w);
        else
            w->show();
    });
    // The tools menu, found by its name (its title is in the seat's language)
    // so the main window needs no change.
    for (QAction* a : principal.menuBar()->actions())
        if (a->menu() && a->objectName() == u"mnuMain(2)") {
            a->menu()->addSeparator();
            a->menu()->addAction(accion);
        }
}

} // namespace orb

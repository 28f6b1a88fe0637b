#include "frmMain.h"

#include "AreaMDI.h"
#include "Icons.h"
#include "frmAbout.h"
#include "search/CajaBusquedaRapida.h"
#include "shell/IrRegistroTarget.h"
#include "shell/Puesto.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <string_view>

namespace orb {

namespace {

const QString Separador = QStringLiteral("-");

const std::array<const char*, 4> TitulosMain = {
    QT_TRANSLATE_NOOP("orb::frmMain", "&Archivos"), QT_TRANSLATE_NOOP("orb::frmMain", "&Listados"),
    QT_TRANSLATE_NOOP("orb::frmMain", "&Herramientas"), QT_TRANSLATE_NOOP("orb::frmMain", "Ay&uda")};

// No two items of a menu share a mnemonic.
constexpr std::array<const char*, 12> TitulosArchivo = {
    QT_TRANSLATE_NOOP("orb::frmMain", "Propiedades en &Venta"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Propiedades en &Alquiler"),
    QT_TRANSLATE_NOOP("orb::frmMain", "&Clientes de Ventas"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Clientes de Al&quileres"),
    QT_TRANSLATE_NOOP("orb::frmMain", "&Propietarios de Ventas"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Propietarios de Alquile&res"),
    QT_TRANSLATE_NOOP("orb::frmMain", "&Tipos"), QT_TRANSLATE_NOOP("orb::frmMain", "&Localidades"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Ar&eas"), "-", QT_TRANSLATE_NOOP("orb::frmMain", "&Salir"),
    // Shown after Ar&eas; the items before keep their numbers.
    QT_TRANSLATE_NOOP("orb::frmMain", "A&gentes")};

const std::array<const char*, 6> TitulosLis = {
    QT_TRANSLATE_NOOP("orb::frmMain", "Listado de Clientes de &Ventas"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Listado de Clientes de &Alquileres"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Listado de &Propietarios de Ventas"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Listado de Propietarios de Al&quileres"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Listado de &Localidades/Areas"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Listado de &Tipos")};

constexpr std::array<const char*, 14> TitulosTool = {
    QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de &Ventas"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de &Alquileres"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de Clie&ntes de Ventas"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de Clientes de Al&quileres"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de &Propietarios de Ventas"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de Propietarios de Alquile&res"),
    "-",
    QT_TRANSLATE_NOOP("orb::frmMain", "Exportación al &Web"),
    QT_TRANSLATE_NOOP("orb::frmMain", "Exportación a por&tales"),
    "-",
    QT_TRANSLATE_NOOP("orb::frmMain", "Exportación &Oficina"),
    QT_TRANSLATE_NOOP("orb::frmMain", "&Importación Oficina"),
    "-",
    QT_TRANSLATE_NOOP("orb::frmMain", "&Configuración")};

struct Boton {
    const char16_t* key;
    const char* tooltip; // design-time tooltip
    bool separadorDetras;
};

constexpr std::array<Boton, 13> Botones = {{
    {u"propiedades", QT_TRANSLATE_NOOP("orb::frmMain", "Propiedades"), false},
    {u"propiedadesalquiler", QT_TRANSLATE_NOOP("orb::frmMain", "Propiedades en Alquiler"), false},
    {u"clientes", QT_TRANSLATE_NOOP("orb::frmMain", "Clientes"), false},
    {u"clientesalquiler", QT_TRANSLATE_NOOP("orb::frmMain", "Clientes de Alquiler"), false},
    {u"propietarios", QT_TRANSLATE_NOOP("orb::frmMain", "Propietarios"), false},
    {u"propietariosalquiler", QT_TRANSLATE_NOOP("orb::frmMain", "Propietarios de Alquiler"), true},
    {u"busqueda", QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda"), false},
    {u"busquedaalquiler", QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de Alquileres"), false},
    {u"busquedaclientes", QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de Clientes"), false},
    {u"busquedaclientesalquiler", QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de Clientes de Alquiler"),
     false},
    {u"busquedapropietarios", QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de Propietarios"), false},
    {u"busquedapropietariosalquiler",
     QT_TRANSLATE_NOOP("orb::frmMain", "Búsqueda de Propietarios de Alquiler"), true},
    {u"salir", QT_TRANSLATE_NOOP("orb::frmMain", "Salir"), false},
}};

struct Destino {
    Ventana ventana;
    bool alquiler;
};

// mnuArchivo 0..8 and mnuTool 0..5: the window each item opens.
const std::array<Destino, 12> DestinosArchivo = {{{Ventana::Propiedades, false},
                                                  {Ventana::Propiedades, true},
                                                  {Ventana::Clientes, false},
                                                  {Ventana::Clientes, true},
                                                  {Ventana::Propietarios, false},
                                                  {Ventana::Propietarios, true},
                                                  {Ventana::Tipos, false},
                                                  {Ventana::Localidades, false},
                                                  {Ventana::Areas, false},
                                                  {Ventana::Configuracion, false}, // the separator: no window
                                                  {Ventana::Configuracion, false}, // Salir: no window
                                                  {Ventana::Agentes, false}}};
const std::array<Destino, 6> DestinosBusqueda = {{{Ventana::BusPropiedades, false},
                                                  {Ventana::BusPropiedades, true},
                                                  {Ventana::BusClientes, false},
                                                  {Ventana::BusClientes, true},
                                                  {Ventana::BusPropietarios, false},
                                                  {Ventana::BusPropietarios, true}}};

// The place of an item in its menu's table, found by its title, so that
// a reordered menu moves its commands with it.
constexpr int indiceDe(const auto& titulos, std::string_view titulo) {
    for (std::size_t i = 0; i < titulos.size(); ++i)
        if (std::string_view(titulos[i]) == titulo)
            return static_cast<int>(i);
    throw "no such menu item"; // a compile error in a constant expression
}

constexpr int ArchivoSalir = indiceDe(TitulosArchivo, "&Salir");
constexpr int ArchivoAgentes = indiceDe(TitulosArchivo, "A&gentes");
constexpr int ArchivoAreas = indiceDe(TitulosArchivo, "Ar&eas");

// mnuArchivo items that open a window (the others are the separator and Salir).
constexpr bool abreVentana(int index) {
    return index <= ArchivoAreas || index == ArchivoAgentes;
}

// The first toolbar button of the searches: those before it run mnuArchivo,
// it and the next ones mnuTool, in the same order.
constexpr int PrimerBotonBusqueda = [] {
    for (std::size_t i = 0; i < Botones.size(); ++i)
        if (std::u16string_view(Botones[i].key) == u"busqueda")
            return static_cast<int>(i);
    throw "no search button";
}();

// Modal tool windows of mnuTool.
struct Herramienta {
    int item;
    Ventana ventana;
};
constexpr std::array<Herramienta, 5> Herramientas = {{
    {indiceDe(TitulosTool, "Exportación al &Web"), Ventana::ExportacionWeb},
    {indiceDe(TitulosTool, "Exportación a por&tales"), Ventana::ExportacionPortales},
    {indiceDe(TitulosTool, "Exportación &Oficina"), Ventana::ExportacionOficina},
    {indiceDe(TitulosTool, "&Importación Oficina"), Ventana::ImportacionOficina},
    {indiceDe(TitulosTool, "&Configuración"), Ventana::Configuracion},
}};

bool ventanaHerramienta(int index, Ventana& v) {
    for (const Herramienta& h : Herramientas)
        if (h.item == index) {
            v = h.ventana;
            return true;
        }
    return false;
}

struct DatosListado {
    Listado listado;
    const char* sql;
    const char* titulo;
};

const std::array<DatosListado, 6> Listados = {{
    {Listado::Clientes, "select * from clientes where not alquiler",
     QT_TRANSLATE_NOOP("orb::frmMain", "Listado de Clientes de Ventas")},
    {Listado::Clientes, "select * from clientes where alquiler",
     QT_TRANSLATE_NOOP("orb::frmMain", "Listado de Clientes de Alquileres")},
    {Listado::Propietarios, "select * from propietarios where not alquiler",
     QT_TRANSLATE_NOOP("orb::frmMain", "Listado de Propietarios de Ventas")},
    {Listado::Propietarios, "select * from propietarios where alquiler",
     QT_TRANSLATE_NOOP("orb::frmMain", "Listado de Propietarios de Alquileres")},
    {Listado::LocalidadesAreas, "select * from listadolocalidadesareas order by LocalidadesCod, AreasCod",
     QT_TRANSLATE_NOOP("orb::frmMain", "Listado de Localidades/Areas")},
    {Listado::Tipos, "select * from tipos", QT_TRANSLATE_NOOP("orb::frmMain", "Listado de Tipos")},
}};

QString sinAmpersand(QString texto) {
    texto.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    texto.remove(u'&');
    texto.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return texto;
}

template <std::size_t N> QAction* enIndice(const std::array<QAction*, N>& items, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? items[static_cast<std::size_t>(index)]
                                                             : nullptr;
}

} // namespace

frmMain::frmMain(AppContext& ctx, WindowRegistry& registro, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), registro_(registro), mdi_(new AreaMDI(this)), puesto_(AjustesPuesto()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Orbalia 4.0"));
    setWindowIcon(iconos::aplicacion());
    ctx_.navigator = this;

    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setAccessibleName(tr("Área de ventanas"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setLogo(QPixmap());
    setCentralWidget(mdi_);

    crearMenus();
    crearMenuVentana();
    crearBarra();
    lblOficina_ = new QLabel(this);
    lblOficina_->setObjectName(QStringLiteral("lblOficina"));
    statusBar()->addPermanentWidget(lblOficina_);
    // Qt's overflow buttons appear when the window is narrow; a screen reader must be able to name them.
    for (QToolButton* b : findChildren<QToolButton*>()) {
        if (b->objectName() == u"qt_menubar_ext_button")
            b->setAccessibleName(tr("Más menús"));
        else if (b->objectName() == u"qt_toolbar_ext_button")
            b->setAccessibleName(tr("Más botones"));
    }
    actualizarComandos();
    connect(&registro_, &WindowRegistry::cambiado, this, &frmMain::actualizarComandos);
    // Another copy on the same file is heard of when the user comes back to a window.
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        if (sub)
            ctx_.avisos.comprobar();
    });
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ctx_.avisos.comprobar();
}

frmMain::~frmMain() {
    // The children closing on the way out must not rebuild a menu already gone.
    disconnect(mdi_, nullptr, this, nullptr);
    if (ctx_.navigator == this)
        ctx_.navigator = nullptr;
}

QAction* frmMain::nuevoComando(QMenu* menu, const QString& nombre, const QString& caption) {
    QAction* a = nullptr;
    if (caption == Separador) {
        a = menu->addSeparator();
    } else {
        a = menu->addAction(caption);
    }
    a->setObjectName(nombre);
    return a;
}

void frmMain::crearMenus() {
    QMenuBar* barra = menuBar();
    barra->setObjectName(QStringLiteral("mnuBarra"));
    barra->setAccessibleName(tr("Menú principal"));
    for (std::size_t i = 0; i < mnuMain_.size(); ++i) {
        const QString nombre = QStringLiteral("mnuMain(%1)").arg(i);
        QMenu* m = barra->addMenu(tr(TitulosMain[i]));
        m->setObjectName(nombre);
        m->menuAction()->setObjectName(nombre);
        m->setAccessibleName(sinAmpersand(m->title()));
        mnuMain_[i] = m;
    }
    for (std::size_t i = 0; i < mnuArchivo_.size(); ++i) {
        const int index = static_cast<int>(i);
        mnuArchivo_[i] =
            nuevoComando(mnuMain_[0], QStringLiteral("mnuArchivo(%1)").arg(i), tr(TitulosArchivo[i]));
        connect(mnuArchivo_[i], &QAction::triggered, this, [this, index] { mnuArchivo_Click(index); });
    }
    // The agents are a catalogue: beside the others, before the separator.
    mnuMain_[0]->removeAction(mnuArchivo_[ArchivoAgentes]);
    mnuMain_[0]->insertAction(mnuArchivo_[ArchivoAreas + 1], mnuArchivo_[ArchivoAgentes]);
    for (std::size_t i = 0; i < mnuLis_.size(); ++i) {
        const int index = static_cast<int>(i);
        mnuLis_[i] = nuevoComando(mnuMain_[1], QStringLiteral("mnuLis(%1)").arg(i), tr(TitulosLis[i]));
        connect(mnuLis_[i], &QAction::triggered, this, [this, index] { mnuLis_Click(index); });
    }
    for (std::size_t i = 0; i < mnuTool_.size(); ++i) {
        const int index = static_cast<int>(i);
        mnuTool_[i] = nuevoComando(mnuMain_[2], QStringLiteral("mnuTool(%1)").arg(i), tr(TitulosTool[i]));
        connect(mnuTool_[i], &QAction::triggered, this, [this, index] { mnuTool_Click(index); });
    }
    mnuAyu_[0] = nuevoComando(mnuMain_[3], QStringLiteral("mnuAyu(0)"), tr("&Acerca de"));
    connect(mnuAyu_[0], &QAction::triggered, this, [this] { mnuAyu_Click(0); });
    mnuArchivo_[ArchivoSalir]->setMenuRole(QAction::QuitRole);
    mnuArchivo_[ArchivoSalir]->setShortcut(QKeySequence::Quit);
    mnuAyu_[0]->setMenuRole(QAction::AboutRole);
}

void frmMain::crearBarra() {
    tb_ = addToolBar(tr("Barra de herramientas"));
    tb_->setObjectName(QStringLiteral("tb"));
    tb_->setAccessibleName(tr("Barra de herramientas"));
    tb_->setIconSize(QSize(24, 24));
    tb_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tb_->setFloatable(false);
    for (std::size_t i = 0; i < Botones.size(); ++i) {
        const QString key = QString::fromUtf16(Botones[i].key);
        auto* a = new QAction(iconos::botonBarra(key), tr(Botones[i].tooltip), this);
        a->setObjectName(key);
        a->setToolTip(a->text());
        tb_->addAction(a);
        if (QWidget* w = tb_->widgetForAction(a)) {
            w->setObjectName(key);
            w->setAccessibleName(a->text());
        }
        connect(a, &QAction::triggered, this, [this, key] { tb_ButtonClick(key); });
        botones_[i] = a;
        if (Botones[i].separadorDetras)
            tb_->addSeparator();
    }
    // A toolbar of its own, on a line of its own, so the command buttons keep their places.
    addToolBarBreak();
    QToolBar* barraBusqueda = addToolBar(tr("Barra de búsqueda rápida"));
    barraBusqueda->setObjectName(QStringLiteral("tbBusquedaRapida"));
    barraBusqueda->setAccessibleName(tr("Barra de búsqueda rápida"));
    barraBusqueda->setFloatable(false);
    busquedaRapida = new CajaBusquedaRapida(ctx_, barraBusqueda);
    barraBusqueda->addWidget(busquedaRapida);
    auto* buscar = new QAction(tr("Búsqueda rápida"), this);
    buscar->setObjectName(QStringLiteral("mnuBusquedaRapida"));
    buscar->setShortcut(QKeySequence::Find);
    connect(buscar, &QAction::triggered, busquedaRapida, &CajaBusquedaRapida::activar);
    addAction(buscar);
}

const QStringList& frmMain::tbKeys() {
    static const QStringList keys = [] {
        QStringList out;
        for (const Boton& b : Botones)
            out << QString::fromUtf16(b.key);
        return out;
    }();
    return keys;
}

QMenu* frmMain::mnuMain(int index) const {
    return index >= 0 && index < static_cast<int>(mnuMain_.size()) ? mnuMain_[static_cast<std::size_t>(index)]
                                                                   : nullptr;
}
QAction* frmMain::mnuArchivo(int index) const {
    return enIndice(mnuArchivo_, index);
}
QAction* frmMain::mnuLis(int index) const {
    return enIndice(mnuLis_, index);
}
QAction* frmMain::mnuTool(int index) const {
    return enIndice(mnuTool_, index);
}
QAction* frmMain::mnuAyu(int index) const {
    return enIndice(mnuAyu_, index);
}

QAction* frmMain::tbBoton(const QString& key) const {
    for (QAction* a : botones_)
        if (a->objectName().compare(key, Qt::CaseInsensitive) == 0)
            return a;
    return nullptr;
}

void frmMain::ponerTooltipBoton(const QString& key, const QString& tooltip) {
    QAction* a = tbBoton(key);
    if (!a)
        return;
    a->setText(tooltip);
    a->setToolTip(tooltip);
    if (QWidget* w = tb_->widgetForAction(a))
        w->setAccessibleName(tooltip);
}

QMdiArea* frmMain::mdiArea() const {
    return mdi_;
}
void frmMain::setFondo(const QPixmap& logo) {
    mdi_->setLogo(logo);
}
QPixmap frmMain::fondo() const {
    return mdi_->logo();
}

void frmMain::actualizarComandos() {
    for (std::size_t i = 0; i < DestinosArchivo.size(); ++i)
        if (abreVentana(int(i)))
            mnuArchivo_[i]->setEnabled(registro_.registrada(DestinosArchivo[i].ventana));
    for (std::size_t i = 0; i < DestinosBusqueda.size(); ++i)
        mnuTool_[i]->setEnabled(registro_.registrada(DestinosBusqueda[i].ventana));
    for (int i = 0; i < static_cast<int>(mnuTool_.size()); ++i) {
        Ventana v;
        if (ventanaHerramienta(i, v))
            mnuTool_[static_cast<std::size_t>(i)]->setEnabled(registro_.registrada(v));
    }
    for (std::size_t i = 0; i < Listados.size(); ++i)
        mnuLis_[i]->setEnabled(registro_.registrado(Listados[i].listado));
    mnuArchivo_[ArchivoSalir]->setEnabled(true);
    mnuAyu_[0]->setEnabled(true);

    // A toolbar button is enabled exactly when the command it runs is.
    for (QAction* b : botones_) {
        const QString key = b->objectName();
        if (key == QLatin1String("salir")) {
            b->setEnabled(true);
            continue;
        }
        const int i = static_cast<int>(tbKeys().indexOf(key));
        b->setEnabled(i < PrimerBotonBusqueda
                          ? mnuArchivo_[static_cast<std::size_t>(i)]->isEnabled()
                          : mnuTool_[static_cast<std::size_t>(i - PrimerBotonBusqueda)]->isEnabled());
    }
}

// ---- commands ----

void frmMain::mnuArchivo_Click(int index) {
    if (index == ArchivoSalir) {
        close();
        return;
    }
    if (index >= 0 && index < static_cast<int>(DestinosArchivo.size()) && abreVentana(index)) {
        const Destino& d = DestinosArchivo[static_cast<std::size_t>(index)];
        mostrarVentana(d.ventana, d.alquiler);
    }
}

void frmMain::mnuTool_Click(int index) {
    if (index >= 0 && index < static_cast<int>(DestinosBusqueda.size())) {
        const Destino& d = DestinosBusqueda[static_cast<std::size_t>(index)];
        mostrarVentana(d.ventana, d.alquiler);
        return;
    }
    Ventana v;
    if (ventanaHerramienta(index, v))
        mostrarHerramienta(v);
}

void frmMain::mnuLis_Click(int index) {
    if (index < 0 || index >= static_cast<int>(Listados.size()))
        return;
    const DatosListado& d = Listados[static_cast<std::size_t>(index)];
    const FabricaListado& f = registro_.listado(d.listado);
    if (!f.crear || !f.preparar)
        return;
    QPointer<QWidget>& rep = informes_[static_cast<std::size_t>(d.listado)];
    if (!rep) {
        QWidget* w = f.crear(ctx_, this);
        if (!w)
            return;
        w->setAttribute(Qt::WA_DeleteOnClose);
        rep = w;
    }
    if (!f.preparar(rep, QString::fromLatin1(d.sql))) {
        // A report that never showed anything is not kept.
        if (!rep->isVisible())
            delete rep.data();
        return;
    }
    usrShowReport(rep, tr(d.titulo));
}

void frmMain::mnuAyu_Click(int index) {
    if (index != 0)
        return;
    if (!about_) {
        auto* f = new frmAbout(this);
        f->setAttribute(Qt::WA_DeleteOnClose);
        about_ = f;
    }
    auto* dlg = static_cast<QDialog*>(about_.data());
    dlg->adjustSize();
    usrMDICenter(dlg);
    if (!dlg->testAttribute(Qt::WA_SetWindowIcon))
        dlg->setWindowIcon(windowIcon());
    dlg->raise();
    dlg->exec();
}

void frmMain::tb_ButtonClick(const QString& key) {
    static const QStringList archivo = {
        QStringLiteral("PROPIEDADES"),  QStringLiteral("PROPIEDADESALQUILER"),
        QStringLiteral("CLIENTES"),     QStringLiteral("CLIENTESALQUILER"),
        QStringLiteral("PROPIETARIOS"), QStringLiteral("PROPIETARIOSALQUILER")};
    static const QStringList busqueda = {QStringLiteral("BUSQUEDA"),
                                         QStringLiteral("BUSQUEDAALQUILER"),
                                         QStringLiteral("BUSQUEDACLIENTES"),
                                         QStringLiteral("BUSQUEDACLIENTESALQUILER"),
                                         QStringLiteral("BUSQUEDAPROPIETARIOS"),
                                         QStringLiteral("BUSQUEDAPROPIETARIOSALQUILER")};
    const QString k = key.toUpper();
    if (k == QLatin1String("SALIR")) {
        mnuArchivo_Click(ArchivoSalir);
    } else if (const auto i = archivo.indexOf(k); i >= 0) {
        mnuArchivo_Click(static_cast<int>(i));
    } else if (const auto j = busqueda.indexOf(k); j >= 0) {
        mnuTool_Click(static_cast<int>(j));
    }
}

// ---- window slots ----

} // namespace orb

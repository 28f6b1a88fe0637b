#pragma once

#include "RecordWindow.h"
#include "dlgDuplicados.h"
#include "maintenance/CodeAllocator.h"
#include "shell/IrRegistroTarget.h"

#include <QPointer>

class QTabWidget;
class QTableView;
class QPushButton;

namespace orb {

class ActividadModel;

class FotosPropiedad;
class PanelPropietario;
class frmPropietarioNuevo;

// Indices of the property window's controls. The indexed names are how the
// window is documented; logic reads them only through these names.
namespace prop {
// txt(n)
constexpr int Precio = 0, IEmail = 1, MetrosParcela = 2, Agencia = 3, QuickID = 4, WebDescripcion = 5,
              WebDescripcionIdioma1 = 6, PComentarios = 7, Cod = 8, WebDescripcionIdioma2 = 9,
              DossierDescripcionIdioma1 = 10, Metros = 11, Observaciones = 12, TextoFoto1 = 13,
              Direccion = 14, Planta = 15, Puerta = 16, Dormitorios = 17, Banos = 18, Aseos = 19,
              PPrecio = 20, Suelos = 21, DiasExclusiva = 22, Terrazas = 23, ArmariosEmpotrados = 24,
              TextoFoto2 = 25, TextoFoto3 = 26, TextoFoto4 = 27, PlazasGaraje = 28, Antiguedad = 29,
              Comunidad = 30, Agente = 31, Calificacion = 32, TextoFoto5 = 33, Hipoteca = 34,
              ValorEscritura = 35, FechaAlta = 36, TextoFoto6 = 37, Titularidad = 38, NumeroFinca = 39,
              ICp = 40, IMovil = 41, IProvincia = 42, ILocalidad = 43, IDireccion = 44, INombre = 45,
              ITelefono = 46, IFax = 47, IComentarios = 48, Fianza = 49, FechaInicio = 50, FechaFin = 51,
              PrecioAlquiler = 52, ObservacionesAlquiler = 53, DossierTitulo = 54, DossierDescripcion = 55,
              AnoConstruccion = 56, INie = 57, IPasaporte = 58, IDni = 59, CodTipo = 60, CodArea = 61,
              CodLocalidad = 62, CodPropietario = 63, DossierTituloIdioma1 = 64;
// chk(n)
constexpr int Firmado = 14, Exclusiva = 13, Alquiler = 15, ExportacionWeb = 16, Destacada = 17, Portales = 26;
// cbo(n)
constexpr int Estado = 0, Piscina = 1, Jardin = 2, Orientacion = 3, Garaje = 4;
// Pages, in their tab order; the sales window has no TabAlquiler or TabInquilino
// tab, so a page's place in the tab list is found from the page, not from these.
constexpr int TabCaracteristicas = 0, TabConfidencial = 1, TabFotos = 2, TabAlquiler = 3, TabInquilino = 4,
              TabActividades = 5, TabDossier = 6, TabWeb = 7;
// butEmailTo(n)
constexpr int EmailInquilino = 0, EmailPropietario = 1;
} // namespace prop

// The record window of the properties of one side: header, eight tabs, owner
// panel, photographs, activity log and the document buttons.
class frmPropiedades : public RecordWindow, public IrRegistroTarget {
    Q_OBJECT
public:
    frmPropiedades(AppContext& ctx, bool modoAlquiler, QWidget* parent = nullptr);
    ~frmPropiedades() override;

    bool ModoAlquiler() const { return modoAlquiler_; }
    // Shows the property with that code, asking first while one is being added or edited; an unknown code or
    // one of the other side leaves the window where it was.
    void IrRegistro(const QString& sCod) override;
    // Starts a new property exactly as the Add button would.
    void PulsarAñadir();

    QTabWidget* tabs = nullptr;
    QMap<int, ui::BoundCheckBox*> chk;
    QMap<int, ui::BoundComboBox*> cbo;
    QWidget *picDatosInmueble = nullptr, *picDatosPropietario = nullptr, *picFotos = nullptr,
            *picDatosAlquiler = nullptr, *picDatosInquilino = nullptr, *picActividades = nullptr,
            *picDossier = nullptr, *picWeb = nullptr;
    QToolButton *butPrint = nullptr, *butDossier = nullptr, *butPDF = nullptr, *butEmail = nullptr;
    QToolButton* butInteresados = nullptr; // "Clientes interesados"
    QToolButton *butVisitas = nullptr, *butNuevaVisita = nullptr, *butInformePropietario = nullptr;
    QMap<int, QToolButton*> butEmailTo; // 1: owner, 0: tenant
    PanelPropietario* propietario = nullptr;
    FotosPropiedad* fotos = nullptr;
    ActividadModel* actividades = nullptr;
    QTableView* grd = nullptr;
    QPushButton *cmdInsertarLinea = nullptr, *cmdBorrarLinea = nullptr;

    // Fits the work area of an 800×600 screen; the memo boxes would ask for more.
    QSize sizeHint() const override { return {790, 505}; }

    void data_CanUpdate(bool& Cancel) override;
    void data_CanDelete(bool& Cancel) override;
    void data_OnAddNew() override;
    void data_BeforeUpdate() override;
    void data_AfterUpdate() override;
    void data_AfterCommit() override;
    void data_AfterRollback() override;
    void data_Reposition() override;
    void data_StateChanged() override;

private:
    // Layout (frmPropiedadesLayout.cpp).
    void crearPestañas();
    void crearPagina(int pestaña, const QString& nombre, const QString& titulo);
    void crearCampos();
    void antesDePestaña(int pestaña);
    void despuesDeCampo(int indice);
    void despuesDePestaña(int pestaña);
    void crearActividades();
    void crearBotonesDocumento();
    void nombresUnicos();
    ui::BoundComboBox* crearLista(QWidget* page, QGridLayout* g, int indice, const QString& campo,
                                  const QString& rotulo, int fila, int columna, int span = 1);
    ui::BoundCheckBox* crearCasilla(QWidget* parent, int indice, const QString& campo, const QString& rotulo);
    QToolButton* crearBotonEmail(QWidget* parent, int indice, const QString& texto);

    // Behaviour.
    void rellenarAreas();
    void formatearImportes(bool mantenerCambios);
    void formatearFecha(int indice);
    void formatearImporte(int indice);
    void propietarioNuevo();
    void propietarioExistente();
    // Duplicates (frmPropiedadesDuplicados.cpp): owners like the one typed in
    // the dialog (existente: the one chosen instead); on confirm, available
    // properties at the same address. True when the confirm goes on.
    dlgDuplicados::Respuesta duplicadosPropietario(const frmPropietarioNuevo& dlg, QString& existente);
    bool sinDuplicados();
    QString clienteActividad(int fila);
    void emailPropietario();
    void emailInquilino();
    void actividadActual();
    void insertarLinea();
    void borrarLinea();
    bool editando() const;

    // Numbers of new properties within this office (CONTADORES / PROPIEDADES).
    CodeAllocator numeracion() const;
    void abrirDocumento(void (*accion)(AppContext&, const QString&));

    bool modoAlquiler_;
    NumeroNuevo numero_;
    QMap<int, QWidget*> paginas_;
    QMap<int, QGridLayout*> rejillas_;
};

} // namespace orb

#pragma once

#include "RecordWindow.h"
#include "reports/Visitas.h"

#include <functional>

class QTableWidget;
class QLabel;

namespace orb {

// Which visits a visit window browses, and what a new one starts with.
struct FiltroVisitas {
    QString codPropiedad; // the property's visits, and a new one's property
    QString codCliente;   // the client's visits, and a new one's client
    qint64 cod = 0;       // one visit (from the agenda)
    QDate fecha;          // a new one's day (from the agenda)
};

// "Ficha de Visitas": one visit at a time, with the list of the visits it
// browses below. The controller writes the row; the activity line of a
// realised visit is written in the same transaction.
class frmVisitas : public RecordWindow {
    Q_OBJECT
public:
    // Boxes txt(n).
    static constexpr int Propiedad = 0, Cliente = 1, Fecha = 2, Hora = 3, Duracion = 4, Agente = 5,
                         Valoracion = 6, Opinion = 7, Oferta = 8, Agencia = 9;
    // Lists cbo(n) and hidden check boxes chk(n).
    static constexpr int Estado = 0;
    static constexpr int Alquiler = 0, Anotada = 1;

    frmVisitas(AppContext& ctx, const FiltroVisitas& filtro, QWidget* parent = nullptr);

    QMap<int, ui::BoundComboBox*> cbo;
    QMap<int, ui::BoundCheckBox*> chk;
    QLabel* lblNombreCliente = nullptr;
    QLabel* lblDireccion = nullptr;
    QTableWidget* lista = nullptr;   // the visits browsed
    QToolButton* butPrint = nullptr; // "Hoja de visita"
    QToolButton* butEmail = nullptr; // the sheet by e-mail

    // The visit as the boxes hold it.
    visitas::Visita visitaEnPantalla() const;
    // Starts an add with the filter's codes and day.
    void nuevaVisita();
    // Edits the shown visit with the focus on its day (the agenda's "Mover").
    void moverVisita();

    void data_CanAddNew(bool& Cancel) override;
    void data_CanUpdate(bool& Cancel) override;
    void data_CanDelete(bool& Cancel) override;
    void data_OnAddNew() override;
    void data_BeforeUpdate() override;
    void data_Reposition() override;
    void data_StateChanged() override;

private:
    void leerLista();
    void mostrarNombres();
    QList<visitas::Visita> visitasDeLaHoja() const;
    FiltroVisitas filtro_;
};

// Opens a visit window through the main window.
frmVisitas* AbrirVisitas(AppContext& ctx, const FiltroVisitas& filtro);

// Fills a list of visits, one row each, its cells from celdas; every cell
// keeps the visit's Cod, which Open and a double click read.
void MostrarVisitas(QTableWidget* tabla, const QList<visitas::Visita>& lista,
                    const std::function<QStringList(const visitas::Visita&)>& celdas);

} // namespace orb

#pragma once

#include "SqlBusqueda.h"

#include <QMap>
#include <QWidget>
#include <memory>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;

namespace ui {
class AtajosTeclado;
class QueryTableModel;
} // namespace ui

namespace orb {

struct AppContext;

// What the three search windows share: the toolbar Picture2 (Find, New search,
// Go to, Print, the four moves, Close), the criteria panel Picture1, the
// result grid and its moves. A window builds its statement from its criteria
// (SqlBusqueda.h) and shows the rows; it never writes to the database.
class VentanaBusqueda : public QWidget {
    Q_OBJECT
public:
    bool ModoAlquiler() const { return modoAlquiler_; }

    // The statement of the rows shown now (after New search, the empty one).
    const ConsultaBusqueda& consultaActual() const { return actual_; }

    // cmdFind: builds the statement from the criteria and shows its rows. A
    // criterion that cannot be used, or a database refusal, is reported and
    // the previous result stays.
    void Buscar();
    // cmdFindDel: criteria to their opening state, empty result.
    virtual void NuevaBusqueda() = 0;
    // Moves in the result; the current row never leaves it.
    void Primero();
    void Anterior();
    void Siguiente();
    void Ultimo();
    // cmdGoto and a double click: opens the record window of this side on the
    // current row. Nothing happens without a current row.
    void IrA();

    // butPrint: the listing of the rows shown now (after New search, the
    // empty listing), through the main window's report window.
    void Imprimir();

    // Ctrl+F: the focus to the first criterion, its text selected.
    void IrACriterios();

    // Code of the current row; empty when there is none.
    QString codigoActual() const;

    // The size the window opens with (the MDI frame takes the size hint).
    QSize sizeHint() const override { return tamano_; }

    QWidget* Picture1 = nullptr;
    QWidget* Picture2 = nullptr;
    QToolButton *cmdFind, *cmdFindDel, *cmdGoto, *butPrint, *cmdFirst, *cmdPrev, *cmdNext, *cmdLast,
        *cmdClose;
    // "Resultados desactualizados": another seat changed rows of the tables the
    // result shows since it was read. Actualizar (F5) runs the statement again,
    // on the same record, and takes the mark away.
    QLabel* lblDesactualizado = nullptr;
    QToolButton* cmdActualizar = nullptr;
    bool Desactualizado() const;
    void Actualizar();
    QTableView* grd = nullptr;
    ui::QueryTableModel* dataGrid = nullptr;
    QMap<int, QLineEdit*> txt;
    QMap<int, QComboBox*> cboLookup;
    QMap<int, QComboBox*> cbo;
    QComboBox* cboOrder = nullptr;

protected:
    VentanaBusqueda(AppContext& ctx, const QString& objectName, bool modoAlquiler, QWidget* parent);

    virtual ConsultaBusqueda construir() const = 0;
    // Asks the main window for the record window of this side, positioned on cod.
    virtual void irRegistro(const QString& cod) = 0;
    // Captions and formats of the grid's columns, after every new result.
    virtual void formatearRejilla() = 0;
    // Shows the listing of q (its statement with the listing's columns).
    virtual void imprimirListado(const ConsultaBusqueda& q) = 0;

    // Shows the rows of q in the grid, first row current. False (and the
    // error box) when the database refuses it; the grid keeps what it had.
    bool mostrarResultado(const ConsultaBusqueda& q);
    // The tables the result shows rows or names of: a record of one of them
    // stored or deleted anywhere (AppContext::cambios) runs the statement again.
    void mostrarCambiosDe(std::initializer_list<const char*> tablas) { tablas_ = tablas; }

    // Criteria panel pieces, at (row, column) of Picture1's grid.
    QLabel* etiqueta(const QString& texto, int row, int column, QWidget* buddy, const QString& nombre = {});
    QLineEdit* addText(int index, const QString& label, int row, int column, int span = 1);
    // "label" [from] "a" [to] in one cell; accessible names "<label> desde/hasta".
    // muestra is the widest text a box is sized for.
    void addRango(int desde, int hasta, const QString& label, int row, int column,
                  const QString& muestra = QStringLiteral("00/00/00000"));
    // Catalogue list cboLookup(index): an empty first item (any), then the
    // catalogue rows of sql; a pick writes its code into the hidden txt(index).
    QComboBox* addListaCatalogo(int index, const QString& label, int row, int column);
    void llenarLista(int index, const QString& sql, const db::Params& params = {});
    QComboBox* addOrden(const QStringList& items, int row, int column);
    void tamanoInicial(const QSize& tamano) {
        tamano_ = tamano;
        resize(tamano);
    }
    // Catalogue lists to "any", boxes empty, sort list to its first item.
    void limpiarCriterios();

    AppContext& ctx;
    QGridLayout* panel = nullptr; // layout of Picture1

private:
    // Enter in the criteria searches, in the grid goes to the record; F3
    // searches, Ctrl+F goes to the criteria, Ctrl+P prints.
    void crearAtajos();
    void moverA(int row);
    void ponerModelo(std::unique_ptr<ui::QueryTableModel> modelo);
    // The same statement again, on the same record when it is still there.
    // preguntado: the user asked (Actualizar), so a refusal is told, not only logged.
    void refrescar(bool preguntado = false);
    // Reading a later block of the result failed: the rows read stay, the
    // user is told once and the detail goes to the log.
    void avisarErrorLectura();

    bool modoAlquiler_;
    ConsultaBusqueda actual_;
    QString errorAvisado_;
    std::vector<const char*> tablas_;
    bool refrescoPendiente_ = false;
    bool buscado_ = false; // the grid holds a search's rows, not New search's empty result
    ui::AtajosTeclado* atajos_ = nullptr;
    QSize tamano_{780, 480};
};

} // namespace orb

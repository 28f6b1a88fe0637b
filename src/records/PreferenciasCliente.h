#pragma once

#include "platform/widgets/BoundControls.h"

#include <QMap>
#include <QObject>

class QComboBox;
class QGridLayout;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace db {
class Database;
}

namespace orb {

struct AppContext;

// Indices of the wishes' boxes in the client window's txt().
namespace cli {
inline constexpr int PresupuestoMinimo = 40;
inline constexpr int DormitoriosMinimo = 41;
} // namespace cli

// The client window's tab "Preferencias": the minimum budget and bedrooms and
// the must-have features as bound controls (the controller reads and writes
// them with the row), and the wanted localities and areas, which live in
// ClientesZonas and are written by guardar() inside the confirm's transaction.
class PreferenciasCliente : public QObject {
    Q_OBJECT
public:
    // Moves what the panel's grid holds into a tab "Datos" and adds the tab
    // "Preferencias"; bound controls are created inside the panel, so the
    // controller finds them.
    PreferenciasCliente(AppContext& ctx, QWidget* panel, QGridLayout* grid, QMap<int, ui::TextControl*>& txt);

    QTabWidget* tabs = nullptr;
    ui::BoundCheckBox *chkPiscina = nullptr, *chkGaraje = nullptr, *chkAscensor = nullptr,
                      *chkTerraza = nullptr;
    QComboBox* cboLocalidad = nullptr;
    QComboBox* cboZona = nullptr;
    QPushButton* cmdAñadirZona = nullptr;
    QPushButton* cmdQuitarZona = nullptr;
    QTableWidget* grdZonas = nullptr;

    // The wanted places of the client shown (none for a new record).
    void cargar(db::Database& database, const QString& codCliente);
    void limpiar();
    // Replaces the client's places with the grid's, on the caller's connection.
    void guardar(db::Database& database, const QString& codCliente);
    // At the confirm, before anything is written: false, once the user has been
    // told naming both boxes, when the minimum budget is above the budget (the
    // maximum); such a client would never match a property.
    bool presupuestoValido(QWidget* ventana);
    // Pairs (locality, area) as the grid shows them; area 0 is the whole locality.
    QList<QPair<qint64, qint64>> zonas() const;

    void añadirZona(qint64 localidad, qint64 area);
    void quitarZona();

private:
    void llenarZonas();
    void añadirFila(qint64 localidad, qint64 area);

    AppContext& ctx_;
    ui::TextControl* minimo_ = nullptr;
    ui::TextControl* maximo_ = nullptr; // the record's Presupuesto box
    QMap<qint64, QString> localidades_;
    QMap<qint64, QPair<QString, qint64>> areas_; // area → (name, locality)
};

} // namespace orb

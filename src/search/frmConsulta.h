#pragma once

#include <QDialog>
#include <QMap>
#include <QVariant>

class QLabel;
class QPushButton;
class QTableView;

namespace db {
class Database;
}

namespace ui {
class QueryTableModel;
}

class QDialogButtonBox;

namespace orb {

// Generic two-column pick list (code and name). Accepting returns the code of
// the current row to the caller; cancelling or the close box returns nothing.
class frmConsulta : public QDialog {
    Q_OBJECT
public:
    explicit frmConsulta(QWidget* parent = nullptr);

    // Caption "Consulta de " + titulo; lblCaption shows the title in capitals.
    void setTitulo(const QString& titulo);
    // Fills the grid from a statement (column 0 Cod, column 1 the name), first
    // row current. Throws db::DbError.
    void cargar(db::Database& database, const QString& sql);

    bool aceptado() const { return aceptado_; }
    // Cod of the current row; null when there is none.
    QVariant codigo() const;

    QLabel* lblCaption = nullptr;
    QTableView* grd = nullptr;
    ui::QueryTableModel* data = nullptr;
    QMap<int, QPushButton*> cmd;

    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool aceptado_ = false;
};

// Pieces shared by the lookup dialogs.
namespace consulta {
// Read-only grid, whole-row single selection, Tab leaves it.
QTableView* crearRejilla(QWidget* parent, ui::QueryTableModel* model, const QString& nombreAccesible);
// Narrow code column, the name column takes the rest; first row current.
void ajustarRejilla(QTableView* grd);
// Push button cmd(index) with its caption; accessible name without '&'.
QPushButton* crearBoton(QWidget* parent, int index, const QString& caption);
// cmd(0) "Aceptar" (default) and cmd(1) "Cancelar" wired to accept and reject, in a button row.
QDialogButtonBox* crearAceptarCancelar(QDialog* dialog, QMap<int, QPushButton*>& cmd);
// Cod of the grid's current row, null when none.
QVariant codigoActual(const QTableView* grd);
} // namespace consulta

} // namespace orb

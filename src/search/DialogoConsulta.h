#pragma once

#include <QDialog>
#include <QMap>
#include <QVariant>

class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ui {
class QueryTableModel;
}

namespace orb {

// What the lookup dialogs share: Aceptar cmd(0) and Cancelar cmd(1), the
// accepted flag Consultar reads, and for the pick lists a read-only grid over
// a statement (rows read as it scrolls) with its filter boxes. A dialog is
// reused between calls, so every show starts as not accepted.
class DialogoConsulta : public QDialog {
    Q_OBJECT
public:
    // The buttons cmd(n) every lookup has.
    static constexpr int Aceptar = 0;
    static constexpr int Cancelar = 1;

    bool aceptado() const { return aceptado_; }
    // Cod of the grid's current row; null when there is none.
    QVariant codigo() const;

    QMap<int, QPushButton*> cmd;
    QTableView* grd = nullptr;             // null in a dialog without a grid
    ui::QueryTableModel* modelo = nullptr; // the grid's rows

    void done(int r) override;

protected:
    explicit DialogoConsulta(QWidget* parent);

    // The grid and its model; a double click on a row accepts.
    void crearRejilla(const QString& nombreAccesible);
    // After new rows: narrow code column, first row current, Aceptar only
    // when there is a row to accept.
    void rejillaCargada();
    // Push button cmd(index) with its caption; accessible name without '&'.
    QPushButton* crearBoton(int index, const QString& caption);
    // cmd(0) "Aceptar" (default) and cmd(1) "Cancelar" in a button row.
    QDialogButtonBox* crearAceptarCancelar();
    // Filter box txt(index): Enter searches instead of accepting, Down goes
    // to the grid.
    QLineEdit* crearFiltro(int index, const QString& tooltip);
    // Runs the search again with the filters.
    virtual void buscar() {}
    // Where the focus goes when the dialog shows.
    virtual QWidget* controlInicial() const = 0;

    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    bool aceptado_ = false;
    QList<QLineEdit*> filtros_;
};

} // namespace orb

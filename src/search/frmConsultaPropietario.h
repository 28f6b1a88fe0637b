#pragma once

#include <QDialog>
#include <QMap>
#include <QVariant>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ui {
class QueryTableModel;
}

namespace orb {

struct AppContext;

// Owner pick list of one side, with filters on code and name and a choice of
// order. Accepting returns the Cod of the current row.
class frmConsultaPropietario : public QDialog {
    Q_OBJECT
public:
    explicit frmConsultaPropietario(AppContext& ctx, QWidget* parent = nullptr);

    // Side and fresh start: caption, empty filters, order "Código", search.
    // The dialog is reused, so this stands for loading it again.
    void cargar(bool modoAlquiler);
    bool ModoAlquiler() const { return modoAlquiler_; }

    // Lists the owners of the side that match the filters. Filter texts are
    // "contains" criteria, bound as parameters; the wildcard the user may type
    // (ctx.Comodin, "*") stands for any run of characters. A database error is
    // reported in the error box and leaves the list empty.
    void Buscar();

    bool aceptado() const { return aceptado_; }
    QVariant codigo() const; // Cod of the current row, null when none

    QMap<int, QLineEdit*> txt;
    QComboBox* cboOrder = nullptr;
    QTableView* grd = nullptr;
    ui::QueryTableModel* data = nullptr;
    QMap<int, QPushButton*> cmd;

    void done(int r) override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    AppContext& ctx_;
    bool modoAlquiler_ = false;
    bool aceptado_ = false;
};

} // namespace orb

#pragma once

#include "DialogoConsulta.h"

class QComboBox;

namespace orb {

struct AppContext;

// Owner pick list of one side, with filters on code and name and a choice of
// order. Accepting returns the Cod of the current row.
class frmConsultaPropietario : public DialogoConsulta {
    Q_OBJECT
public:
    // Indices of the filter boxes txt(n) and of the search button cmd(n).
    static constexpr int FiltroCodigo = 0;
    static constexpr int FiltroNombre = 1;
    static constexpr int BotonBuscar = 2;

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

    QMap<int, QLineEdit*> txt;
    QComboBox* cboOrder = nullptr;

protected:
    void buscar() override { Buscar(); }
    QWidget* controlInicial() const override;

private:
    AppContext& ctx_;
    bool modoAlquiler_ = false;
};

} // namespace orb

#pragma once

#include "RecordWindow.h"
#include "maintenance/CodeAllocator.h"
#include "shell/IrRegistroTarget.h"

namespace orb {

class PreferenciasCliente;

// What the owners and clients windows share: one window per side, codes made
// of the office code and the masked number, records changed only by the office
// that created them, the record sheet and the e-mail button.
class FichaPersona : public RecordWindow, public IrRegistroTarget {
    Q_OBJECT
public:
    bool ModoAlquiler() const { return modoAlquiler_; }

    // Shows the record with that code, asking first while one is being added or
    // edited; an unknown code leaves the window where it was.
    void IrRegistro(const QString& sCod) override;
    // Starts a new record exactly as the Add button would.
    void PulsarAñadir();

    qint64 numeroPropuesto() const { return numero_.propuesto(); }

    ui::BoundCheckBox* chkAlquiler = nullptr; // chk(4), Alquiler
    QToolButton* butPrint = nullptr;
    QToolButton* butEmailTo = nullptr;
    QToolButton* butFusionar = nullptr; // "Fusionar con…"

    void data_CanUpdate(bool& Cancel) override;
    void data_CanDelete(bool& Cancel) override;
    void data_OnAddNew() override;
    void data_BeforeUpdate() override;
    void data_AfterUpdate() override;
    void data_Reposition() override;
    void data_StateChanged() override;

protected:
    FichaPersona(AppContext& ctx, const QString& objectName, bool modoAlquiler, const QString& contador,
                 QWidget* parent);

    // The first row: "Código:" office code and number, the side box, the date of entry.
    void filaCodigo();
    // The e-mail box txt(index) with its envelope button, at (row, column).
    void campoEmail(int index, int row, int column, int span);
    // Common end of construction: controller, first control, window title.
    void terminarCarga(const QString& tabla, const QString& titulo);
    // The DNI, NIE and passport boxes: checked by the controller, compared for duplicates.
    void marcarDocumentos(int dni, int nie, int pasaporte);
    // What a window checks on confirm besides the office: true when it may go on.
    virtual bool comprobarPropios() { return true; }

private:
    void enviarEmail();
    CodeAllocator numeracion() const;
    // On confirm: other records that may be the same person. True when the
    // confirm goes on (none, or the agent stores anyway).
    bool sinDuplicados();
    void fusionar();
    void abrirRegistro(const QString& cod);

    QList<int> documentos_; // DNI, NIE, passport box indices

    bool modoAlquiler_;
    QString contador_;
    QString tabla_;
    NumeroNuevo numero_;
};

class frmPropietarios : public FichaPersona {
    Q_OBJECT
public:
    frmPropietarios(AppContext& ctx, bool modoAlquiler, QWidget* parent = nullptr);
};

class frmClientes : public FichaPersona {
    Q_OBJECT
public:
    frmClientes(AppContext& ctx, bool modoAlquiler, QWidget* parent = nullptr);

    ui::BoundComboBox* cboEstado = nullptr;      // cbo(0), Estado
    ui::BoundComboBox* cboTipo = nullptr;        // cboLookup(13), type list
    PreferenciasCliente* preferencias = nullptr; // tab "Preferencias"
    QToolButton* butCoincidencias = nullptr;     // "Propiedades que encajan"
    QToolButton *butVisitas = nullptr, *butNuevaVisita = nullptr;

    void data_OnAddNew() override;
    void data_Reposition() override;
    void data_AfterUpdate() override;
    void data_StateChanged() override;

protected:
    bool comprobarPropios() override;

private:
    void formatearPresupuesto();
    QString codMostrado_; // the client whose places the tab shows
};

} // namespace orb

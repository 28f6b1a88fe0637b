#pragma once

#include "RecordWindow.h"
#include "maintenance/CodeAllocator.h"

namespace orb {

// Shared behaviour of the three catalogue windows: a code proposed from the
// table's counter, taken and counted in the confirm's transaction, and changes
// allowed only at the principal office.
class CatalogoWindow : public RecordWindow {
    Q_OBJECT
public:
    // Boxes txt(n) every catalogue has.
    static constexpr int Codigo = 0;
    static constexpr int Nombre = 1;

    CatalogoWindow(AppContext& ctx, const QString& objectName, const QString& contador, QWidget* parent);

    qint64 codigoPropuesto() const { return numero_.propuesto(); }

    void data_CanAddNew(bool& Cancel) override;
    void data_CanUpdate(bool& Cancel) override;
    void data_CanDelete(bool& Cancel) override;
    void data_OnAddNew() override;
    void data_BeforeUpdate() override;
    void data_AfterUpdate() override;

protected:
    // Common end of every catalogue window's construction.
    void terminarCarga(const QString& tabla, const QString& recordSource);

private:
    QString contador_;
    QString tabla_;
    NumeroNuevo numero_;
};

class frmTipos : public CatalogoWindow {
    Q_OBJECT
public:
    // The name in the web's other two languages.
    static constexpr int NombreIngles = 2;
    static constexpr int NombreFrances = 3;

    explicit frmTipos(AppContext& ctx, QWidget* parent = nullptr);

    ui::BoundComboBox* cboTipoPortales = nullptr; // cbo(4), the type the portals receive
};

class frmLocalidades : public CatalogoWindow {
    Q_OBJECT
public:
    static constexpr int Provincia = 2; // the portals ask for it
    explicit frmLocalidades(AppContext& ctx, QWidget* parent = nullptr);
};

class frmAreas : public CatalogoWindow {
    Q_OBJECT
public:
    static constexpr int Localidad = 2; // cboLookup(2) with its hidden code box

    explicit frmAreas(AppContext& ctx, QWidget* parent = nullptr);

    ui::BoundComboBox* cboLocalidad = nullptr; // cboLookup(2), the locality list
};

// The agents of every office. Usuario is the agent's server role, which
// orbalia-install --agente makes; on the file it stays empty.
class frmAgentes : public CatalogoWindow {
    Q_OBJECT
public:
    static constexpr int Oficina = 2;
    static constexpr int Email = 3;
    static constexpr int Usuario = 4;

    explicit frmAgentes(AppContext& ctx, QWidget* parent = nullptr);
    void data_OnAddNew() override;

    ui::BoundCheckBox* chkActivo = nullptr;
};

} // namespace orb

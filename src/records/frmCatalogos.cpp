#include "frmCatalogos.h"

#include "maintenance/CodeAllocator.h"
#include "platform/db/Recordset.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "shell/Numeros.h"
#include "shell/OfficeRules.h"
#include "shell/TiposPortales.h"

#include <QGridLayout>

namespace orb {

CatalogoWindow::CatalogoWindow(AppContext& context, const QString& objectName, const QString& contador,
                               QWidget* parent)
    : RecordWindow(context, objectName, parent), contador_(contador) {}

void CatalogoWindow::terminarCarga(const QString& tabla, const QString& recordSource) {
    tabla_ = tabla;
    txt.value(Codigo)->Codigo = true;
    iniciarControlador(recordSource);
    data->setFirstControl(txt.value(Nombre)->widget());
    primeroAlTabular = txt.value(Nombre)->widget();
    if (!ctx.facts.OficinaPrincipal) {
        cmdAdd->setEnabled(false);
        cmdEdit->setEnabled(false);
        cmdDel->setEnabled(false);
    }
}

void CatalogoWindow::data_CanAddNew(bool& Cancel) {
    Cancel = SoloOficinaPrincipal(ctx);
}
void CatalogoWindow::data_CanUpdate(bool& Cancel) {
    Cancel = SoloOficinaPrincipal(ctx);
}
void CatalogoWindow::data_CanDelete(bool& Cancel) {
    Cancel = SoloOficinaPrincipal(ctx);
}

void CatalogoWindow::data_OnAddNew() {
    numero_.proponer(CodeAllocator(contador_, tabla_), data->BaseDatos(), txt.value(Codigo));
}

void CatalogoWindow::data_BeforeUpdate() {
    if (!data->EstadoAñadiendo())
        return;
    numero_.tomar(CodeAllocator(contador_, tabla_), data->BaseDatos(), txt.value(Codigo));
}

void CatalogoWindow::data_AfterUpdate() {
    if (data->EstadoAñadiendo())
        numero_.contar(CodeAllocator(contador_, tabla_), data->BaseDatos());
}

frmTipos::frmTipos(AppContext& context, QWidget* parent)
    : CatalogoWindow(context, QStringLiteral("frmTipos"), QStringLiteral("TIPOS"), parent) {
    setWindowTitle(tr("Ficha de Tipos"));
    auto* cod = addText(Codigo, QStringLiteral("Cod"), tr("&Código:"), 0, 0);
    cod->setMaximumWidth(90);
    auto* nombre = addText(Nombre, QStringLiteral("Nombre"), tr("&Nombre:"), 1, 0, 2);
    auto* ingles = addText(NombreIngles, QStringLiteral("NombreIdioma1"), tr("N&ombre:"), 2, 0);
    auto* frances = addText(NombreFrances, QStringLiteral("NombreIdioma2"), tr("No&mbre:"), 3, 0);
    const auto idioma = [this](QWidget* box, int row, const QString& texto) {
        grid->addWidget(new QLabel(texto, Picture1), row, 2);
        box->setAccessibleName(tr("Nombre %1").arg(texto));
    };
    idioma(ingles, 2, tr("(Inglés)"));
    idioma(frances, 3, tr("(Francés)"));
    nombre->setAccessibleName(tr("Nombre"));
    cboTipoPortales =
        new ui::BoundComboBox(ui::BoundComboBox::DropDownList, Picture1, QStringLiteral("TipoPortales"));
    cboTipoPortales->setObjectName(QStringLiteral("cbo(4)"));
    cboTipoPortales->setAccessibleName(tr("Tipo en portales"));
    cboTipoPortales->addItem(QString()); // none: the portals do not receive this type
    cboTipoPortales->addItems(TiposPortales());
    addLabel(tr("&Tipo en portales:"), 4, 0, cboTipoPortales);
    grid->addWidget(cboTipoPortales, 4, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);
    terminarCarga(
        QStringLiteral("Tipos"),
        QStringLiteral("select Cod,Nombre,NombreIdioma1,NombreIdioma2,TipoPortales from Tipos order by Cod"));
    resize(460, 250);
}

frmLocalidades::frmLocalidades(AppContext& context, QWidget* parent)
    : CatalogoWindow(context, QStringLiteral("frmLocalidades"), QStringLiteral("LOCALIDADES"), parent) {
    setWindowTitle(tr("Ficha de Localidades"));
    auto* cod = addText(Codigo, QStringLiteral("Cod"), tr("&Código:"), 0, 0);
    cod->setMaximumWidth(90);
    addText(Nombre, QStringLiteral("Nombre"), tr("&Nombre:"), 1, 0);
    addText(Provincia, QStringLiteral("Provincia"), tr("&Provincia:"), 2, 0);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    terminarCarga(QStringLiteral("Localidades"),
                  QStringLiteral("select Cod,Nombre,Provincia from Localidades order by Cod"));
    resize(420, 180);
}

frmAreas::frmAreas(AppContext& context, QWidget* parent)
    : CatalogoWindow(context, QStringLiteral("frmAreas"), QStringLiteral("AREAS"), parent) {
    setWindowTitle(tr("Ficha de Areas"));
    auto* cod = addText(Codigo, QStringLiteral("Cod"), tr("&Código:"), 0, 0);
    cod->setMaximumWidth(90);
    addText(Nombre, QStringLiteral("Nombre"), tr("&Nombre:"), 1, 0);
    cboLocalidad = addListaCatalogo(Localidad, QStringLiteral("CodLocalidad"), tr("&Localidad:"), 2, 0,
                                    QStringLiteral("select cod,nombre from localidades order by nombre"));
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    terminarCarga(QStringLiteral("Areas"), QStringLiteral("select * from Areas order by Cod"));
    resize(440, 170);
}

frmAgentes::frmAgentes(AppContext& context, QWidget* parent)
    : CatalogoWindow(context, QStringLiteral("frmAgentes"), QStringLiteral("AGENTES"), parent) {
    setWindowTitle(tr("Ficha de Agentes"));
    auto* cod = addText(Codigo, QStringLiteral("Cod"), tr("&Código:"), 0, 0);
    cod->setMaximumWidth(90);
    addText(Nombre, QStringLiteral("Nombre"), tr("&Nombre:"), 1, 0);
    auto* oficina = addText(Oficina, QStringLiteral("Oficina"), tr("&Oficina:"), 2, 0);
    oficina->setMaximumWidth(90);
    addText(Email, QStringLiteral("Email"), tr("&E-mail:"), 3, 0);
    addText(Usuario, QStringLiteral("Usuario"), tr("&Usuario del servidor:"), 4, 0);
    chkActivo = new ui::BoundCheckBox(tr("&Activo"), Picture1, QStringLiteral("Activo"));
    chkActivo->setObjectName(QStringLiteral("chkActivo"));
    chkActivo->setAccessibleName(tr("Activo"));
    grid->addWidget(chkActivo, 5, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);
    terminarCarga(QStringLiteral("Agentes"),
                  QStringLiteral("select Cod,Nombre,Oficina,Email,Usuario,Activo from Agentes order by Cod"));
    resize(460, 250);
}

void frmAgentes::data_OnAddNew() {
    CatalogoWindow::data_OnAddNew();
    // A new agent is of this office and active until told otherwise.
    txt.value(Oficina)->setText(ctx.facts.CodigoOficina);
    chkActivo->setChecked(true);
}

} // namespace orb

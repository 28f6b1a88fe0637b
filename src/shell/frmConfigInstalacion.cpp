// The settings dialog's page "Instalación": the facts of Orbalia.ini. The
// program reads them at start-up only, so a change is written to the file and
// takes effect at the next start.

#include "AppContext.h"
#include "Installation.h"
#include "Mensajes.h"
#include "frmConfig.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace orb {

void frmConfig::crearPaginaInstalacion() {
    auto* pagina = new QWidget;
    auto* pl = new QVBoxLayout(pagina);
    auto* grupo = new QGroupBox(tr("Datos de la agencia"), pagina);
    auto* f = new QFormLayout(grupo);
    campo(InstAgencia, grupo, f, tr("&Nombre de la agencia:"));
    campo(InstOficina, grupo, f, tr("&Código de esta oficina:"))
        ->setToolTip(tr("Letras y cifras, por ejemplo 01."));
    chkPrincipal = new QCheckBox(tr("Esta oficina es la p&rincipal"), grupo);
    chkPrincipal->setObjectName(QStringLiteral("chkPrincipal"));
    chkPrincipal->setAccessibleName(tr("Esta oficina es la principal"));
    f->addRow(chkPrincipal);
    campo(InstRed, grupo, f, tr("Oficinas de la r&ed:"))
        ->setToolTip(tr("Códigos de las oficinas separados por comas, el de la principal primero "
                        "(por ejemplo 01,02)."));
    campo(InstWeb, grupo, f, tr("Código de la agencia en la &web:"));
    txtPie = new QPlainTextEdit(grupo);
    txtPie->setObjectName(QStringLiteral("txtPie"));
    txtPie->setAccessibleName(tr("Pie del dossier"));
    txtPie->setTabChangesFocus(true);
    txtPie->setFixedHeight(txtPie->fontMetrics().lineSpacing() * 3 + 12);
    auto* lpie = new QLabel(tr("&Pie del dossier:"), grupo);
    lpie->setBuddy(txtPie);
    f->addRow(lpie, txtPie);
    auto* aviso = new QLabel(tr("Los cambios de esta página se aplican la próxima vez que se inicie el "
                                "programa."),
                             pagina);
    aviso->setWordWrap(true);
    pl->addWidget(grupo);
    pl->addWidget(aviso);
    pl->addStretch(1);
    tab->addTab(pagina, tr("I&nstalación"));
}

void frmConfig::cargarInstalacion() {
    // What the file holds now, which may already differ from what this run started with.
    instalacion_ = LeerDatosInstalacion(ctx_.RutaAplicacion);
    txt[InstAgencia]->setText(instalacion_.NombreAgencia);
    txt[InstOficina]->setText(instalacion_.CodigoOficina);
    txt[InstWeb]->setText(instalacion_.CodigoAgenciaWeb);
    txt[InstRed]->setText(instalacion_.RedAgencias);
    chkPrincipal->setChecked(instalacion_.OficinaPrincipal);
    txtPie->setPlainText(instalacion_.PieDossier);
}

InstallationFacts frmConfig::datosInstalacion() const {
    InstallationFacts f = instalacion_; // ModelosDossier is not shown: kept as the file has it
    f.NombreAgencia = txt[InstAgencia]->text().trimmed();
    f.CodigoOficina = txt[InstOficina]->text().trimmed();
    f.CodigoAgenciaWeb = txt[InstWeb]->text().trimmed();
    f.RedAgencias = txt[InstRed]->text().trimmed();
    f.OficinaPrincipal = chkPrincipal->isChecked();
    f.PieDossier = txtPie->toPlainText().trimmed();
    return f;
}

bool frmConfig::comprobarInstalacion() {
    // Untouched, the page writes nothing and refuses nothing: the other pages
    // are saved even on a file the start-up would question.
    const InstallationFacts f = datosInstalacion();
    if (f == instalacion_)
        return true;
    const ProblemaDato p = ComprobarDatosInstalacion(f);
    if (p.texto.isEmpty())
        return true;
    const int index = p.clave == u"NombreAgencia"   ? InstAgencia
                      : p.clave == u"CodigoOficina" ? InstOficina
                                                    : InstRed;
    MensajeError(*ctx_.dialogs, tr("%1: %2").arg(rotulo_.value(index), p.texto), this);
    enfocar(txt[index]);
    return false;
}

bool frmConfig::guardarInstalacion() {
    const InstallationFacts f = datosInstalacion();
    if (f == instalacion_)
        return true;
    if (!GuardarDatosInstalacion(ctx_.RutaAplicacion, f)) {
        MensajeError(*ctx_.dialogs,
                     tr("No se pudo guardar el archivo de la instalación [%1].\nCompruebe que el "
                        "programa puede escribir en esa carpeta.")
                         .arg(QDir::toNativeSeparators(
                             QDir(ctx_.RutaAplicacion).filePath(QLatin1String(IniFileName)))),
                     this);
        enfocar(txt[InstAgencia]);
        return false;
    }
    instalacion_ = f;
    ui::DialogService::Box box;
    box.text = tr("Los datos de la instalación se han guardado y se aplicarán la próxima vez que se "
                  "inicie el programa.");
    box.title = tr("Configuración");
    box.icon = ui::DialogService::Icon::Information;
    ctx_.dialogs->message(this, box);
    return true;
}

} // namespace orb

#include "frmAsistente.h"

#include "platform/process/ProcessRunner.h"
#include "platform/widgets/DialogService.h"
#include "shell/Installation.h"
#include "shell/Mensajes.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <tuple>

namespace orb {

namespace {

QString sinAcelerador(QString label) {
    label.remove(u'&');
    if (label.endsWith(u':'))
        label.chop(1);
    return label;
}

QPushButton* boton(const QString& texto, const QString& nombre, const QString& accesible, QWidget* parent) {
    auto* b = new QPushButton(texto, parent);
    b->setObjectName(nombre);
    b->setAccessibleName(accesible);
    return b;
}

} // namespace

QLineEdit* frmAsistente::campo(int index, const QString& label, QFormLayout* form) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QStringLiteral("txt(%1)").arg(index));
    auto* l = new QLabel(label, this);
    l->setBuddy(e);
    e->setAccessibleName(sinAcelerador(label));
    rotulo_.insert(index, sinAcelerador(label));
    form->addRow(l, e);
    txt.insert(index, e);
    return e;
}

frmAsistente::frmAsistente(ui::DialogService& dialogs, const QString& carpeta, const QString& instalador,
                           QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), carpeta_(carpeta), instalador_(instalador) {
    setObjectName(QStringLiteral("frmAsistente"));
    setWindowTitle(tr("Orbalia - Primera puesta en marcha"));

    auto* intro =
        new QLabel(tr("Este puesto aún no tiene instalación. Escriba los datos de su agencia; se guardarán "
                      "en la carpeta [%1].")
                       .arg(QDir::toNativeSeparators(carpeta)),
                   this);
    intro->setWordWrap(true);

    auto* agencia = new QGroupBox(tr("Agencia"), this);
    auto* af = new QFormLayout(agencia);
    campo(Agencia, tr("&Nombre de la agencia:"), af);
    campo(Oficina, tr("&Código de esta oficina:"), af)->setToolTip(tr("Letras y cifras, por ejemplo 01."));
    chkPrincipal = new QCheckBox(tr("Esta oficina es la &principal"), this);
    chkPrincipal->setObjectName(QStringLiteral("chkPrincipal"));
    chkPrincipal->setAccessibleName(tr("Esta oficina es la principal"));
    chkPrincipal->setChecked(true);
    af->addRow(chkPrincipal);
    campo(Red, tr("Oficinas de la &red:"), af)
        ->setToolTip(tr("Códigos de las oficinas separados por comas, el de la principal primero "
                        "(por ejemplo 01,02). Vacío si la agencia tiene una sola oficina."));
    campo(Web, tr("Código de la agencia en la &web:"), af);
    txtPie = new QPlainTextEdit(this);
    txtPie->setObjectName(QStringLiteral("txtPie"));
    txtPie->setAccessibleName(tr("Pie del dossier"));
    txtPie->setTabChangesFocus(true);
    txtPie->setFixedHeight(txtPie->fontMetrics().lineSpacing() * 3 + 12);
    auto* lpie = new QLabel(tr("Pi&e del dossier:"), this);
    lpie->setBuddy(txtPie);
    af->addRow(lpie, txtPie);

    auto* logos = new QGroupBox(tr("Logotipos"), this);
    auto* lf = new QFormLayout(logos);
    // Each picture: its caption, and the spoken names of its two buttons.
    for (const auto& [index, label, elegirNombre, sencilloNombre] :
         {std::tuple{Logo, tr("&Fondo de la ventana:"), tr("Elegir fondo"), tr("Fondo sencillo")},
          std::tuple{LogoDossier, tr("&Logotipo del dossier:"), tr("Elegir logotipo"),
                     tr("Logotipo sencillo")}}) {
        auto* fila = new QWidget(this);
        auto* h = new QHBoxLayout(fila);
        h->setContentsMargins(0, 0, 0, 0);
        auto* e = new QLineEdit(fila);
        e->setObjectName(QStringLiteral("txt(%1)").arg(index));
        e->setReadOnly(true);
        e->setPlaceholderText(tr("Dibujo sencillo con el nombre de la agencia"));
        e->setAccessibleName(sinAcelerador(label));
        rotulo_.insert(index, sinAcelerador(label));
        txt.insert(index, e);
        auto* elegir = boton(tr("Elegir…"), QStringLiteral("cmdElegir(%1)").arg(index), elegirNombre, fila);
        auto* sencillo =
            boton(tr("Sencillo"), QStringLiteral("cmdSencillo(%1)").arg(index), sencilloNombre, fila);
        sencillo->setToolTip(tr("Un dibujo sencillo con el nombre de la agencia"));
        cmdElegir.insert(index, elegir);
        cmdSencillo.insert(index, sencillo);
        h->addWidget(e, 1);
        h->addWidget(elegir);
        h->addWidget(sencillo);
        auto* l = new QLabel(label, logos);
        l->setBuddy(elegir);
        lf->addRow(l, fila);
        const int i = index;
        connect(elegir, &QPushButton::clicked, this, [this, i] { elegirLogo(i); });
        connect(sencillo, &QPushButton::clicked, this, [this, i] { txt[i]->clear(); });
    }

    cmdCrear =
        boton(tr("C&rear la instalación"), QStringLiteral("cmdCrear"), tr("Crear la instalación"), this);
    cmdCrear->setDefault(true);
    cmdCancelar = boton(tr("Cancelar"), QStringLiteral("cmdCancelar"), tr("Cancelar"), this);
    auto* box = new QDialogButtonBox(this);
    box->addButton(cmdCrear, QDialogButtonBox::AcceptRole);
    box->addButton(cmdCancelar, QDialogButtonBox::RejectRole);
    connect(cmdCrear, &QPushButton::clicked, this, &frmAsistente::cmdCrear_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto* main = new QVBoxLayout(this);
    main->addWidget(intro);
    main->addWidget(agencia);
    main->addWidget(logos);
    main->addStretch(1);
    main->addWidget(box);
    resize(560, sizeHint().height());
}

InstallationFacts frmAsistente::datos() const {
    InstallationFacts f;
    f.NombreAgencia = txt[Agencia]->text().trimmed();
    f.CodigoOficina = txt[Oficina]->text().trimmed();
    f.OficinaPrincipal = chkPrincipal->isChecked();
    f.CodigoAgenciaWeb = txt[Web]->text().trimmed();
    f.RedAgencias = txt[Red]->text().trimmed();
    f.ModelosDossier = 1;
    f.PieDossier = txtPie->toPlainText().trimmed();
    return f;
}

void frmAsistente::elegirLogo(int index) {
    const QString inicio = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString archivo =
        dialogs_.openFile(this, rotulo_.value(index), tr("Imágenes (*.jpg *.jpeg *.png *.bmp)"), inicio);
    if (archivo.isEmpty())
        return;
    if (QImageReader(archivo).canRead())
        txt[index]->setText(archivo);
    else
        MensajeError(dialogs_,
                     tr("%1: \"%2\" no es una imagen que el programa pueda leer.")
                         .arg(rotulo_.value(index), QDir::toNativeSeparators(archivo)),
                     this);
}

void frmAsistente::cmdCrear_Click() {
    const InstallationFacts f = datos();
    if (const ProblemaDato p = ComprobarDatosInstalacion(f); !p.texto.isEmpty()) {
        const int index = p.clave == u"NombreAgencia" ? Agencia : p.clave == u"CodigoOficina" ? Oficina : Red;
        MensajeError(dialogs_, tr("%1: %2").arg(rotulo_.value(index), p.texto), this);
        txt[index]->setFocus(Qt::OtherFocusReason);
        txt[index]->selectAll();
        return;
    }
    if (instalar(f))
        accept();
}

bool frmAsistente::instalar(const InstallationFacts& f) {
    QStringList args{
        carpeta_,        QStringLiteral("--agencia"),
        f.NombreAgencia, QStringLiteral("--oficina"),
        f.CodigoOficina, f.OficinaPrincipal ? QStringLiteral("--principal") : QStringLiteral("--secundaria")};
    for (const auto& [opcion, valor] :
         {std::pair{"--web", f.CodigoAgenciaWeb}, std::pair{"--red", f.RedAgencias},
          std::pair{"--pie", f.PieDossier}, std::pair{"--logo", txt[Logo]->text()},
          std::pair{"--logo-dossier", txt[LogoDossier]->text()}})
        if (!valor.isEmpty())
            args << QLatin1String(opcion) << valor;

    // The installer's own words say why; its log lines (with a time) are left out.
    static const QRegularExpression lineaLog(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT"));
    QStringList salida;
    proc::ProcessRunner runner;
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int code = runner.run(instalador_, args, [&](const QString& linea) {
        if (!linea.trimmed().isEmpty() && !lineaLog.match(linea).hasMatch())
            salida << linea;
    });
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    if (code == 0 && QFileInfo(QDir(carpeta_).filePath(QLatin1String(IniFileName))).isFile())
        return true;
    QString causa = code == proc::ProcessRunner::NotStarted
                        ? tr("No se puede ejecutar el instalador [%1]: %2")
                              .arg(QDir::toNativeSeparators(instalador_), runner.failure())
                    : salida.filter(QStringLiteral("Instalación creada")).isEmpty() ? salida.join(u'\n')
                                                                                    : QString();
    MensajeError(dialogs_,
                 tr("No se ha podido crear la instalación en [%1].").arg(QDir::toNativeSeparators(carpeta_)) +
                     (causa.isEmpty() ? QString() : u'\n' + causa),
                 this);
    return false;
}

} // namespace orb

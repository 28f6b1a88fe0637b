#include "frmConfig.h"

#include "AppContext.h"
#include "ConfigStore.h"
#include "Controles.h"
#include "ErrorReport.h"
#include "Idioma.h"
#include "Mensajes.h"
#include "Numeros.h"
#include "Schema.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <array>

namespace orb {

namespace {

// Every setting the dialog shows, in the order Accept writes them; txt(n)
// holds it, or the add-again check box.
constexpr int kCasilla = -1;
// What a field accepts: counters and picture sizes are numbers, the mask
// builds every record code, the rest is stored as typed.
enum class Regla { Texto, Contador, Medida, Mascara, Puerto, PuertoOpcional, Direccion, Porcentaje };
struct Ajuste {
    int txt;
    const char* grupo;
    const char* variable;
    Regla regla;
};

const std::array<Ajuste, 25>& ajustes() {
    static const std::array<Ajuste, 25> lista{{
        {frmConfig::ContadorClientes, "CONTADORES", "CLIENTES", Regla::Contador},
        {frmConfig::ContadorPropiedades, "CONTADORES", "PROPIEDADES", Regla::Contador},
        {frmConfig::ContadorPropietarios, "CONTADORES", "PROPIETARIOS", Regla::Contador},
        {frmConfig::ContadorTipos, "CONTADORES", "TIPOS", Regla::Contador},
        {frmConfig::ContadorLocalidades, "CONTADORES", "LOCALIDADES", Regla::Contador},
        {frmConfig::ContadorAreas, "CONTADORES", "AREAS", Regla::Contador},
        {frmConfig::Mascara, "CODIGOS", "MASCARA", Regla::Mascara},
        {kCasilla, "GENERAL", "ADDAGAIN", Regla::Texto},
        {frmConfig::WebServidor, "WEB", "SERVIDOR", Regla::Texto},
        {frmConfig::WebBaseDatos, "WEB", "BASEDATOS", Regla::Texto},
        {frmConfig::WebUsuario, "WEB", "USUARIO", Regla::Texto},
        {frmConfig::WebContrasena, "WEB", "PASSWORD", Regla::Texto},
        {frmConfig::WebPuertoRsync, "WEB", "PUERTORSYNC", Regla::Puerto},
        {frmConfig::FotoAnchura, "WEB", "FOTOANCHURA", Regla::Medida},
        {frmConfig::FotoAltura, "WEB", "FOTOALTURA", Regla::Medida},
        {frmConfig::MiniaturaAnchura, "WEB", "THUMBANCHURA", Regla::Medida},
        {frmConfig::MiniaturaAltura, "WEB", "THUMBALTURA", Regla::Medida},
        {frmConfig::PortalesUrlFotos, "PORTALES", "URLFOTOS", Regla::Direccion},
        {frmConfig::PortalesRechazoMaximo, "PORTALES", "RECHAZOMAXIMO", Regla::Porcentaje},
        {frmConfig::PortalesFotoAnchura, "PORTALES", "FOTOANCHURA", Regla::Medida},
        {frmConfig::PortalesFotoAltura, "PORTALES", "FOTOALTURA", Regla::Medida},
        {frmConfig::SincServidor, "SINC", "FTPSERVIDOR", Regla::Texto},
        {frmConfig::SincUsuario, "SINC", "FTPUSUARIO", Regla::Texto},
        {frmConfig::SincContrasena, "SINC", "FTPPASSWORD", Regla::Texto},
        {frmConfig::SincPuertoRsync, "SINC", "PUERTORSYNC", Regla::PuertoOpcional},
    }};
    return lista;
}

constexpr qint64 kMedidaMinima = 16;
constexpr qint64 kMedidaMaxima = 8192;

// A whole number as typed in Spain: digits, optionally grouped by "." in
// threes ("1.500"); no sign, no decimals. -1 when it is not one.
qint64 enteroNoNegativo(const QString& texto) {
    static const QRegularExpression forma(QStringLiteral("^(\\d{1,3}(\\.\\d{3})+|\\d{1,18})$"));
    const QString t = texto.trimmed();
    if (!forma.match(t).hasMatch())
        return -1;
    bool ok = false;
    const qint64 n = QString(t).remove(u'.').toLongLong(&ok);
    return ok ? n : -1;
}

// Why texto cannot be stored under regla, naming the field by its caption; empty when it can.
// oficina: this office's code, which opens every record code the mask builds.
QString rechazo(Regla regla, const QString& rotulo, const QString& texto, const QString& oficina) {
    switch (regla) {
    case Regla::Contador:
        if (enteroNoNegativo(texto) < 0)
            return frmConfig::tr("%1: \"%2\" no es un número entero igual o mayor que 0.").arg(rotulo, texto);
        break;
    case Regla::Medida: {
        const qint64 n = enteroNoNegativo(texto);
        if (n < kMedidaMinima || n > kMedidaMaxima)
            return frmConfig::tr("%1: \"%2\" no es un número entero de píxeles entre %3 y %4.")
                .arg(rotulo, texto, QString::number(kMedidaMinima), QString::number(kMedidaMaxima));
        break;
    }
    case Regla::PuertoOpcional:
        // Empty keeps the exchange on the port its script was installed with.
        if (texto.trimmed().isEmpty())
            break;
        [[fallthrough]];
    case Regla::Puerto:
        if (const qint64 n = enteroNoNegativo(texto); n < 1 || n > 65535)
            return frmConfig::tr("%1: \"%2\" no es un número de puerto entre 1 y 65535.").arg(rotulo, texto);
        break;
    case Regla::Mascara:
        // An empty mask would make codes of the office code alone.
        if (!QRegularExpression(QStringLiteral("^[0#]+$")).match(texto).hasMatch())
            return frmConfig::tr("%1: \"%2\" no es una máscara válida: escriba uno o más caracteres 0 o #.")
                .arg(rotulo, texto);
        // The shortest code it gives (number 1) must fit Cod whole: a longer one
        // would be stored cut, and codes of different numbers would clash.
        if (const qsizetype largo = (oficina + FormatoMascara(1, texto)).toUcs4().size();
            largo > schema::LongitudCodigo)
            return frmConfig::tr("%1: \"%2\" es demasiado larga: con el código de oficina %3 los códigos "
                                 "tendrían %4 caracteres y caben como máximo %5.")
                .arg(rotulo, texto, oficina, QString::number(largo), QString::number(schema::LongitudCodigo));
        break;
    case Regla::Porcentaje:
        if (const qint64 n = enteroNoNegativo(texto); n < 0 || n > 100)
            return frmConfig::tr("%1: \"%2\" no es un porcentaje entero entre 0 y 100.").arg(rotulo, texto);
        break;
    case Regla::Direccion: {
        // Empty: the portals get no pictures. Otherwise the portals fetch them from there.
        const QString t = texto.trimmed();
        if (t.isEmpty())
            break;
        const QUrl url(t, QUrl::StrictMode);
        if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") || url.host().isEmpty())
            return frmConfig::tr(
                       "%1: \"%2\" no es una dirección completa que empiece por http:// o https://.")
                .arg(rotulo, texto);
        break;
    }
    case Regla::Texto:
        break;
    }
    return {};
}

// Numeric settings are shown in plain digits.
QString numero(double v) {
    return QString::number(qint64(v));
}

class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::FocusIn)
            if (auto* w = qobject_cast<QWidget*>(o))
                QTimer::singleShot(0, w, [w] { SeleccionarTexto(w); });
        return false;
    }
};

} // namespace

QLineEdit* frmConfig::campo(int index, QWidget* page, QFormLayout* form, const QString& label, int lblIndex) {
    auto* e = new QLineEdit(page);
    e->setObjectName(QStringLiteral("txt(%1)").arg(index));
    auto* l = new QLabel(label, page);
    l->setBuddy(e);
    if (lblIndex >= 0) {
        l->setObjectName(QStringLiteral("lbl(%1)").arg(lblIndex));
        lbl.insert(lblIndex, l);
    }
    QString name = label;
    name.remove(u'&');
    name.chop(1);
    e->setAccessibleName(name);
    rotulo_.insert(index, name);
    form->addRow(l, e);
    txt.insert(index, e);
    e->installEventFilter(findChild<SelectAllOnFocus*>());
    return e;
}

frmConfig::frmConfig(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(tr("Configuración"));
    new SelectAllOnFocus(this);

    tab = new QTabWidget(this);
    tab->setObjectName(QStringLiteral("tab"));

    // General
    auto* general = new QWidget;
    auto* gl = new QVBoxLayout(general);
    auto* contadores = new QGroupBox(tr("Contadores"), general);
    auto* cf = new QFormLayout(contadores);
    campo(ContadorClientes, contadores, cf, tr("C&lientes:"));
    campo(ContadorPropiedades, contadores, cf, tr("&Propiedades:"));
    campo(ContadorPropietarios, contadores, cf, tr("P&ropietarios:"));
    campo(ContadorTipos, contadores, cf, tr("&Tipos:"), RotuloTipos);
    campo(ContadorLocalidades, contadores, cf, tr("L&ocalidades:"), RotuloLocalidades);
    campo(ContadorAreas, contadores, cf, tr("&Areas:"), RotuloAreas);
    campo(Mascara, contadores, cf, tr("&Máscara:"));
    chkAñadirTrasAñadir = new QCheckBox(tr("Añadir a&utomáticamente tras añadir"), contadores);
    chkAñadirTrasAñadir->setObjectName(QStringLiteral("chk(2)"));
    chkAñadirTrasAñadir->setAccessibleName(tr("Añadir automáticamente tras añadir"));
    cf->addRow(chkAñadirTrasAñadir);
    gl->addWidget(contadores);
    // Each language named in its own words, whichever the interface is in.
    auto* idioma = new QFormLayout;
    auto* lblIdioma = new QLabel(tr("Idioma de la interfaz:"), general);
    cboIdioma = new QComboBox(general);
    cboIdioma->setObjectName(QStringLiteral("cboIdioma"));
    cboIdioma->addItem(QStringLiteral("Español"), int(Idioma::Espanol));
    cboIdioma->addItem(QStringLiteral("English"), int(Idioma::Ingles));
    cboIdioma->setAccessibleName(tr("Idioma de la interfaz"));
    lblIdioma->setBuddy(cboIdioma);
    idioma->addRow(lblIdioma, cboIdioma);
    gl->addLayout(idioma);
    gl->addStretch(1);
    tab->addTab(general, tr("&General"));

    // Web export
    auto* web = new QWidget;
    auto* wl = new QVBoxLayout(web);
    auto* datos = new QGroupBox(tr("Exportación de Datos"), web);
    auto* df = new QFormLayout(datos);
    campo(WebServidor, datos, df, tr("&Servidor:"));
    campo(WebBaseDatos, datos, df, tr("&BBDD:"));
    campo(WebUsuario, datos, df, tr("&Usuario:"));
    campo(WebContrasena, datos, df, tr("C&ontraseña:"))->setEchoMode(QLineEdit::Password);
    campo(WebPuertoRsync, datos, df, tr("&Puerto de subida de fotos:"));
    auto* fotos = new QGroupBox(tr("Generación de Fotos"), web);
    auto* ff = new QFormLayout(fotos);
    campo(FotoAnchura, fotos, ff, tr("&Anchura foto normal:"));
    campo(FotoAltura, fotos, ff, tr("A&ltura foto normal:"));
    campo(MiniaturaAnchura, fotos, ff, tr("Anc&hura foto pequeña:"));
    campo(MiniaturaAltura, fotos, ff, tr("Altura &foto pequeña:"));
    auto* portales = new QGroupBox(tr("Portales"), web);
    auto* pf = new QFormLayout(portales);
    campo(PortalesUrlFotos, portales, pf, tr("Dirección de las fotos en la &web:"))
        ->setPlaceholderText(tr("https://www.ejemplo.es/fotos/"));
    campo(PortalesRechazoMaximo, portales, pf, tr("Má&ximo de propiedades rechazadas (%):"));
    campo(PortalesFotoAnchura, portales, pf, tr("Anchura foto po&rtales:"));
    campo(PortalesFotoAltura, portales, pf, tr("Al&tura foto portales:"));
    wl->addWidget(datos);
    wl->addWidget(fotos);
    wl->addWidget(portales);
    wl->addStretch(1);
    tab->addTab(web, tr("&Exportación Web"));

    // Office exchange
    auto* sinc = new QWidget;
    auto* sl = new QVBoxLayout(sinc);
    auto* sincBox = new QGroupBox(tr("Sincronización"), sinc);
    auto* sf = new QFormLayout(sincBox);
    campo(SincServidor, sincBox, sf, tr("&Servidor:"));
    campo(SincUsuario, sincBox, sf, tr("&Usuario:"));
    campo(SincContrasena, sincBox, sf, tr("C&ontraseña:"))->setEchoMode(QLineEdit::Password);
    campo(SincPuertoRsync, sincBox, sf, tr("&Puerto:"))
        ->setToolTip(tr("Vacío: el puerto con el que se instaló el intercambio."));
    sl->addWidget(sincBox);
    sl->addStretch(1);
    tab->addTab(sinc, tr("S&incronización"));

    crearPaginaInstalacion();

    // Same labels on different tabs: the tab makes the spoken name unique.
    txt[WebServidor]->setAccessibleName(tr("Servidor web"));
    txt[WebUsuario]->setAccessibleName(tr("Usuario web"));
    txt[WebContrasena]->setAccessibleName(tr("Contraseña web"));
    txt[SincServidor]->setAccessibleName(tr("Servidor de sincronización"));
    txt[SincUsuario]->setAccessibleName(tr("Usuario de sincronización"));
    txt[SincContrasena]->setAccessibleName(tr("Contraseña de sincronización"));
    txt[SincPuertoRsync]->setAccessibleName(tr("Puerto de sincronización"));

    cmdOk = new QPushButton(tr("Aceptar"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setAccessibleName(tr("Aceptar"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(tr("Cancelar"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAccessibleName(tr("Cancelar"));
    auto* box = new QDialogButtonBox(this);
    box->addButton(cmdOk, QDialogButtonBox::AcceptRole);
    box->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    connect(cmdOk, &QPushButton::clicked, this, &frmConfig::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* main = new QVBoxLayout(this);
    main->addWidget(tab);
    main->addWidget(box);

    cargar();
    resize(460, 520);
}

void frmConfig::cargar() {
    db::Database& d = ctx_.db();
    for (const Ajuste& a : ajustes()) {
        const db::Value v = LeerConfig(d, QString::fromLatin1(a.grupo), QString::fromLatin1(a.variable));
        if (a.txt == kCasilla)
            chkAñadirTrasAñadir->setChecked(ValorNumerico(v) != 0);
        else
            txt[a.txt]->setText(a.regla == Regla::Contador || a.regla == Regla::Medida ||
                                        a.regla == Regla::Porcentaje
                                    ? numero(ValorNumerico(v))
                                    : v.toString());
    }

    if (!ctx_.facts.OficinaPrincipal) {
        // Catalogue records are created only at the principal office.
        for (int i : {ContadorTipos, ContadorLocalidades, ContadorAreas})
            txt[i]->setVisible(false);
        for (int i : {RotuloTipos, RotuloLocalidades, RotuloAreas})
            lbl[i]->setVisible(false);
    }
    cargarInstalacion();
    cboIdioma->setCurrentIndex(cboIdioma->findData(int(IdiomaPuesto())));
}

void frmConfig::cmdOk_Click() {
    // Every field is checked before anything is written. Hidden catalogue
    // counters are written back as loaded: the user cannot correct them here.
    QMap<int, QString> valores;
    for (const Ajuste& a : ajustes()) {
        if (a.txt == kCasilla)
            continue;
        QLineEdit* e = txt[a.txt];
        if (e->isHidden()) {
            valores.insert(a.txt, numero(ValorNumerico(e->text())));
            continue;
        }
        if (const QString problema =
                rechazo(a.regla, rotulo_.value(a.txt), e->text(), ctx_.facts.CodigoOficina);
            !problema.isEmpty()) {
            MensajeError(*ctx_.dialogs, problema, this);
            enfocar(e);
            return;
        }
        const bool puerto = a.regla == Regla::Puerto || a.regla == Regla::PuertoOpcional;
        const bool numerico = a.regla == Regla::Contador || a.regla == Regla::Medida ||
                              a.regla == Regla::Porcentaje || (puerto && !e->text().trimmed().isEmpty());
        valores.insert(a.txt, numerico ? QString::number(enteroNoNegativo(e->text())) : e->text());
    }

    if (!comprobarInstalacion())
        return;

    db::Database& d = ctx_.db();
    try {
        // All or nothing: a failure halfway leaves the settings as they were.
        db::Transaction t(d);
        for (const Ajuste& a : ajustes()) {
            const QString valor = a.txt == kCasilla ? (chkAñadirTrasAñadir->isChecked() ? QStringLiteral("1")
                                                                                        : QStringLiteral("0"))
                                                    : valores.value(a.txt);
            GuardarConfig(d, QString::fromLatin1(a.grupo), QString::fromLatin1(a.variable), valor);
        }
        t.commit();
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(*ctx_.dialogs, this, tr("guardar la configuración"),
                               tr("No se pudo guardar la configuración."), e, {}, ctx_.RutaBaseDatos);
        return;
    }
    if (!guardarInstalacion())
        return;
    // Only this seat's settings: the windows already built keep their language.
    if (const auto elegido = Idioma(cboIdioma->currentData().toInt()); elegido != IdiomaPuesto()) {
        GuardarIdiomaPuesto(elegido);
        ui::DialogService::Box box;
        box.text = tr("El idioma de la interfaz se aplicará la próxima vez que se abra Orbalia.");
        box.title = tr("Configuración");
        box.icon = ui::DialogService::Icon::Information;
        ctx_.dialogs->message(this, box);
    }
    accept();
}

void frmConfig::enfocar(QLineEdit* e) {
    for (int i = 0; i < tab->count(); ++i)
        if (tab->widget(i)->isAncestorOf(e))
            tab->setCurrentIndex(i);
    e->setFocus(Qt::OtherFocusReason);
    e->selectAll();
}

} // namespace orb

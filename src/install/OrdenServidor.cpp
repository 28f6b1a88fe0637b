#include "OrdenServidor.h"
#include "CopiaServidor.h"

#include "platform/pg/Connection.h"
#include "shell/ConexionServidor.h"
#include "shell/Herramienta.h"
#include "shell/Installation.h"
#include "shell/Log.h"
#include "shell/ReglasOficinaServidor.h"
#include "shell/Schema.h"
#include "shell/SchemaServidor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace orb::install {

namespace {

// Read from the terminal without showing it; from standard input when it is
// not a terminal (a script's pipe).
QString pedirClave(const ConexionServidor& c, QTextStream& err) {
    const bool terminal = isatty(STDIN_FILENO);
    termios antes{};
    if (terminal) {
        err << QCoreApplication::translate("OrdenServidor", "Contraseña de %1 en %2: ")
                   .arg(c.usuario, c.servidor);
        err.flush();
        tcgetattr(STDIN_FILENO, &antes);
        termios sinEco = antes;
        sinEco.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &sinEco);
    }
    QByteArray linea;
    for (int ch = std::getchar(); ch != EOF && ch != '\n'; ch = std::getchar())
        linea += char(ch);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &antes);
        err << "\n";
        err.flush();
    }
    if (linea.endsWith('\r'))
        linea.chop(1);
    return QString::fromUtf8(linea);
}

// The server names what COPY refused in lower case: "COPY propiedades, line 200,
// column dormitorios: "5000000000"".
const QRegularExpression copiaFallida(QStringLiteral("COPY (\\w+), line (\\d+), column (\\w+): \"(.*)\""));

QString tablaDe(const QString& servidor) {
    for (const schema::TablaServidor& t : schema::tablasServidor())
        if (t.nombre.compare(servidor, Qt::CaseInsensitive) == 0)
            return t.nombre;
    return servidor;
}

QString campoDe(const QString& tabla, const QString& servidor) {
    for (const schema::TablaServidor& t : schema::tablasServidor())
        if (t.nombre.compare(tabla, Qt::CaseInsensitive) == 0)
            for (const schema::CampoServidor& c : t.campos)
                if (c.nombre.compare(servidor, Qt::CaseInsensitive) == 0)
                    return c.nombre;
    return servidor;
}

} // namespace

QString ExplicarFalloServidor(const pg::PgError& e, const ConexionServidor& c) {
    switch (e.causa()) {
    case pg::Causa::LoginRechazado:
        return QCoreApplication::translate("OrdenServidor",
                                           "El servidor %1 no acepta al usuario «%2» con esa contraseña.")
            .arg(c.servidor, c.usuario);
    case pg::Causa::ServidorInaccesible:
        return QCoreApplication::translate(
                   "OrdenServidor",
                   "No se puede conectar con el servidor %1 en el puerto %2: compruebe que está "
                   "en marcha y que el nombre y el puerto son los suyos.")
            .arg(c.servidor)
            .arg(c.puerto);
    case pg::Causa::BaseInexistente:
        return QCoreApplication::translate(
                   "OrdenServidor", "El servidor %1 no tiene la base de datos «%2»: el administrador del "
                                    "servidor debe crearla (vacía) antes de copiar la oficina.")
            .arg(c.servidor, c.baseDatos);
    case pg::Causa::ConexionPerdida:
        return QCoreApplication::translate(
                   "OrdenServidor", "Se ha perdido la conexión con el servidor %1: no se ha copiado nada.")
            .arg(c.servidor);
    case pg::Causa::DatoNoValido:
        if (const auto m = copiaFallida.match(e.text()); m.hasMatch())
            return QCoreApplication::translate(
                       "OrdenServidor",
                       "El servidor no admite el valor «%1» del campo %2 de la tabla %3 (fila %4 "
                       "enviada): corríjalo en la oficina. No se ha copiado nada.")
                .arg(m.captured(4), campoDe(m.captured(1), m.captured(3)), tablaDe(m.captured(1)),
                     m.captured(2));
        return QCoreApplication::translate(
            "OrdenServidor", "El servidor no admite un dato de la oficina: no se ha copiado nada.");
    case pg::Causa::EsperaBloqueo:
    case pg::Causa::Conflicto:
        return QCoreApplication::translate(
            "OrdenServidor", "Otro puesto está usando la base de datos del servidor: no se ha copiado "
                             "nada. Vuelva a intentarlo cuando nadie trabaje en ella.");
    case pg::Causa::SinPermiso:
        return QCoreApplication::translate(
                   "OrdenServidor",
                   "El usuario «%1» no tiene permiso para hacerlo en el servidor %2 (el dueño de la "
                   "base de datos, con permiso para crear usuarios, debe hacerlo): %3")
            .arg(c.usuario, c.servidor, e.text());
    default:
        return QCoreApplication::translate("OrdenServidor",
                                           "El servidor ha rechazado la copia: no se ha copiado nada.");
    }
}

void usoServidor(QTextStream& s) {
    s << QCoreApplication::translate(
             "OrdenServidor",
             "Uso: orbalia-install CARPETA --servidor HOST --base NOMBRE --usuario U [opciones]\n"
             "Lleva los datos de la oficina instalada en CARPETA a una base de datos PostgreSQL y deja\n"
             "el puesto trabajando en ella (sección [Servidor] de Orbalia.ini):\n")
      << QCoreApplication::translate(
             "OrdenServidor",
             "  --servidor HOST           nombre o dirección del servidor PostgreSQL\n"
             "  --puerto N                puerto del servidor (por omisión 5432)\n"
             "  --base NOMBRE             base de datos, creada vacía por el administrador\n"
             "  --usuario U               usuario del servidor, dueño de la base de datos\n"
             "  --clave-archivo F         lee la contraseña del archivo F; sin él se pregunta sin\n"
             "                            mostrarla (nunca en la línea de órdenes)\n"
             "  --reemplazar              sustituye los datos de esta oficina que ya tenga el servidor\n"
             "  --actualizar              solo pone la base de datos del servidor en la versión de este\n"
             "                            programa, sin copiar nada (después de instalar uno nuevo)\n"
             "  --agente USUARIO          solo da de alta (o cambia la contraseña de) un agente con su\n"
             "                            propio usuario del servidor, sin copiar nada; con:\n"
             "  --oficina CÓDIGO          oficina del agente (solo escribe los registros de ella)\n"
             "  --nombre TEXTO            nombre del agente en el catálogo (por omisión, USUARIO)\n"
             "  --email DIRECCIÓN         correo del agente\n"
             "  --principal               la oficina del agente es la principal (escribe los catálogos)\n"
             "  --clave-agente-archivo F  lee la contraseña del agente del archivo F; sin él se pregunta\n")
      << QCoreApplication::translate(
             "OrdenServidor",
             "Crea las tablas de la agencia si la base está vacía, copia todas las tablas en una sola\n"
             "transacción y compara filas y sumas de comprobación antes de confirmarla: si algo no\n"
             "coincide, el servidor queda como estaba. Repetirla con los mismos datos no cambia nada.\n");
}

int ejecutarServidor(const QStringList& args, QTextStream& out, QTextStream& err) {
    ConexionServidor c;
    QString dir, archivoClave;
    bool claveDeArchivo = false;
    bool actualizar = false;
    schema::AgenteNuevo agente;
    QString archivoClaveAgente;
    bool esAgente = false;
    OpcionesCopia opciones;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto valor = [&]() -> QString { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == u"--servidor") {
            c.servidor = valor().trimmed();
        } else if (a == u"--puerto") {
            bool ok = false;
            const int p = valor().toInt(&ok);
            if (!ok || p <= 0 || p > 65535) {
                err << QCoreApplication::translate(
                           "OrdenServidor", "Error: --puerto necesita un número de puerto entre 1 y 65535.")
                    << "\n";
                return 2;
            }
            c.puerto = p;
        } else if (a == u"--base") {
            c.baseDatos = valor().trimmed();
        } else if (a == u"--usuario") {
            c.usuario = valor().trimmed();
        } else if (a == u"--clave-archivo") {
            archivoClave = valor();
            claveDeArchivo = true;
        } else if (a == u"--reemplazar") {
            opciones.reemplazar = true;
        } else if (a == u"--actualizar") {
            actualizar = true;
        } else if (a == u"--agente") {
            agente.usuario = valor().trimmed();
            esAgente = true;
        } else if (a == u"--oficina") {
            agente.oficina = valor().trimmed();
        } else if (a == u"--nombre") {
            agente.nombre = valor().trimmed();
        } else if (a == u"--email") {
            agente.email = valor().trimmed();
        } else if (a == u"--principal") {
            agente.principal = true;
        } else if (a == u"--clave-agente-archivo") {
            archivoClaveAgente = valor();
        } else if (a == u"-h" || a == u"--help" || a == u"--ayuda") {
            usoServidor(out);
            return 0;
        } else if (a.startsWith(u'-') || !dir.isEmpty()) {
            err << QCoreApplication::translate("OrdenServidor",
                                               "Error: argumento no reconocido con --servidor: %1")
                       .arg(a)
                << "\n";
            usoServidor(err);
            return 2;
        } else {
            dir = a;
        }
    }
    for (const auto& [valor, opcion] :
         {std::pair{&c.servidor, "--servidor"}, std::pair{&c.baseDatos, "--base"},
          std::pair{&c.usuario, "--usuario"}})
        if (valor->isEmpty()) {
            err << QCoreApplication::translate("OrdenServidor", "Error: falta %1.").arg(QLatin1String(opcion))
                << "\n";
            usoServidor(err);
            return 2;
        }
    if (dir.isEmpty()) {
        err << QCoreApplication::translate("OrdenServidor", "Error: falta la CARPETA de la instalación.")
            << "\n";
        usoServidor(err);
        return 2;
    }
    if (!QFileInfo::exists(QDir(dir).filePath(QLatin1String(IniFileName)))) {
        err << QCoreApplication::translate(
                   "OrdenServidor",
                   "Error: CARPETA: %1 no es una instalación de Orbalia (no tiene Orbalia.ini).")
                   .arg(QDir::toNativeSeparators(dir))
            << "\n";
        return 2;
    }
    if (claveDeArchivo) {
        QFile f(archivoClave);
        if (!f.open(QIODevice::ReadOnly)) {
            err << QCoreApplication::translate("OrdenServidor",
                                               "Error: --clave-archivo: no se puede leer %1.")
                       .arg(QDir::toNativeSeparators(archivoClave))
                << "\n";
            return 2;
        }
        c.clave = QString::fromUtf8(f.readAll()).section(u'\n', 0, 0).trimmed();
    } else {
        c.clave = pedirClave(c, err);
    }
    if (esAgente) {
        if (agente.usuario.isEmpty() || agente.oficina.isEmpty()) {
            err << QCoreApplication::translate(
                       "OrdenServidor",
                       "Error: --agente necesita el usuario del agente y --oficina su oficina.")
                << "\n";
            return 2;
        }
        if (!archivoClaveAgente.isEmpty()) {
            QFile f(archivoClaveAgente);
            if (!f.open(QIODevice::ReadOnly)) {
                err << QCoreApplication::translate("OrdenServidor",
                                                   "Error: --clave-agente-archivo: no se puede leer %1.")
                           .arg(QDir::toNativeSeparators(archivoClaveAgente))
                    << "\n";
                return 2;
            }
            agente.clave = QString::fromUtf8(f.readAll()).section(u'\n', 0, 0).trimmed();
        } else {
            ConexionServidor delAgente = c;
            delAgente.usuario = agente.usuario;
            agente.clave = pedirClave(delAgente, err);
        }
        if (agente.clave.isEmpty()) {
            err << QCoreApplication::translate("OrdenServidor", "Error: falta la contraseña del agente %1.")
                       .arg(agente.usuario)
                << "\n";
            return 2;
        }
    }
    IniciarLog(dir);

    pg::ConnectOptions o;
    o.host = c.servidor;
    o.port = unsigned(c.puerto);
    o.database = c.baseDatos;
    o.user = c.usuario;
    o.password = c.clave;
    o.applicationName = QStringLiteral("orbalia-install");
    if (esAgente) {
        try {
            auto servidor = pg::Connection::connect(o);
            pg::Transaction tx(*servidor);
            schema::crearAgente(*servidor, agente);
            tx.commit();
            out << QCoreApplication::translate(
                       "OrdenServidor", "Agente %1 de la oficina %2 dado de alta en la base de datos «%3».")
                       .arg(agente.usuario, agente.oficina, c.baseDatos)
                << "\n";
            EscribirLog(
                QCoreApplication::translate("OrdenServidor", "orbalia-install --agente %1 --oficina %2 en %3")
                    .arg(agente.usuario, agente.oficina, c.descripcion()));
            return 0;
        } catch (const pg::PgError& e) {
            EscribirLog(QStringLiteral("orbalia-install --agente %1: %2").arg(c.descripcion(), e.describe()));
            err << QCoreApplication::translate("OrdenServidor", "Error: %1").arg(ExplicarFalloServidor(e, c))
                << "\n";
        } catch (const std::runtime_error& e) {
            err << QCoreApplication::translate("OrdenServidor", "Error: %1")
                       .arg(QString::fromStdString(e.what()))
                << "\n";
        }
        return 1;
    }
    if (actualizar) {
        try {
            auto servidor = pg::Connection::connect(o);
            schema::upgradeServerSchema(*servidor, [&](const QString& linea) {
                out << linea << "\n";
                out.flush();
            });
            out << QCoreApplication::translate("OrdenServidor",
                                               "La base de datos «%1» del servidor está en la versión %2.")
                       .arg(c.baseDatos, QString::number(schema::CurrentVersion))
                << "\n";
            return 0;
        } catch (const pg::PgError& e) {
            EscribirLog(
                QStringLiteral("orbalia-install --actualizar %1: %2").arg(c.descripcion(), e.describe()));
            err << QCoreApplication::translate("OrdenServidor", "Error: %1").arg(ExplicarFalloServidor(e, c))
                << "\n";
        } catch (const std::runtime_error& e) {
            err << QCoreApplication::translate("OrdenServidor", "Error: %1")
                       .arg(QString::fromStdString(e.what()))
                << "\n";
        }
        return 1;
    }
    ResultadoCopia r;
    try {
        auto servidor = pg::Connection::connect(o);
        opciones.progreso = [&](const QString& linea) {
            out << linea << "\n";
            out.flush();
        };
        r = copiarOficina(dir, *servidor, opciones);
    } catch (const pg::PgError& e) {
        EscribirLog(QStringLiteral("orbalia-install --servidor %1: %2").arg(c.descripcion(), e.describe()));
        err << QCoreApplication::translate("OrdenServidor", "Error: %1").arg(ExplicarFalloServidor(e, c))
            << "\n";
        return 1;
    } catch (const CopiaRechazada& e) {
        err << QCoreApplication::translate("OrdenServidor", "Error: %1").arg(e.texto()) << "\n";
        return 1;
    } catch (const std::exception&) {
        err << LineaError(std::current_exception(), QDir(dir).filePath(QStringLiteral("Orbalia.db"))) << "\n";
        return 1;
    }
    const QString filas = QCoreApplication::translate("OrdenServidor", "%n filas", nullptr, int(r.filas()));
    if (r.yaEstaba)
        out << QCoreApplication::translate(
                   "OrdenServidor",
                   "El servidor ya tenía los datos de esta oficina (%n tablas, %1, iguales "
                   "en ambos lados): no se ha cambiado nada.",
                   nullptr, int(r.tablas.size()))
                   .arg(filas)
            << "\n";
    else
        out << QCoreApplication::translate(
                   "OrdenServidor",
                   "Copiadas %n tablas con %1 a %2; filas y sumas de comprobación iguales "
                   "en la oficina y en el servidor.",
                   nullptr, int(r.tablas.size()))
                   .arg(filas, c.descripcion())
            << "\n";
    if (!GuardarConexionServidor(dir, c)) {
        err << QCoreApplication::translate(
                   "OrdenServidor", "Error: no se ha podido escribir la conexión del puesto en Orbalia.ini u "
                                    "%1 de %2; los datos ya están en el servidor: repita la orden cuando se "
                                    "pueda escribir.")
                   .arg(QLatin1String(ClaveFileName), QDir::toNativeSeparators(dir))
            << "\n";
        return 1;
    }
    out << QCoreApplication::translate("OrdenServidor", "El puesto de %1 trabajará con el servidor %2.")
               .arg(QDir::toNativeSeparators(dir), c.descripcion())
        << "\n";
    return 0;
}

} // namespace orb::install

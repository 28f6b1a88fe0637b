#include "Herramienta.h"

#include "AppContext.h"
#include "ConexionServidor.h"
#include "DatabaseSession.h"
#include "ErrorReport.h"
#include "Installation.h"
#include "Log.h"
#include "platform/db/Database.h"
#include "platform/mysql/MysqlError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QMutex>
#include <QStringList>
#include <QTextStream>
#include <cerrno>
#include <new>
#include <system_error>

namespace orb {

namespace {

QtMessageHandler& anterior() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

// Messages that came before the tool knew its folder (the application's own
// start-up says "XDG_RUNTIME_DIR not set" under cron): kept until the log
// has a place, then written there, or to standard error if it never has.
struct Pendientes {
    QMutex mutex;
    QStringList lineas;
};

Pendientes& pendientes() {
    static Pendientes p;
    return p;
}

void volcarPendientes() {
    QStringList lineas;
    {
        QMutexLocker lock(&pendientes().mutex);
        lineas.swap(pendientes().lineas);
    }
    const bool sinRegistro = RutaLog().isEmpty();
    for (const QString& l : lineas) {
        // Qt's note that it falls back to its own runtime folder (cron, a
        // plain ssh session) says nothing about the tool's work: it goes to
        // Orbalia.log when there is one, never to the output.
        if (sinRegistro && l.contains(QLatin1String("XDG_RUNTIME_DIR")))
            continue;
        EscribirLog(l);
    }
}

void mensajeQt(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    // A fatal message still ends the program the way Qt does.
    if (tipo == QtFatalMsg) {
        if (anterior())
            anterior()(tipo, contexto, texto);
        return;
    }
    const QString categoria = contexto.category ? QString::fromLatin1(contexto.category) : QString();
    const QString linea = QStringLiteral("Qt %1: %2").arg(categoria, texto);
    if (RutaLog().isEmpty()) {
        QMutexLocker lock(&pendientes().mutex);
        if (pendientes().lineas.size() < 100)
            pendientes().lineas << linea;
        return;
    }
    volcarPendientes();
    EscribirLog(linea);
}

// Only into Orbalia.log: without a folder the log would be standard error,
// and the engine's words must not reach the output.
void anotar(const QString& texto) {
    if (!RutaLog().isEmpty())
        EscribirLog(texto);
}

} // namespace

int LeerOpciones(QCommandLineParser& parser, const QStringList& argumentos) {
    const QCommandLineOption ayuda({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("ayuda")},
                                   QStringLiteral("Muestra esta ayuda."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Muestra la versión del programa."));
    parser.addOption(ayuda);
    parser.addOption(version);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parser.parse(argumentos)) {
        // Qt's own error texts are English; the two a user meets are said here.
        const QStringList desconocidas = parser.unknownOptionNames();
        const QString texto = parser.errorText();
        const qsizetype comilla = texto.indexOf(u'\'');
        QString linea;
        if (!desconocidas.isEmpty())
            linea =
                QStringLiteral("Error: opción desconocida: %1").arg(desconocidas.join(QStringLiteral(", ")));
        else if (texto.startsWith(QLatin1String("Missing value after")) && comilla >= 0)
            linea = QStringLiteral("Error: falta el valor de la opción %1")
                        .arg(texto.mid(comilla).remove(u'\'').chopped(1));
        else
            linea = QStringLiteral("Error: opciones no válidas: %1").arg(argumentos.mid(1).join(u' '));
        err << linea << Qt::endl
            << QStringLiteral("Para ver las opciones: %1 --help").arg(QCoreApplication::applicationName())
            << Qt::endl;
        return 2;
    }
    if (parser.isSet(ayuda)) {
        // Qt writes its headings in English unless translated: these are the
        // only words of its help that are not the tool's own.
        QString texto = parser.helpText();
        texto.replace(QLatin1String("Usage: "), QLatin1String("Uso: "));
        texto.replace(QLatin1String("[options]"), QLatin1String("[opciones]"));
        texto.replace(QLatin1String("\nOptions:\n"), QLatin1String("\nOpciones:\n"));
        texto.replace(QLatin1String("\nArguments:\n"), QLatin1String("\nArgumentos:\n"));
        out << texto;
        return 0;
    }
    if (parser.isSet(version)) {
        out << QCoreApplication::applicationName() << u' ' << QCoreApplication::applicationVersion()
            << Qt::endl;
        return 0;
    }
    return -1;
}

void DesviarMensajesQt() {
    const QtMessageHandler previo = qInstallMessageHandler(mensajeQt);
    if (previo != mensajeQt)
        anterior() = previo;
}

QString ExplicarError(std::exception_ptr error, const QString& rutaBaseDatos) {
    try {
        std::rethrow_exception(error);
    } catch (const db::DbError& e) {
        if (!RutaLog().isEmpty())
            RegistrarError(QStringLiteral("ejecutar la herramienta"), e);
        return CausaError(e, {}, rutaBaseDatos);
    } catch (const mysql::MysqlError& e) {
        anotar(QStringLiteral("Error del servidor MySQL: %1").arg(e.describe()));
        return QStringLiteral("El servidor MySQL ha devuelto un error.");
    } catch (const std::bad_alloc&) {
        anotar(QStringLiteral("Sin memoria"));
        return QStringLiteral("No hay memoria suficiente.");
    } catch (const std::system_error& e) {
        anotar(QStringLiteral("Error del sistema: %1").arg(QString::fromLocal8Bit(e.what())));
        if (e.code() == std::errc::no_space_on_device)
            return QStringLiteral("El disco está lleno.");
        return QStringLiteral("No se ha podido leer o escribir en el disco.");
    } catch (const std::runtime_error& e) {
        // The program's own refusals are runtime errors worded for the user.
        const QString texto = QString::fromUtf8(e.what());
        anotar(QStringLiteral("Error: %1").arg(texto));
        return texto;
    } catch (const std::exception& e) {
        anotar(QStringLiteral("Excepción no atendida: %1").arg(QString::fromUtf8(e.what())));
    } catch (...) {
        anotar(QStringLiteral("Excepción no atendida de tipo desconocido"));
    }
    return QStringLiteral("Error interno.");
}

QString LineaError(std::exception_ptr error, const QString& rutaBaseDatos) {
    QString linea = QStringLiteral("Error: ") + ExplicarError(error, rutaBaseDatos);
    const QString log = RutaLog();
    if (!log.isEmpty() && !linea.contains(QStringLiteral("Orbalia.log")))
        linea += QStringLiteral(" Los detalles se han guardado en %1.").arg(log);
    return linea;
}

int EjecutarHerramienta(const std::function<int()>& cuerpo) {
    DesviarMensajesQt();
    try {
        const int codigo = cuerpo();
        volcarPendientes();
        return codigo;
    } catch (...) {
        volcarPendientes();
        const QString linea = LineaError(std::current_exception());
        // Nothing here may throw again: the line is the tool's last word.
        try {
            QTextStream err(stderr);
            err << linea << Qt::endl;
        } catch (...) {
        }
        return ErrorHerramienta;
    }
}

int AbrirInstalacionHerramienta(AppContext& ctx, const QString& carpetaPedida, QTextStream& err) {
    const QString carpeta =
        QDir(carpetaPedida.isEmpty() ? CarpetaInstalacion() : carpetaPedida).absolutePath() + u'/';
    if (!QDir(carpeta).exists()) {
        err << "No existe la carpeta de la instalación: " << carpeta << Qt::endl;
        return 2;
    }
    // From here the engine's own words go to the installation's Orbalia.log.
    IniciarLog(carpeta);
    ctx.PonerCarpeta(carpeta);
    ctx.facts = LeerDatosInstalacion(carpeta);
    // A seat on a server reads the agency database there, as the program does.
    if (const ConexionServidor c = LeerConexionServidor(carpeta); c.enServidor()) {
        if (const QString causa = ConectarServidor(ctx, c); !causa.isEmpty()) {
            err << "Error al abrir la base de datos [" << c.descripcion() << "]: " << causa << Qt::endl;
            return 2;
        }
    } else
        try {
            ctx.BaseDatosAgencia = db::Database::open(ctx.RutaBaseDatos);
        } catch (const db::DbError& e) {
            RegistrarError(QStringLiteral("abrir la base de datos"), e);
            err << "Error al abrir la base de datos [" << ctx.RutaBaseDatos
                << "]: " << CausaError(e, {}, ctx.RutaBaseDatos) << Qt::endl;
            return 2;
        }
    const int version = LeerVersionBD(ctx);
    if (version < 0) {
        err << "Error al abrir la base de datos [" << ctx.RutaBaseDatos
            << "]: El archivo no es una base de datos de Orbalia o está dañado." << Qt::endl;
        return 2;
    }
    if (version < VersionRequerida) {
        err << "La base de datos es de una versión anterior: abra el programa para actualizarla." << Qt::endl;
        return 2;
    }
    return -1;
}

} // namespace orb

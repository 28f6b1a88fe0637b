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

namespace {

// The option Qt says lacks its value, from its message in whatever language
// Qt's own translation speaks (the seat's); empty for any other error.
QString opcionSinValor(const QString& texto) {
    const char* contexto = "QCommandLineParser"; // Qt's own message, not ours to translate
    const QString molde = QCoreApplication::translate(contexto, "Missing value after '%1'.");
    const qsizetype marca = molde.indexOf(QLatin1String("%1"));
    if (marca <= 0)
        return {};
    const QString antes = molde.left(marca), despues = molde.mid(marca + 2);
    if (!texto.startsWith(antes) || !texto.endsWith(despues) || texto.size() <= antes.size() + despues.size())
        return {};
    return texto.mid(antes.size(), texto.size() - antes.size() - despues.size());
}

} // namespace

int LeerOpciones(QCommandLineParser& parser, const QStringList& argumentos) {
    const QCommandLineOption ayuda({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("ayuda")},
                                   QCoreApplication::translate("Herramienta", "Muestra esta ayuda."));
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")},
        QCoreApplication::translate("Herramienta", "Muestra la versión del programa."));
    parser.addOption(ayuda);
    parser.addOption(version);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parser.parse(argumentos)) {
        // Qt's own error texts are English; the two a user meets are said here.
        const QStringList desconocidas = parser.unknownOptionNames();
        const QString texto = parser.errorText();
        QString linea;
        if (!desconocidas.isEmpty())
            linea = QCoreApplication::translate("Herramienta", "Error: opción desconocida: %1")
                        .arg(desconocidas.join(QStringLiteral(", ")));
        else if (const QString opcion = opcionSinValor(texto); !opcion.isEmpty())
            linea = QCoreApplication::translate("Herramienta", "Error: falta el valor de la opción %1")
                        .arg(opcion);
        else
            linea = QCoreApplication::translate("Herramienta", "Error: opciones no válidas: %1")
                        .arg(argumentos.mid(1).join(u' '));
        err << linea << Qt::endl
            << QCoreApplication::translate("Herramienta", "Para ver las opciones: %1 --help")
                   .arg(QCoreApplication::applicationName())
            << Qt::endl;
        return 2;
    }
    if (parser.isSet(ayuda)) {
        // Qt writes its headings in English unless translated: these are the
        // only words of its help that are not the tool's own.
        QString texto = parser.helpText();
        texto.replace(QLatin1String("Usage: "), QCoreApplication::translate("Herramienta", "Uso: "));
        texto.replace(QLatin1String("[options]"), QCoreApplication::translate("Herramienta", "[opciones]"));
        texto.replace(QLatin1String("\nOptions:\n"),
                      QCoreApplication::translate("Herramienta", "\nOpciones:\n"));
        texto.replace(QLatin1String("\nArguments:\n"),
                      QCoreApplication::translate("Herramienta", "\nArgumentos:\n"));
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
            RegistrarError(QCoreApplication::translate("Herramienta", "ejecutar la herramienta"), e);
        return CausaError(e, {}, rutaBaseDatos);
    } catch (const mysql::MysqlError& e) {
        anotar(QCoreApplication::translate("Herramienta", "Error del servidor MySQL: %1").arg(e.describe()));
        return QCoreApplication::translate("Herramienta", "El servidor MySQL ha devuelto un error.");
    } catch (const std::bad_alloc&) {
        anotar(QCoreApplication::translate("Herramienta", "Sin memoria"));
        return QCoreApplication::translate("Herramienta", "No hay memoria suficiente.");
    } catch (const std::system_error& e) {
        anotar(QCoreApplication::translate("Herramienta", "Error del sistema: %1")
                   .arg(QString::fromLocal8Bit(e.what())));
        if (e.code() == std::errc::no_space_on_device)
            return QCoreApplication::translate("Herramienta", "El disco está lleno.");
        return QCoreApplication::translate("Herramienta", "No se ha podido leer o escribir en el disco.");
    } catch (const std::runtime_error& e) {
        // The program's own refusals are runtime errors worded for the user.
        const QString texto = QString::fromUtf8(e.what());
        anotar(QCoreApplication::translate("Herramienta", "Error: %1").arg(texto));
        return texto;
    } catch (const std::exception& e) {
        anotar(QCoreApplication::translate("Herramienta", "Excepción no atendida: %1")
                   .arg(QString::fromUtf8(e.what())));
    } catch (...) {
        anotar(QCoreApplication::translate("Herramienta", "Excepción no atendida de tipo desconocido"));
    }
    return QCoreApplication::translate("Herramienta", "Error interno.");
}

QString LineaError(std::exception_ptr error, const QString& rutaBaseDatos) {
    QString linea =
        QCoreApplication::translate("Herramienta", "Error: %1").arg(ExplicarError(error, rutaBaseDatos));
    const QString log = RutaLog();
    if (!log.isEmpty() && !linea.contains(QStringLiteral("Orbalia.log")))
        linea += QCoreApplication::translate("Herramienta", " Los detalles se han guardado en %1.").arg(log);
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
        err << QCoreApplication::translate("Herramienta", "No existe la carpeta de la instalación: %1")
                   .arg(carpeta)
            << Qt::endl;
        return 2;
    }
    // From here the engine's own words go to the installation's Orbalia.log.
    IniciarLog(carpeta);
    ctx.PonerCarpeta(carpeta);
    ctx.facts = LeerDatosInstalacion(carpeta);
    // A seat on a server reads the agency database there, as the program does.
    if (const ConexionServidor c = LeerConexionServidor(carpeta); c.enServidor()) {
        if (const QString causa = ConectarServidor(ctx, c); !causa.isEmpty()) {
            err << QCoreApplication::translate("Herramienta", "Error al abrir la base de datos [%1]: %2")
                       .arg(c.descripcion(), causa)
                << Qt::endl;
            return 2;
        }
    } else
        try {
            ctx.BaseDatosAgencia = db::Database::open(ctx.RutaBaseDatos);
        } catch (const db::DbError& e) {
            RegistrarError(QCoreApplication::translate("Herramienta", "abrir la base de datos"), e);
            err << QCoreApplication::translate("Herramienta", "Error al abrir la base de datos [%1]: %2")
                       .arg(ctx.RutaBaseDatos, CausaError(e, {}, ctx.RutaBaseDatos))
                << Qt::endl;
            return 2;
        }
    const int version = LeerVersionBD(ctx);
    if (version < 0) {
        err << QCoreApplication::translate("Herramienta", "Error al abrir la base de datos [%1]: %2")
                   .arg(ctx.RutaBaseDatos,
                        QCoreApplication::translate(
                            "Herramienta", "El archivo no es una base de datos de Orbalia o está dañado."))
            << Qt::endl;
        return 2;
    }
    if (version < VersionRequerida) {
        err << QCoreApplication::translate(
                   "Herramienta",
                   "La base de datos es de una versión anterior: abra el programa para actualizarla.")
            << Qt::endl;
        return 2;
    }
    return -1;
}

} // namespace orb

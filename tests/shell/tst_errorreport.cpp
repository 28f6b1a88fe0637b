// Database errors told in plain Spanish, the log file, and the last-resort report.

#include "TestInstallation.h"
#include "platform/db/Database.h"
#include "shell/ConfigStore.h"
#include "shell/ErrorReport.h"
#include "shell/Log.h"

#include <QtTest>
#include <sys/wait.h>
#include <unistd.h>

using namespace orb;

namespace {

// The error a statement really raises on a real file.
db::DbError errorOf(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const db::DbError& e) {
        return e;
    }
    return db::DbError(0, "no error");
}

// What f gives when run without root's right to write anywhere: as it is, or,
// under root, in a child process that has become the unprivileged "nobody".
QString comoUsuarioCorriente(const std::function<QString()>& f) {
    if (geteuid() != 0)
        return f();
    int tubo[2];
    if (pipe(tubo) != 0)
        return QStringLiteral("pipe");
    const pid_t hijo = fork();
    if (hijo == 0) {
        close(tubo[0]);
        int estado = 1;
        if (setgid(65534) == 0 && setuid(65534) == 0) {
            const QByteArray texto = f().toUtf8();
            estado = write(tubo[1], texto.constData(), size_t(texto.size())) == texto.size() ? 0 : 1;
        }
        _exit(estado);
    }
    close(tubo[1]);
    QByteArray leido;
    char bloque[512];
    for (ssize_t n; (n = read(tubo[0], bloque, sizeof bloque)) > 0;)
        leido.append(bloque, n);
    close(tubo[0]);
    int estado = 0;
    waitpid(hijo, &estado, 0);
    return WIFEXITED(estado) && WEXITSTATUS(estado) == 0 ? QString::fromUtf8(leido)
                                                         : QStringLiteral("the child failed");
}

} // namespace

class TestErrorReport : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private Q_SLOTS:
    void init() {
        QFile::remove(dir.filePath("Orbalia.log"));
        QFile::remove(dir.filePath("Orbalia.log.1"));
        IniciarLog(dir.path());
    }

    void engineErrorsGetAPlainCause() {
        TestInstallation inst;
        db::Database& base = inst.context().db();
        base.execute("DELETE FROM Tipos");
        base.execute("INSERT INTO Tipos (Cod, Nombre) VALUES (7, 'Piso')");

        const auto dup = errorOf([&] { base.execute("INSERT INTO Tipos (Cod, Nombre) VALUES (7, 'Otro')"); });
        QCOMPARE(dup.number(), int(db::ErrDuplicateKey));
        QCOMPARE(ColumnaDelError(dup), QString("Cod"));
        QCOMPARE(CausaError(dup, [](const QString&) { return QString("7"); }),
                 QString("Ya existe un registro con el código 7."));
        QCOMPARE(CausaError(dup), QString("Ya existe un registro con los mismos datos."));

        // A mask far longer than its setting holds.
        const auto largo = errorOf([&] { GuardarConfig(base, "CODIGOS", "MASCARA", QString(300, u'0')); });
        QCOMPARE(largo.number(), int(db::ErrFieldTooSmall));
        QCOMPARE(CausaError(largo),
                 QString("El texto de Valor es demasiado largo (como máximo 255 caracteres)."));

        const auto lleno = errorOf([&] {
            base.scalar(QString("PRAGMA max_page_count = %1").arg(base.scalar("PRAGMA page_count").toInt()));
            base.execute("CREATE TABLE Relleno (x)");
            base.execute("INSERT INTO Relleno VALUES (zeroblob(500000))");
        });
        QCOMPARE(CausaError(lleno), QString("El disco está lleno."));

        for (const auto* e : {&dup, &largo, &lleno}) {
            QVERIFY2(!DescripcionError(*e).contains("constraint"), qPrintable(DescripcionError(*e)));
            QVERIFY(!DescripcionError(*e).contains("INSERT"));
        }
    }

    // A missing or damaged file is told by the session opening it; here the folder without write access.
    // Root writes anywhere, so under root the attempt is made by an ordinary user.
    void readOnlyFolderSaysWhy() {
        QTemporaryDir cerrada;
        const QString ruta = cerrada.filePath("Orbalia.db");
        db::Database::open(ruta, {.create = true})->execute("CREATE TABLE t (x)");
        QFile::setPermissions(ruta,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther);
        QFile::setPermissions(cerrada.path(),
                              QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        const QString causa = comoUsuarioCorriente([&] {
            const auto sinPermiso =
                errorOf([&] { db::Database::open(ruta)->execute("INSERT INTO t VALUES (1)"); });
            return CausaError(sinPermiso, {}, ruta);
        });
        QFile::setPermissions(cerrada.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(causa, QString("No hay permiso de escritura en la carpeta %1.").arg(cerrada.path()));
    }

    void logKeepsTheDetailAndRotates() {
        const db::DbError e(db::ErrDuplicateKey, "UNIQUE constraint failed: Propietarios.Cod", 2067);
        RegistrarError("pulsar el botón de aceptar", e);
        QFile log(RutaLog());
        QCOMPARE(RutaLog(), dir.filePath("Orbalia.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(log.readAll());
        QVERIFY(text.contains("3022"));
        QVERIFY(text.contains("UNIQUE constraint failed: Propietarios.Cod"));
        QVERIFY(text.contains("pulsar el botón de aceptar"));
        log.close();

        const QString linea(1000, u'l');
        for (int i = 0; i < 1100; ++i)
            EscribirLog(linea);
        QVERIFY(QFileInfo(dir.filePath("Orbalia.log.1")).size() >= kLimiteLog);
        QVERIFY(QFileInfo(dir.filePath("Orbalia.log")).size() < kLimiteLog);
        // Only one old file is kept.
        for (int i = 0; i < 1100; ++i)
            EscribirLog(linea);
        QCOMPARE(QDir(dir.path()).entryList({"Orbalia.log*"}).size(), 2);
    }

    void unexpectedErrorsAreReportedNotFatal() {
        ui::ScriptedDialogService dialogs;
        InformarErrorInesperado(&dialogs,
                                std::make_exception_ptr(db::DbError(db::ErrGeneric, "disk I/O error", 10)));
        InformarErrorInesperado(&dialogs, std::make_exception_ptr(std::runtime_error("vector::at")));
        InformarErrorInesperado(&dialogs, std::make_exception_ptr(42));
        QCOMPARE(dialogs.texts(),
                 QStringList(
                     {"Se ha producido el error (3000 - Error de la base de datos).\nNo se ha podido leer o "
                      "escribir en el disco.",
                      "Se ha producido un error inesperado.\nLos detalles se han guardado en Orbalia.log.",
                      "Se ha producido un error inesperado.\nLos detalles se han guardado en Orbalia.log."}));
        QFile log(RutaLog());
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(log.readAll());
        QVERIFY(text.contains("disk I/O error"));
        QVERIFY(text.contains("vector::at"));
    }
};

QTEST_MAIN(TestErrorReport)
#include "tst_errorreport.moc"

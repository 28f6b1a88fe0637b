// The photo folder side of the slots: a confirm's copies, placed or removed
// with its transaction, and what a confirm killed half-way left behind.

#include "FotosPropiedad.h"

#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "shell/AppContext.h"
#include "shell/Log.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orb {

namespace {

// Config group of the tokens of confirms whose copies are not in place yet.
const QString GrupoCopias = QStringLiteral("FOTOSPENDIENTES");

// Taken when the program is loaded, before any window can start a copy.
const QDateTime InicioProceso = QDateTime::currentDateTimeUtc();

qint64 msModificacion(const struct stat& st) {
    return qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

// Copies origen byte for byte into the new file destino and returns its
// descriptor, locked with flock() so that another copy's start-up leaves it
// alone for as long as this process holds it (flock, unlike the POSIX locks,
// survives any other descriptor of the file being closed). The bytes are on
// the disk before the row that names them can be committed. On failure: -1,
// errno set, nothing left.
int copiarBloqueado(const QString& origen, const QString& destino) {
    const QByteArray o = QFile::encodeName(origen), d = QFile::encodeName(destino);
    const int entrada = ::open(o.constData(), O_RDONLY | O_CLOEXEC);
    if (entrada < 0)
        return -1;
    const int salida = ::open(d.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (salida < 0) {
        const int e = errno;
        ::close(entrada);
        errno = e;
        return -1;
    }
    int error = 0;
    struct stat st {};
    if (::fstat(entrada, &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode))
        error = EINVAL; // a device or a pipe would never end
    if (!error && ::flock(salida, LOCK_EX | LOCK_NB) != 0)
        error = errno;
    std::vector<char> bloque(std::size_t(1) << 20);
    while (!error) {
        const ssize_t leidos = ::read(entrada, bloque.data(), bloque.size());
        if (leidos < 0 && errno == EINTR)
            continue;
        if (leidos < 0)
            error = errno;
        if (leidos <= 0)
            break;
        for (ssize_t hecho = 0; hecho < leidos && !error;) {
            const ssize_t n = ::write(salida, bloque.data() + hecho, std::size_t(leidos - hecho));
            if (n > 0)
                hecho += n;
            else if (n == 0)
                error = EIO;
            else if (errno != EINTR)
                error = errno;
        }
    }
    if (!error && ::fdatasync(salida) != 0)
        error = errno;
    ::close(entrada);
    if (error) {
        ::unlink(d.constData());
        ::close(salida);
        errno = error;
        return -1;
    }
    return salida;
}

// The cause as the engine would give it, so the user reads it in the same words.
int causaCopia(int error) {
    return error == ENOSPC || error == EDQUOT ? SQLITE_FULL : SQLITE_IOERR;
}

void sincronizarCarpeta(const QString& carpeta) {
    const int fd = ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void FotosPropiedad::preparar(db::Database& base, const QString& cod) {
    descartar(); // what a failed earlier confirm left
    const QString ficha =
        QStringLiteral("%1").arg(qulonglong(QRandomGenerator::system()->generate64()), 16, 16, QChar(u'0'));
    for (int i = 0; i < NumFotos; ++i) {
        const auto s = std::size_t(i);
        if (borrado_[s]) {
            // The file stays in the folder; the record no longer names it.
            txtFoto[s]->setText(QString());
            continue;
        }
        if (pendiente_[s].isEmpty())
            continue;
        // Whatever the chosen format, the bytes are kept and the name ends in .jpg.
        const QString nombre = QStringLiteral("%1-%2.jpg").arg(cod).arg(i + 1);
        const QString destino = ctx_.RutaFotos + nombre;
        const QString temporal = ctx_.RutaFotos + QStringLiteral(".%1.%2.tmp").arg(nombre, ficha);
        const int fd = copiarBloqueado(pendiente_[s], temporal);
        if (fd < 0) {
            const int error = errno;
            descartar();
            throw db::DbError(db::ErrGeneric,
                              tr("No se pudo copiar la foto %1 (\"%2\") a la carpeta de fotos: %3")
                                  .arg(QString::number(i + 1), pendiente_[s], qt_error_string(error)),
                              causaCopia(error));
        }
        copias_.append({temporal, destino, fd});
        txtFoto[s]->setText(nombre);
    }
    if (copias_.isEmpty())
        return;
    try {
        // Committed with the row or not at all: start-up reads here whether
        // copies a killed confirm left belong in place.
        base.execute(QStringLiteral("INSERT INTO Config (Grupo, Variable, Valor) VALUES (?, ?, ?)"),
                     {GrupoCopias, ficha, cod});
    } catch (...) {
        descartar();
        throw;
    }
    base_ = &base;
    ficha_ = ficha;
}

QString FotosPropiedad::colocar() {
    // rename() replaces the old file in one step: a reader sees the old
    // picture or the new one, never half of it.
    QStringList fallidas;
    for (Copia& c : copias_) {
        if (std::rename(QFile::encodeName(c.temporal).constData(),
                        QFile::encodeName(c.destino).constData()) != 0) {
            QFile::remove(c.temporal);
            fallidas << QFileInfo(c.destino).fileName();
        }
        ::close(c.fd);
        c.fd = -1;
    }
    if (!copias_.isEmpty())
        sincronizarCarpeta(ctx_.RutaFotos); // the names on the disk before the token goes
    copias_.clear();
    if (base_) {
        try {
            base_->execute(QStringLiteral("DELETE FROM Config WHERE Grupo = ? AND Variable = ?"),
                           {GrupoCopias, ficha_});
        } catch (const db::DbError& e) {
            // A token left behind is removed by the next start-up.
            EscribirLog(tr("No se ha podido borrar la marca de fotos %1: %2").arg(ficha_, e.description()));
        }
    }
    base_ = nullptr;
    ficha_.clear();
    for (auto& p : pendiente_)
        p.clear();
    borrado_.fill(false);
    if (fallidas.isEmpty())
        return {};
    return tr("La propiedad se ha guardado, pero no se pudo colocar en la carpeta de fotos: %1.")
        .arg(fallidas.join(QStringLiteral(", ")));
}

void FotosPropiedad::descartar() {
    // The token went with the rolled-back transaction, or was never stored.
    for (Copia& c : copias_) {
        QFile::remove(c.temporal);
        ::close(c.fd);
    }
    copias_.clear();
    base_ = nullptr;
    ficha_.clear();
}

QDateTime FotosPropiedad::inicioProceso() {
    return InicioProceso;
}

FotosPropiedad::Restos FotosPropiedad::limpiarRestos(db::Database& base, const QString& rutaFotos,
                                                     const QDateTime& antesDe) {
    Restos restos;
    if (rutaFotos.isEmpty())
        return restos;
    // A confirm's copy (".0100042-3.jpg.<token>.tmp"; without a token from
    // earlier versions), the import's "<photo>.part" and what QFile::copy
    // writes beside its target before renaming it.
    static const QRegularExpression copia(
        QStringLiteral("^\\.(.+-[1-6]\\.jpg)(?:\\.([0-9a-f]{16}))?\\.tmp$"));
    static const QRegularExpression otro(
        QStringLiteral("^(?:[^.].*\\.(?:jpe?g|bmp|png|gif)\\.part|qt_temp\\.[A-Za-z0-9]{6})$"),
        QRegularExpression::CaseInsensitiveOption);
    const qint64 limite = antesDe.toMSecsSinceEpoch();
    QSet<QString> enUso; // tokens whose copies someone may still be writing or placing
    QDirIterator it(rutaFotos,
                    {QStringLiteral(".*.tmp"), QStringLiteral("*.part"), QStringLiteral("qt_temp.*")},
                    QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        const QString ruta = it.next();
        const QString nombre = it.fileName();
        const auto m = copia.match(nombre);
        if (!m.hasMatch() && !otro.match(nombre).hasMatch())
            continue;
        const QString ficha = m.hasMatch() ? m.captured(2) : QString();
        const QByteArray r = QFile::encodeName(ruta);
        struct stat st {};
        if (::lstat(r.constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (msModificacion(st) >= limite) {
            enUso.insert(ficha);
            continue;
        }
        if (!m.hasMatch()) {
            if (::unlink(r.constData()) == 0)
                ++restos.borrados;
            continue;
        }
        const int fd = ::open(r.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat abierto {};
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &abierto) != 0 ||
            abierto.st_ino != st.st_ino || abierto.st_dev != st.st_dev) {
            enUso.insert(ficha); // a running confirm holds it
            ::close(fd);
            continue;
        }
        bool confirmada = false;
        if (!ficha.isEmpty())
            confirmada =
                base.scalar(QStringLiteral("SELECT count(*) FROM Config WHERE Grupo = ? AND Variable = ?"),
                            {GrupoCopias, ficha})
                    .toInt() > 0;
        const QByteArray destino = QFile::encodeName(rutaFotos + m.captured(1));
        struct stat actual {};
        // A picture placed later, by a confirm that did finish, is newer and stays.
        const bool libre = ::lstat(destino.constData(), &actual) != 0 ||
                           (S_ISREG(actual.st_mode) && msModificacion(actual) <= msModificacion(st));
        if (confirmada && libre && std::rename(r.constData(), destino.constData()) == 0)
            ++restos.colocadas;
        else if (::unlink(r.constData()) == 0)
            ++restos.borrados;
        ::close(fd);
    }
    if (restos.colocadas > 0)
        sincronizarCarpeta(rutaFotos);
    // Tokens whose copies are all gone.
    for (const db::Row& fila :
         base.query(QStringLiteral("SELECT Variable FROM Config WHERE Grupo = ?"), {GrupoCopias})) {
        const QString ficha = fila.value(0).toString();
        if (!enUso.contains(ficha))
            base.execute(QStringLiteral("DELETE FROM Config WHERE Grupo = ? AND Variable = ?"),
                         {GrupoCopias, ficha});
    }
    if (restos.colocadas + restos.borrados > 0)
        EscribirLog(
            tr("Carpeta de fotos: %1, %2.")
                .arg(tr("%n fotos de una grabación interrumpida colocadas", nullptr, restos.colocadas),
                     tr("%n archivos temporales borrados", nullptr, restos.borrados)));
    return restos;
}

} // namespace orb

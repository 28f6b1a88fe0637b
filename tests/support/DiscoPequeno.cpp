#include "DiscoPequeno.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

QString relleno(const QString& carpeta) {
    return carpeta + QStringLiteral("/.relleno");
}

} // namespace

DiscoPequeno::DiscoPequeno(const QString& carpeta, qint64 bytes) : carpeta_(QDir(carpeta).absolutePath()) {
    QDir().mkpath(carpeta_);
    const QByteArray opciones = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(carpeta_).constData(), "tmpfs", 0, opciones.constData()) != 0) {
        motivo_ = QStringLiteral("no se puede montar un disco pequeño (tmpfs) en %1: %2; hace falta ser root")
                      .arg(carpeta_, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    montado_ = true;
}

DiscoPequeno::~DiscoPequeno() {
    vaciar();
    if (montado_)
        ::umount2(QFile::encodeName(carpeta_).constData(), MNT_DETACH);
}

void DiscoPequeno::llenar() {
    vaciar();
    const QByteArray ruta = QFile::encodeName(relleno(carpeta_));
    relleno_ = ::open(ruta.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (relleno_ < 0)
        qFatal("cannot create the filler file: %s", std::strerror(errno));
    ::unlink(ruta.constData());
    const QByteArray bloque(64 * 1024, 'x');
    // Large blocks first, then byte by byte into the last page.
    for (qsizetype tamano : {bloque.size(), qsizetype(4096), qsizetype(1)})
        while (::write(relleno_, bloque.constData(), size_t(tamano)) > 0) {
        }
}

void DiscoPequeno::vaciar() {
    if (relleno_ >= 0)
        ::close(relleno_);
    relleno_ = -1;
}

qint64 DiscoPequeno::libre() const {
    return QStorageInfo(carpeta_).bytesAvailable();
}

#pragma once

// The property window on a real installation with its real photo folder:
// the pictures a user picks (real JPEG and BMP files) and the rows and log
// lines the window stores.

#include "ActividadPrueba.h"
#include "TestInstallation.h"
#include "records/FotosPropiedad.h"
#include "records/frmPropiedades.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace prueba {

using namespace orb;
using namespace orb::prop;

class FotosPropiedadPrueba {
protected:
    std::unique_ptr<TestInstallation> inst;
    QTemporaryDir fuera; // where the user's pictures come from
    AppContext& ctx() { return inst->context(); }
    QVariant campo(const QString& cod, const QString& field) {
        return ctx().db().scalar(QStringLiteral("SELECT %1 FROM Propiedades WHERE Cod = ?").arg(field),
                                 {cod});
    }
    QString imagen(const QString& nombre, QColor color, const char* formato = "JPG") {
        QImage img(640, 480, QImage::Format_RGB32);
        img.fill(color);
        const QString ruta = fuera.filePath(nombre);
        if (!img.save(ruta, formato))
            qFatal("cannot write %s", qPrintable(ruta));
        return ruta;
    }
    // Message boxes shown, without the file dialogs the service also records.
    QStringList mensajes() {
        QStringList l = inst->dialogs().texts();
        l.removeAll("Cargar fotografía");
        return l;
    }
    static QByteArray bytes(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList carpetaFotos() {
        return QDir(ctx().RutaFotos).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QStringList log(const QString& cod) { return actividadesGuardadas(ctx(), cod); }
    QStringList lineas(const frmPropiedades& w) { return actividadesEnPantalla(w); }
    void escribir(frmPropiedades& w, int fila, int columna, const QString& texto) {
        QVERIFY(w.actividades->setData(w.actividades->index(fila, columna), texto));
    }
    void esperarFotos(frmPropiedades& w) { QTRY_COMPARE(w.fotos->decodificando(), 0); }
    void propiedad(const QString& cod, int quick, const QString& foto1 = {}, const QString& foto2 = {}) {
        ctx().db().execute(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Direccion, Foto1, "
            "Foto2) VALUES (?, '01', ?, FALSE, 'En Venta', 'Calle Sol', ?, ?)",
            {cod, quick, foto1, foto2});
    }
    // Tokens of confirms whose copies are not in place.
    QStringList pendientes() {
        QStringList l;
        for (const db::Row& r : ctx().db().query(
                 "SELECT Variable FROM Config WHERE Grupo = 'FOTOSPENDIENTES' ORDER BY Variable"))
            l << r[0].toString();
        return l;
    }
    // A file in the photo folder with desde's bytes, last written hace seconds ago.
    void poner(const QString& nombre, const QString& desde, int hace) {
        const QString ruta = ctx().RutaFotos + nombre;
        QFile::remove(ruta);
        QVERIFY(QFile::copy(desde, ruta));
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(
            f.setFileTime(QDateTime::currentDateTime().addSecs(-hace), QFileDevice::FileModificationTime));
    }
    void actividad(const QString& cod, const QString& fecha, const QString& texto) {
        ctx().db().execute("INSERT INTO Actividades (Propiedad, Fecha, CodCliente, Cliente, Actividad) "
                           "VALUES (?, ?, '', '', ?)",
                           {cod, fecha, texto});
    }

    // An empty installation of office "01" with an empty photo folder.
    void preparar() {
        inst = std::make_unique<TestInstallation>();
        for (const char* t : {"Propiedades", "Actividades"})
            ctx().db().execute(QStringLiteral("DELETE FROM %1").arg(t));
        QDir(ctx().RutaFotos).removeRecursively();
        QDir().mkpath(ctx().RutaFotos);
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
    }
};

} // namespace prueba

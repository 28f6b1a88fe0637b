#pragma once

// What the import tests of another office's Export.db share: the exchange
// files are made by the real export of another installation and laid where
// the download leaves them.

#include "IntercambioPrueba.h"
#include "exchange/ExportacionOficina.h"
#include "shell/Log.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace prueba {

// Exports otra and lays its folder where aqui's download would. An office
// without properties is first given office 2's two properties, one owner
// and one client (unless sembrar is false).
inline void exportarOficina(TestInstallation& otra, TestInstallation& aqui, bool clientes = true,
                            bool sembrar = true) {
    db::Database& d = otra.context().db();
    if (sembrar && d.scalar("SELECT count(*) FROM Propiedades").toInt() == 0) {
        fila(d, "Propiedades", "200001", "2", "f1.jpg");
        fila(d, "Propiedades", "200002", "2");
        fila(d, "Propietarios", "200001", "2");
        if (clientes)
            fila(d, "Clientes", "200001", "2");
        foto(otra.context().RutaFotos + "f1.jpg", {1024, 768}, Qt::red);
    }
    Registro r;
    QVERIFY(orb::ExportacionOficina(otra.context(), r.informe()).Exportar());
    const QString destino = aqui.file("Exchange/" + otra.context().facts.CodigoOficina + "/");
    QDir(destino).removeRecursively();
    QDir().mkpath(destino);
    for (const QString& f :
         QDir(otra.file("Exchange/" + otra.context().facts.CodigoOficina)).entryList(QDir::Files))
        QVERIFY(
            QFile::copy(otra.file("Exchange/" + otra.context().facts.CodigoOficina + "/" + f), destino + f));
}

// This office "1" (principal) already holds rows of its own and old rows of office 2.
inline void filasPrevias(db::Database& d) {
    fila(d, "Propiedades", "100001", "1");
    fila(d, "Propiedades", "200009", "2"); // gone from office 2's export
    fila(d, "Propietarios", "200009", "2");
    fila(d, "Clientes", "100001", "1");
    fila(d, "Clientes", "200009", "2");
    catalogo(d, 1, "Piso");
}

inline QStringList todo(db::Database& d) {
    QStringList out;
    for (const char* t : {"Tipos", "Localidades", "Areas", "Propiedades", "Propietarios", "Clientes"})
        out << QString::fromLatin1(t) << tabla(d, QString::fromLatin1(t));
    return out;
}

// The technical log of the run in a folder of its own, emptied before each case.
class RegistroImportacion {
protected:
    void iniciarRegistro() {
        QVERIFY(registro_.isValid());
        orb::IniciarLog(registro_.path());
    }
    static void vaciarRegistro() { QFile::remove(orb::RutaLog()); }

private:
    QTemporaryDir registro_;
};

} // namespace prueba

#include "DossierModelos.h"

#include "Informes.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orb::reports {

namespace {

// SHA-256 of each model text an earlier version installed, and the model
// that replaces it. When a shipped model changes, the hash of the text it
// had goes here, so that installations made before receive the new one.
struct Anterior {
    const char* sha256;
    const char* recurso;
};
const Anterior Anteriores[] = {
    {"9274c85f18c5c29d9cc7a4ba064bf47225f3f30021082ffae54d6dd9de616c95", ":/reports/Dossier.rpx"},
    {"e55ecd2dd67d1e33a2e8cba254edc956fb3bcb8d283d4e991208d22217424b3a", ":/reports/Dossier.rpx"},
    {"4b3b59e2bbbe4d714b6ff2b836d23380af3da908c5a9193add7c025c3df91185", ":/reports/Dossier1.rpx"},
    {"07c3cc964e8c7b64357303952762018d929d8af43a00daea7433f35e17920e97", ":/reports/Dossier1.rpx"},
};

} // namespace

QByteArray ModeloDossierVigente(const QByteArray& contenido) {
    QByteArray texto = contenido;
    // A copy that went through an editor or a Windows share may have CRLF.
    texto.replace("\r\n", "\n");
    const QByteArray huella = QCryptographicHash::hash(texto, QCryptographicHash::Sha256).toHex();
    for (const Anterior& a : Anteriores) {
        if (huella != a.sha256)
            continue;
        RegistrarDisenos();
        QFile f(QLatin1String(a.recurso));
        if (f.open(QIODevice::ReadOnly))
            return f.readAll();
    }
    return {};
}

report::Layout CargarModeloDossier(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return report::loadLayout(ruta); // names the file and the cause
    const QByteArray vigente = ModeloDossierVigente(f.readAll());
    f.close();
    if (vigente.isEmpty())
        return report::loadLayout(ruta);
    // Written whole or not at all; a folder that cannot be written still
    // gets the current dossier.
    QSaveFile nuevo(ruta);
    if (nuevo.open(QIODevice::WriteOnly) && nuevo.write(vigente) == vigente.size())
        nuevo.commit();
    else
        nuevo.cancelWriting();
    return report::parseLayout(vigente, ruta, QFileInfo(ruta).absolutePath());
}

} // namespace orb::reports

#pragma once

#include "platform/db/Database.h"
#include "platform/widgets/DialogService.h"
#include "shell/AvisosCambios.h"
#include "shell/CambiosRegistros.h"
#include "shell/Ventana.h"

#include <QString>
#include <memory>

class QWidget;

namespace mail {
class MailClient;
}

namespace orb {

class Navigator;
class Consultas;

// Facts of one installation, from Orbalia.ini [Instalacion], read at start-up; only the
// installer, the first-start assistant and the settings page "Instalación" write them.
struct InstallationFacts {
    QString NombreAgencia;
    bool OficinaPrincipal = true;
    QString CodigoOficina;
    QString CodigoAgenciaWeb;
    QString RedAgencias;
    int ModelosDossier = 0;
    QString PieDossier;

    bool operator==(const InstallationFacts&) const = default;
};

// Program-wide state set by start-up and handed to every window. Tests build
// their own on a temporary installation folder.
struct AppContext {
    // Folders, each ending in "/".
    QString RutaAplicacion;
    QString RutaFotos;
    QString RutaWeb;
    QString RutaExchange;
    QString RutaBaseDatos; // RutaAplicacion + "Orbalia.db"

    InstallationFacts facts;

    // The agent at this seat (signed in on a server, chosen on the file);
    // empty name when the agency keeps no agents. New activity lines, sent
    // matches and visits record this name.
    struct Agente {
        qint64 cod = 0;
        QString nombre;
        QString oficina;
    } agente;

    // The one connection to Orbalia.db on the UI thread: opened through
    // db::Database::shared, so the record windows' controllers get this same
    // one and a window's writes always fall inside the confirm's transaction.
    std::shared_ptr<db::Database> BaseDatosAgencia;
    int VersionBD = -1;
    bool AddAgainConfig = false;
    // Where the photo dialog opens: the folder of the last picture chosen in
    // this run; empty for the user's pictures folder.
    QString CarpetaFotosElegidas;

    // The wildcard users type in searches.
    QString Comodin = QStringLiteral("*");

    ui::DialogService* dialogs = nullptr;
    Navigator* navigator = nullptr;   // the main window's operations (usrShow…)
    mail::MailClient* mail = nullptr; // hand-over of prepared messages to the mail client
    Consultas* lookups = nullptr;     // the lookup dialogs (Consultas::Consultar)
    // Records stored or deleted: the grids and counts that show them listen here.
    CambiosRegistros cambios;
    // What other seats changed (started by start-up for the agency database):
    // open record windows and grids listen here.
    AvisosCambios avisos;

    db::Database& db() const { return *BaseDatosAgencia; }

    // The installation folder (ending in "/") and the folders and file laid out inside it.
    void PonerCarpeta(const QString& carpeta) {
        RutaAplicacion = carpeta;
        RutaFotos = carpeta + QStringLiteral("Fotos/");
        RutaWeb = carpeta + QStringLiteral("Web/");
        RutaExchange = carpeta + QStringLiteral("Exchange/");
        RutaBaseDatos = carpeta + QStringLiteral("Orbalia.db");
    }
};

// The main window's public operations that other windows call, so windows and
// the main window never include each other.
class Navigator {
public:
    virtual ~Navigator() = default;
    virtual void usrShow(QWidget* frm) = 0;
    virtual void usrMDICenter(QWidget* frm) = 0;
    // Opens or raises the window of a kind on a side (catalogue and tool
    // windows have only the sales side).
    virtual void usrShow(Ventana kind, bool alquiler) = 0;
    virtual void usrEmailPara(const QString& direccion, const QString& nombre) = 0;
    // Opens or raises the record window of a side and shows the record with
    // that code (the search windows' Go to). An unknown code leaves it where it was.
    virtual void usrIrPropiedad(bool alquiler, const QString& cod) = 0;
    virtual void usrIrPropietario(bool alquiler, const QString& cod) = 0;
    virtual void usrIrCliente(bool alquiler, const QString& cod) = 0;
    // A report window with its pages generated: shown with its title. The
    // second form is the dossier's (its margins come from its layout).
    virtual void usrShowReport(QWidget* rep, const QString& titulo);
    virtual void usrShowReport2(QWidget* rep, const QString& titulo) { usrShowReport(rep, titulo); }
    // A new message without recipient carrying the file.
    virtual void usrEmailDossier(const QString& asunto, const QString& texto, const QString& fichero) = 0;
    // The window that report and dialog windows take as their parent; null
    // when there is none (a tool without main window, a test).
    virtual QWidget* ventanaPrincipal() = 0;
    // A short notice in the status bar ("Registro 12 de 51", "Registro guardado").
    virtual void usrMensajeEstado(const QString& texto) { (void)texto; }
};

} // namespace orb

#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLockFile;
class QWidget;

namespace orb {

struct AppContext;
class frmMain;

// What start-up does outside the program, replaceable in tests.
struct StartupHooks {
    // Starts a program without waiting for it; false when it cannot be started.
    // Default: QProcess::startDetached.
    std::function<bool(const QString& programa, const QStringList& argumentos, const QString& carpetaTrabajo)>
        iniciarSinEsperar;
    // Folder of the orbalia executable, where the upgrader and the installer are.
    // Empty: the running executable's folder.
    QString carpetaPrograma;
    // First start on a seat without an installation: lays one out in carpeta
    // with the installer; false when the user gave up. Default: frmAsistente.
    std::function<bool(AppContext& ctx, QWidget* parent, const QString& carpeta, const QString& instalador)>
        primeraInstalacion;
};

// Name of the upgrader executable, next to orbalia.
inline constexpr const char* ProgramaActualizador = "orbalia-updatedb";
// Name of the installer executable, next to orbalia.
inline constexpr const char* ProgramaInstalador = "orbalia-install";

// The program's start-up: second copy, installation facts, folders, captions,
// window size and background, agency database and its schema version. Holds
// the second-copy lock for as long as it lives.
class Arranque {
public:
    explicit Arranque(StartupHooks hooks = {});
    ~Arranque();
    Arranque(const Arranque&) = delete;
    Arranque& operator=(const Arranque&) = delete;

    // Fills ctx and prepares w. True when the program goes on with w shown;
    // false when it must end (a refused second copy, a missing or unusable
    // Orbalia.ini, a folder that cannot be created, a database that cannot be opened or is older than
    // required; each already told the user).
    bool ejecutar(AppContext& ctx, frmMain& w);

    // True while this copy holds the installation's lock.
    bool tieneBloqueo() const;

private:
    bool segundaCopiaRechazada(AppContext& ctx, frmMain& w, const QString& carpeta);
    void iniciarActualizador(const AppContext& ctx);
    QString programa(const char* nombre) const;

    StartupHooks hooks_;
    std::unique_ptr<QLockFile> bloqueo_;
};

// Tooltips of the sales and rentals buttons, and every command shown, as start-up sets them.
void PonerTitulosComandos(frmMain& w);

} // namespace orb

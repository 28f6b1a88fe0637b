#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <QWidget>

#include <optional>

class QAction;
class QLabel;
class QMainWindow;
class QTableWidget;
class QPushButton;

namespace orb {

struct AppContext;

// Tells in the main window's status bar how many waiting clients have
// matches the agent has not seen yet, on start-up, after every office import
// and when a property or a client is stored or deleted, and adds the command
// that lists them (Herramientas).
class AvisoCoincidencias : public QObject {
    Q_OBJECT
public:
    AvisoCoincidencias(AppContext& ctx, QMainWindow& principal);

    QLabel* etiqueta = nullptr;
    QAction* accion = nullptr;

    // Counts again in the background and shows the count when done
    // (cuentaTerminada); meanwhile the label says it is counting.
    void actualizar();
    // Counts now, with the wait cursor: for the command that lists them.
    void contarAhora();
    const QStringList& clientes() const { return clientes_; }
    // The list of those clients, as a child of the main window.
    QWidget* mostrarLista();

    // The status bar's text for that many clients.
    static QString Texto(qsizetype clientes);

Q_SIGNALS:
    void cuentaTerminada();

private:
    void contado();

    AppContext& ctx_;
    QStringList clientes_;
    // A count in the background says which one it was: one overtaken by the
    // command's own count is let pass.
    struct Cuenta {
        int numero = 0;
        std::optional<QStringList> clientes;
    };
    QFutureWatcher<Cuenta>* vigilante_ = nullptr;
    // The count's own thread, at the lowest priority (nice 19): on a two-core
    // machine it must not take the processor from the window the user opens
    // meanwhile, yet it is never starved the way an idle-class thread can be.
    QThreadPool hilo_;
    int numero_ = 0;
    bool otraVez_ = false;
};

// The waiting clients with new matches: Go to opens the client, "Ver
// propiedades" opens their matches (which marks them seen).
class frmClientesNovedades : public QWidget {
    Q_OBJECT
public:
    frmClientesNovedades(AppContext& ctx, const QStringList& clientes, QWidget* parent = nullptr);

    QTableWidget* grid = nullptr;
    QPushButton* cmdIr = nullptr;
    QPushButton* cmdVer = nullptr;

private:
    AppContext& ctx_;
    QList<bool> alquiler_;
};

} // namespace orb

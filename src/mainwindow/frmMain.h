#pragma once

#include "shell/AppContext.h"
#include "shell/WindowRegistry.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QSettings;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace orb {

class CajaBusquedaRapida;

class AreaMDI;

// The application's only top-level window: menus, toolbar and the MDI area
// that holds every record, search and report window. Start-up fills its
// captions and title (Arranque); the windows reach it through Navigator.
class frmMain : public QMainWindow, public Navigator {
    Q_OBJECT
public:
    // Registers itself as ctx.navigator.
    frmMain(AppContext& ctx, WindowRegistry& registro, QWidget* parent = nullptr);
    ~frmMain() override;

    // Menus and toolbar, addressed as the menu arrays are (nullptr out of range).
    QMenu* mnuMain(int index) const;
    QAction* mnuArchivo(int index) const;
    QAction* mnuLis(int index) const;
    QAction* mnuTool(int index) const;
    QAction* mnuAyu(int index) const;
    QToolBar* tb() const { return tb_; }
    // The quick search at the toolbar's end (Ctrl+F).
    CajaBusquedaRapida* busquedaRapida = nullptr;
    QAction* tbBoton(const QString& key) const; // by key, any case
    static const QStringList& tbKeys();         // the 13 keys in toolbar order
    void ponerTooltipBoton(const QString& key, const QString& tooltip);

    // Window menu: arrange the windows, and one item per open window.
    QMenu* mnuVentana() const { return mnuVentana_; }
    QAction* mnuCascada() const { return mnuCascada_; }
    QAction* mnuMosaico() const { return mnuMosaico_; }
    // Permanent part of the status bar telling which office this seat works as.
    QLabel* lblOficina() const { return lblOficina_; }
    void ponerOficina(const QString& codigoOficina, bool principal);

    // Where and how large the user left the main window (maximised too), or
    // 800 × 600 centred on the screen the first time.
    void colocarAlArrancar();

    QMdiArea* mdiArea() const;
    // Background picture of the MDI area (drawn scaled to fit, centred).
    void setFondo(const QPixmap& logo);
    QPixmap fondo() const;

    // Command handlers: menu handlers receive the item index, the toolbar
    // handler the button key (compared in capitals).
    void mnuArchivo_Click(int index);
    void mnuLis_Click(int index);
    void mnuTool_Click(int index);
    void mnuAyu_Click(int index);
    void tb_ButtonClick(const QString& key);

    // Navigator
    void usrShow(QWidget* frm) override;
    void usrMDICenter(QWidget* frm) override;
    void usrShow(Ventana kind, bool alquiler) override;
    void usrEmailPara(const QString& direccion, const QString& nombre) override;
    void usrIrPropiedad(bool alquiler, const QString& cod) override;
    void usrIrPropietario(bool alquiler, const QString& cod) override;
    void usrIrCliente(bool alquiler, const QString& cod) override;

    void usrEmailDossier(const QString& asunto, const QString& texto, const QString& fichero) override;
    QWidget* ventanaPrincipal() override { return this; }
    void usrMensajeEstado(const QString& texto) override;
    void usrScreenCenter(QWidget* frm);
    // The menu and toolbar commands' own names for usrShow of each window and side.
    void usrShowPropiedadesVenta();
    void usrShowPropiedadesAlquiler();
    void usrShowClientesVenta();
    void usrShowClientesAlquiler();
    void usrShowPropietariosVenta();
    void usrShowPropietariosAlquiler();
    void usrShowBusPropiedadesVenta();
    void usrShowBusPropiedadesAlquiler();
    void usrShowBusClientesVenta();
    void usrShowBusClientesAlquiler();
    void usrShowBusPropietariosVenta();
    void usrShowBusPropietariosAlquiler();

    // Shows a report window in the MDI area with its title, centred, with the
    // main window's icon.
    void usrShowReport(QWidget* rep, const QString& titulo) override;
    void usrShowReport2(QWidget* rep, const QString& titulo) override;

    // The window in a slot (nullptr while empty). Catalogue and tool windows
    // use the sales slot.
    QWidget* ventana(Ventana v, bool modoAlquiler = false) const;
    QWidget* informe(Listado l) const;

    // Enables each command whose window is registered.
    void actualizarComandos();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void crearMenus();
    void crearBarra();
    QAction* nuevoComando(QMenu* menu, const QString& nombre, const QString& caption);
    void mostrarVentana(Ventana v, bool modoAlquiler);
    void mostrarHerramienta(Ventana v);
    void irRegistro(Ventana v, bool alquiler, const QString& cod);
    QMdiSubWindow* subventana(QWidget* frm) const;
    QMdiSubWindow* mostrarDelante(QWidget* frm);
    // A window's first placement: where it was left last time, or centred.
    void colocarPrimeraVez(QWidget* frm, const QString& clave);
    void guardarHija(QMdiSubWindow* sub);
    void guardarPrincipal();
    void crearMenuVentana();
    void actualizarMenuVentana();

    AppContext& ctx_;
    WindowRegistry& registro_;
    AreaMDI* mdi_;
    QToolBar* tb_ = nullptr;
    std::array<QMenu*, 4> mnuMain_{};
    std::array<QAction*, 12> mnuArchivo_{};
    std::array<QAction*, 6> mnuLis_{};
    std::array<QAction*, 14> mnuTool_{};
    std::array<QAction*, 1> mnuAyu_{};
    std::array<QAction*, 13> botones_{};
    std::array<std::array<QPointer<QWidget>, 2>, NumVentanas> slots_;
    std::array<QPointer<QWidget>, NumListados> informes_;
    QPointer<QWidget> about_;
    QMenu* mnuVentana_ = nullptr;
    QAction* mnuCascada_ = nullptr;
    QAction* mnuMosaico_ = nullptr;
    QAction* mnuSiguiente_ = nullptr;
    QAction* mnuAnterior_ = nullptr;
    QAction* separadorVentanas_ = nullptr;
    QList<QAction*> listaVentanas_;
    QLabel* lblOficina_ = nullptr;
    std::unique_ptr<QSettings> puesto_;
};

} // namespace orb

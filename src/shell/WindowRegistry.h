#pragma once

#include "shell/Ventana.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QWidget;

namespace orb {

struct AppContext;

// Listing reports of the Listados menu; sales and rentals share one report.
enum class Listado { Clientes, Propietarios, LocalidadesAreas, Tipos };
inline constexpr int NumListados = 4;

// Creates a window of one kind. modoAlquiler is the side (false for sales) and
// is fixed before the window loads; parent is the main window. Record, search
// and catalogue windows become MDI children; tool windows should be QDialogs
// (they are shown modal).
using FabricaVentana = std::function<QWidget*(AppContext& ctx, bool modoAlquiler, QWidget* parent)>;

// A listing report window is created once and pointed at a new statement on
// every use.
struct FabricaListado {
    std::function<QWidget*(AppContext& ctx, QWidget* parent)> crear;
    // Points the report at the statement and generates it; false (the user
    // already told why) when there is nothing to show.
    std::function<bool(QWidget* rep, const QString& sql)> preparar;
};

// Hand-over of a prepared message to the mail client.
using FuncionEmailPara =
    std::function<void(AppContext& ctx, QWidget* parent, const QString& direccion, const QString& nombre)>;
using FuncionEmailDossier = std::function<void(AppContext& ctx, QWidget* parent, const QString& asunto,
                                               const QString& texto, const QString& fichero)>;

// Where the windows of the later subsystems plug into the main window, so the
// main window never includes them. main() fills it; a command whose window is
// not registered stays disabled.
class WindowRegistry : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void registrar(Ventana v, FabricaVentana fabrica);
    void registrarListado(Listado l, FabricaListado fabrica);
    void registrarCorreo(FuncionEmailPara para, FuncionEmailDossier dossier);

    bool registrada(Ventana v) const { return static_cast<bool>(ventanas_[indice(v)]); }
    bool registrado(Listado l) const;
    const FabricaVentana& fabrica(Ventana v) const { return ventanas_[indice(v)]; }
    const FabricaListado& listado(Listado l) const { return listados_[static_cast<std::size_t>(l)]; }
    const FuncionEmailPara& emailPara() const { return emailPara_; }
    const FuncionEmailDossier& emailDossier() const { return emailDossier_; }

Q_SIGNALS:
    void cambiado();

private:
    static std::size_t indice(Ventana v) { return static_cast<std::size_t>(v); }
    std::array<FabricaVentana, NumVentanas> ventanas_;
    std::array<FabricaListado, NumListados> listados_;
    FuncionEmailPara emailPara_;
    FuncionEmailDossier emailDossier_;
};

} // namespace orb

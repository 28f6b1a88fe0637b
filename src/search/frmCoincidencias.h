#pragma once

#include "Coincidencias.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace orb {

struct AppContext;

// The matches of one client (properties that suit it) or of one property
// (waiting clients it suits), best first, each with why it matched. Go to
// opens the record of the selected row. For a client, the chosen properties
// can be sent by e-mail with their dossiers, or marked "No le interesa".
class frmCoincidencias : public QWidget {
    Q_OBJECT
public:
    enum class Modo { DeCliente, DePropiedad };

    frmCoincidencias(AppContext& ctx, Modo modo, const QString& cod, QWidget* parent = nullptr);

    QTableWidget* grid = nullptr;
    QPushButton* cmdIr = nullptr;
    QPushButton* cmdEnviar = nullptr;     // client only
    QPushButton* cmdNoInteresa = nullptr; // client only
    QCheckBox* chkDescartadas = nullptr;  // client only
    QLabel* lblTitulo = nullptr;
    // "Resultados desactualizados": another seat changed a property, a client
    // or a catalogue since the matches were read; Actualizar (F5) reads them
    // again, keeping the chosen rows, and takes the mark away.
    QLabel* lblDesactualizado = nullptr;
    QPushButton* cmdActualizar = nullptr;
    bool Desactualizado() const;

    const QList<coincidencias::Coincidencia>& lista() const { return lista_; }

    // Reads the matches again and shows them.
    void cargar();
    // The codes of the selected rows' properties (client) or clients (property).
    QStringList seleccionados() const;

    void irA();
    void enviarPorEmail();
    void cambiarNoInteresa();

    // "Propiedades que encajan" / "Clientes interesados" as an MDI child.
    static void Mostrar(AppContext& ctx, Modo modo, const QString& cod);

private:
    void mostrar();
    // cargar() after a record changed elsewhere, keeping the chosen rows.
    void refrescar();
    void actualizarBotones();

    AppContext& ctx_;
    Modo modo_;
    QString cod_;
    coincidencias::Deseos deseos_;
    QList<coincidencias::Coincidencia> lista_;
    bool refrescoPendiente_ = false;
};

} // namespace orb

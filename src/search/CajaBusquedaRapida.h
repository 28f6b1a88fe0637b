#pragma once

#include "BusquedaRapida.h"

#include <QWidget>

template <typename T> class QFutureWatcher;

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTimer;

namespace orb {

struct AppContext;

// The quick search box: what is typed is looked for once typing pauses; the
// list below shows the records by kind with their side, and Enter or a click
// opens one in its window. Empty, the box offers the records last opened.
class CajaBusquedaRapida : public QWidget {
    Q_OBJECT
public:
    explicit CajaBusquedaRapida(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* txtBuscar = nullptr;
    QListWidget* lstResultados = nullptr; // a list window below the box

    // Takes the focus with the text selected (Ctrl+F).
    void activar();
    // Searches now instead of after the pause.
    void buscarYa();
    // Pause after the last key before searching.
    static constexpr int PausaMs = 200;

Q_SIGNALS:
    // A search's rows are in the list.
    void buscado();

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    void mostrar(const QList<Encontrado>& encontrados, bool recientes);
    void colocarLista();
    void abrir(QListWidgetItem* item);

    struct Resultado {
        int numero;
        QList<Encontrado> encontrados;
        QString error;
    };
    void encontrado();

    AppContext& ctx_;
    QTimer* pausa_ = nullptr;
    QFutureWatcher<Resultado>* vigilante_ = nullptr;
    int numero_ = 0;
    bool abrirAlLlegar_ = false;
    QList<Encontrado> mostrados_;
};

} // namespace orb

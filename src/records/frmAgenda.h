#pragma once

#include "reports/Visitas.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QButtonGroup;
class QTableWidget;
class QMainWindow;

namespace orb {

struct AppContext;

// "Agenda de visitas": the visits of a day, or of the week around it, one
// list per day, filtered by agent and office. Adds, moves and cancels visits;
// a double click opens the visit.
class frmAgenda : public QWidget {
    Q_OBJECT
public:
    enum Vista { Dia = 0, Semana = 1 };

    explicit frmAgenda(AppContext& ctx, QWidget* parent = nullptr);

    void mostrarDia(const QDate& dia);
    void ponerVista(Vista vista);
    QDate dia() const;
    // The visit chosen in the list shown (0: none).
    qint64 visitaElegida() const;
    void elegirVisita(qint64 cod);

    // What each day's list shows, read again on every change.
    QList<visitas::Visita> visitasDelDia(const QDate& dia) const;

    void nuevaVisita();
    void abrirVisita();
    void moverVisita();
    void anularVisita();
    // The agent's visits from the day shown on as an iCalendar file in the
    // installation folder; returns its path ("" when not written).
    QString exportarCalendario();

    QDateEdit* txtDia = nullptr;
    QPushButton *cmdVistaDia = nullptr, *cmdVistaSemana = nullptr;
    Vista vista() const { return vista_; }
    QComboBox* cboAgente = nullptr;
    QComboBox* cboOficina = nullptr;
    QPushButton *cmdAnterior = nullptr, *cmdHoy = nullptr, *cmdSiguiente = nullptr;
    QPushButton *cmdNueva = nullptr, *cmdAbrir = nullptr, *cmdMover = nullptr, *cmdAnular = nullptr,
                *cmdCalendario = nullptr;
    QTableWidget* tablaDia = nullptr;
    QList<QListWidget*> listasSemana; // Monday to Sunday
    QList<QLabel*> titulosSemana;

private:
    void leer();
    void leerFiltros();
    QString agente() const;
    QString oficina() const;
    AppContext& ctx_;
    QStackedWidget* paginas_ = nullptr;
    Vista vista_ = Dia;
};

// Herramientas > "Agenda de visitas", added to the main window's menu by its title.
void InstalarMenuVisitas(AppContext& ctx, QMainWindow& principal);

} // namespace orb

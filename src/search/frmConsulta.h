#pragma once

#include "DialogoConsulta.h"

class QLabel;

namespace db {
class Database;
}

namespace orb {

// Generic two-column pick list (code and name). Accepting returns the code of
// the current row to the caller; cancelling or the close box returns nothing.
class frmConsulta : public DialogoConsulta {
    Q_OBJECT
public:
    explicit frmConsulta(QWidget* parent = nullptr);

    // Caption "Consulta de " + titulo; lblCaption shows the title in capitals.
    void setTitulo(const QString& titulo);
    // Fills the grid from a statement (column 0 Cod, column 1 the name), first
    // row current. Throws db::DbError.
    void cargar(db::Database& database, const QString& sql);

    QLabel* lblCaption = nullptr;

protected:
    QWidget* controlInicial() const override;
};

} // namespace orb

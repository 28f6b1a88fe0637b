#pragma once

#include "Duplicados.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace orb {

// The records that may be the one being stored: the agent opens one (or
// uses it), stores anyway, or cancels, which writes nothing.
class dlgDuplicados : public QDialog {
    Q_OBJECT
public:
    enum class Respuesta { Abrir, Guardar, Cancelar };

    // textoAbrir: "Abrir el elegido", or "Usar el elegido" where the choice
    // replaces the record being made.
    dlgDuplicados(const QString& pregunta, const QStringList& cabeceras, const QList<Candidato>& candidatos,
                  const QString& textoAbrir, QWidget* parent = nullptr);

    Respuesta respuesta() const { return respuesta_; }
    // The chosen candidate's code (Abrir).
    QString elegido() const;

    QTableWidget* grd = nullptr;
    QPushButton* cmdAbrir = nullptr;
    QPushButton* cmdGuardar = nullptr;
    QPushButton* cmdCancelar = nullptr;

    // Asks about the candidates with the owner's or client's columns.
    static Respuesta PreguntarPersonas(QWidget* parent, const QList<Candidato>& candidatos,
                                       const QString& textoAbrir, QString& elegido);
    // The same for properties at the same address.
    static Respuesta PreguntarPropiedades(QWidget* parent, const QList<Candidato>& candidatos,
                                          QString& elegido);

protected:
    void reject() override;

private:
    void terminar(Respuesta r);

    QList<Candidato> candidatos_;
    Respuesta respuesta_ = Respuesta::Cancelar;
};

} // namespace orb

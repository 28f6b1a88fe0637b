#pragma once

#include "platform/widgets/BoundControls.h"

#include <QDateTime>
#include <QImage>
#include <QMap>
#include <QObject>
#include <array>

class QGridLayout;
class QLabel;
class QPushButton;

namespace db {
class Database;
}

namespace orb {

struct AppContext;

// The six photographs of a property: an image, a caption box and the two
// buttons per slot, and what the user chose since the record was loaded. The
// chosen files reach the photo folder only when the record is confirmed:
// preparar() copies them to temporary names beside their final ones and fills
// the name boxes, colocar() renames them into place once the record's
// transaction committed, descartar() removes them when it rolled back.
//
// A confirm killed half-way is finished or undone by the next start-up
// (limpiarRestos): the copies carry a token that preparar() stores in Config
// inside the record's transaction, so the committed token says the copies
// belong in place, and a missing one that they go.
class FotosPropiedad : public QObject {
    Q_OBJECT
public:
    static constexpr int NumFotos = 6;
    static constexpr int TextoFoto[NumFotos] = {13, 25, 26, 27, 33, 37}; // txt(n) of each caption

    // Builds the slots on page; the caption boxes go into txt.
    FotosPropiedad(AppContext& ctx, QWidget* page, QGridLayout* grid, QMap<int, ui::TextControl*>& txt,
                   QObject* parent);
    ~FotosPropiedad() override;

    std::array<ui::BoundTextBox*, NumFotos> txtFoto{}; // file names inside Fotos/, bound to Foto1…Foto6
    std::array<QLabel*, NumFotos> imgFoto{};
    std::array<QPushButton*, NumFotos> butFotoCargar{}, butFotoBorrar{};

    void Cargar(int slot);
    void Borrar(int slot);

    // A record was loaded: show its pictures, forget pending changes.
    void Mostrar();
    // An add starts: empty images, nothing pending.
    void Limpiar();

    // Confirm, inside the record's transaction on base: copies each pending
    // file to a temporary name in Fotos/, sets the slot's name box to
    // Cod-n.jpg and stores the copies' token. Throws db::DbError when a copy
    // fails (nothing is left behind then); a full disk carries SQLITE_FULL.
    void preparar(db::Database& base, const QString& cod);
    // After the record was committed: the copies take their names. Returns
    // what could not be put in place ("" when all was), for the user to hear.
    QString colocar();
    // The confirm was rolled back or left: the copies go.
    void descartar();

    // What start-up found in the photo folder.
    struct Restos {
        int colocadas = 0; // copies of a committed confirm put in place
        int borrados = 0;  // temporary files removed
    };
    // Start-up: the temporary files of this program's own naming (a confirm's
    // copies, the office import's ".part" files and the copies Qt makes
    // beside them) last written before antesDe and held by no running
    // confirm are put in place when their confirm committed, removed
    // otherwise. Any other file is left alone.
    static Restos limpiarRestos(db::Database& base, const QString& rutaFotos, const QDateTime& antesDe);
    // When this process started: what it finds older than this, no confirm of
    // its own is writing.
    static QDateTime inicioProceso();

    QString pendiente(int slot) const { return pendiente_[std::size_t(slot)]; }
    bool borradoPendiente(int slot) const { return borrado_[std::size_t(slot)]; }
    // The slot shows a picture (decoding may still be running for a loaded record).
    bool conImagen(int slot) const;
    // Decodings still running (tests wait for 0).
    int decodificando() const { return enCurso_; }

Q_SIGNALS:
    void imagenMostrada(int slot);

private:
    void decodificar(int slot, const QString& ruta);
    void ponerImagen(int slot, const QImage& imagen);

    AppContext& ctx_;
    std::array<QString, NumFotos> pendiente_;
    std::array<bool, NumFotos> borrado_{};
    std::array<quint64, NumFotos> generacion_{};
    struct Copia {
        QString temporal, destino;
        int fd = -1; // kept open and locked until the copy is placed or removed
    };
    QList<Copia> copias_;
    db::Database* base_ = nullptr; // where the token of copias_ is stored
    QString ficha_;                // that token
    int enCurso_ = 0;
};

} // namespace orb

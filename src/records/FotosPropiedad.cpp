#include "FotosPropiedad.h"

#include "platform/db/DbError.h"
#include "shell/AppContext.h"
#include "shell/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace orb {

namespace {

constexpr QSize TamañoImagen(200, 130);

// Decodes at display size: a 4000×3000 JPEG is read scaled by the decoder,
// never at full size.
QImage leerReducida(const QString& ruta, const QSize& caja) {
    QImageReader lector(ruta);
    lector.setAutoTransform(true);
    const QSize original = lector.size();
    if (original.isValid())
        lector.setScaledSize(original.scaled(caja, Qt::KeepAspectRatio));
    return lector.read();
}

// The user's pictures, never the installation folder and its database files.
QString carpetaInicial(const AppContext& ctx) {
    if (!ctx.CarpetaFotosElegidas.isEmpty() && QFileInfo(ctx.CarpetaFotosElegidas).isDir())
        return ctx.CarpetaFotosElegidas;
    const QString imagenes = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !imagenes.isEmpty() && QFileInfo(imagenes).isDir() ? imagenes : QDir::homePath();
}

} // namespace

FotosPropiedad::FotosPropiedad(AppContext& ctx, QWidget* page, QGridLayout* grid,
                               QMap<int, ui::TextControl*>& txt, QObject* parent)
    : QObject(parent), ctx_(ctx) {
    for (int i = 0; i < NumFotos; ++i) {
        const auto s = std::size_t(i);
        auto* celda = new QWidget(page);
        celda->setObjectName(QStringLiteral("Foto%1").arg(i + 1));
        auto* v = new QVBoxLayout(celda);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(3);
        auto* img = new QLabel(celda);
        img->setObjectName(QStringLiteral("imgFoto(%1)").arg(i));
        img->setFixedSize(TamañoImagen);
        img->setAlignment(Qt::AlignCenter);
        img->setFrameShape(QFrame::StyledPanel);
        img->setAccessibleName(tr("Foto %1").arg(i + 1));
        imgFoto[s] = img;
        auto* nombre = new ui::BoundTextBox(celda, QStringLiteral("Foto%1").arg(i + 1));
        nombre->setObjectName(QStringLiteral("txtFoto(%1)").arg(i));
        nombre->setAccessibleName(tr("Archivo de la foto %1").arg(i + 1));
        nombre->hide();
        txtFoto[s] = nombre;
        auto* texto = new ui::BoundTextBox(celda, QStringLiteral("TextoFoto%1").arg(i + 1));
        texto->setObjectName(QStringLiteral("txt(%1)").arg(TextoFoto[i]));
        texto->setAccessibleName(tr("Texto de la foto %1").arg(i + 1));
        texto->setPlaceholderText(tr("Texto de la foto"));
        txt.insert(TextoFoto[i], texto);
        auto* botones = new QHBoxLayout;
        auto* cargar = new QPushButton(tr("Cargar Foto"), celda);
        cargar->setObjectName(QStringLiteral("butFotoCargar(%1)").arg(i));
        cargar->setAccessibleName(tr("Cargar foto %1").arg(i + 1));
        auto* borrar = new QPushButton(tr("Borrar Foto"), celda);
        borrar->setObjectName(QStringLiteral("butFotoBorrar(%1)").arg(i));
        borrar->setAccessibleName(tr("Borrar foto %1").arg(i + 1));
        butFotoCargar[s] = cargar;
        butFotoBorrar[s] = borrar;
        botones->addWidget(cargar);
        botones->addWidget(borrar);
        v->addWidget(img, 0, Qt::AlignHCenter);
        v->addWidget(nombre);
        v->addWidget(texto);
        v->addLayout(botones);
        grid->addWidget(celda, i / 3, i % 3, Qt::AlignTop);
        connect(cargar, &QPushButton::clicked, this, [this, i] { Cargar(i); });
        connect(borrar, &QPushButton::clicked, this, [this, i] { Borrar(i); });
    }
    grid->setRowStretch(2, 1);
}

FotosPropiedad::~FotosPropiedad() {
    descartar();
}

bool FotosPropiedad::conImagen(int slot) const {
    const QPixmap p = imgFoto[std::size_t(slot)]->pixmap();
    return !p.isNull();
}

void FotosPropiedad::ponerImagen(int slot, const QImage& imagen) {
    QLabel* l = imgFoto[std::size_t(slot)];
    if (imagen.isNull())
        l->clear();
    else
        l->setPixmap(QPixmap::fromImage(imagen));
    Q_EMIT imagenMostrada(slot);
}

void FotosPropiedad::decodificar(int slot, const QString& ruta) {
    const auto s = std::size_t(slot);
    const quint64 gen = ++generacion_[s];
    imgFoto[s]->clear();
    if (ruta.isEmpty())
        return;
    // Decoded off the user-interface thread; a result for a slot that has
    // shown something else since is dropped.
    ++enCurso_;
    auto* vigilante = new QFutureWatcher<QImage>(this);
    connect(vigilante, &QFutureWatcher<QImage>::finished, this, [this, vigilante, slot, gen] {
        --enCurso_;
        if (generacion_[std::size_t(slot)] == gen)
            ponerImagen(slot, vigilante->result());
        vigilante->deleteLater();
    });
    vigilante->setFuture(QtConcurrent::run(leerReducida, ruta, TamañoImagen));
}

void FotosPropiedad::Cargar(int slot) {
    QWidget* ventana = imgFoto[std::size_t(slot)]->window();
    const QString ruta = ctx_.dialogs->openFile(
        ventana, tr("Cargar fotografía"),
        ui::qtFileFilter(tr("Imágenes (*.bmp;*.jpg; *.jpeg)|*.bmp;*.jpg;*.jpeg")), carpetaInicial(ctx_));
    if (ruta.isEmpty())
        return;
    ctx_.CarpetaFotosElegidas = QFileInfo(ruta).absolutePath();
    // The header is enough to know whether the file is a picture at all.
    if (!QImageReader(ruta).canRead()) {
        MensajeError(
            *ctx_.dialogs,
            tr("El archivo \"%1\" no es una imagen que se pueda mostrar.").arg(QFileInfo(ruta).fileName()),
            ventana);
        return;
    }
    const auto s = std::size_t(slot);
    pendiente_[s] = ruta;
    borrado_[s] = false;
    decodificar(slot, ruta);
}

void FotosPropiedad::Borrar(int slot) {
    const auto s = std::size_t(slot);
    ++generacion_[s];
    imgFoto[s]->clear();
    borrado_[s] = true;
}

void FotosPropiedad::Mostrar() {
    for (int i = 0; i < NumFotos; ++i) {
        const auto s = std::size_t(i);
        const QString nombre = txtFoto[s]->Text();
        decodificar(i, nombre.isEmpty() ? QString() : ctx_.RutaFotos + nombre);
        pendiente_[s].clear();
        borrado_[s] = false;
    }
    descartar();
}

void FotosPropiedad::Limpiar() {
    for (int i = 0; i < NumFotos; ++i) {
        const auto s = std::size_t(i);
        ++generacion_[s];
        imgFoto[s]->clear();
        pendiente_[s].clear();
        borrado_[s] = false;
    }
    descartar();
}

} // namespace orb

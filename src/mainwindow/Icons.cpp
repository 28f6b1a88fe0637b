#include "Icons.h"

#include "platform/widgets/ThemeIcon.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStandardPaths>

// Q_INIT_RESOURCE must be used outside any namespace; the resources live in a
// static library, so they are registered explicitly.
static void registrarRecursos() {
    static const bool hecho = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(hecho);
}

namespace orb::iconos {

namespace {

QIcon deTema(std::initializer_list<const char*> nombres) {
    for (const char* n : nombres) {
        const QIcon icono = ui::themeIcon(QString::fromLatin1(n));
        if (!icono.isNull())
            return icono;
    }
    return {};
}

// Draws a toolbar image at any size: base icon (or a lettered tile), then the
// search magnifier and the rentals badge as overlays.
class IconoBoton : public QIconEngine {
public:
    IconoBoton(QIcon base, QChar letra, bool busqueda, bool alquiler)
        : base_(std::move(base)), letra_(letra), busqueda_(busqueda), alquiler_(alquiler) {}

    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const int s = qMin(rect.width(), rect.height());
        const QRectF r(rect.x() + (rect.width() - s) / 2.0, rect.y() + (rect.height() - s) / 2.0, s, s);
        const bool apagado = mode == QIcon::Disabled;
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setRenderHint(QPainter::SmoothPixmapTransform);
        if (apagado)
            p->setOpacity(0.45);

        if (!base_.isNull()) {
            base_.paint(p, r.toAlignedRect(), Qt::AlignCenter, mode, state);
        } else {
            const QRectF tile = r.adjusted(s * 0.06, s * 0.06, -s * 0.06, -s * 0.06);
            p->setPen(Qt::NoPen);
            p->setBrush(apagado ? QColor(0x88, 0x8a, 0x85) : QColor(0x34, 0x65, 0xa4));
            p->drawRoundedRect(tile, s * 0.18, s * 0.18);
            QFont f = p->font();
            f.setBold(true);
            f.setPixelSize(qMax(6, int(s * 0.6)));
            p->setFont(f);
            p->setPen(Qt::white);
            p->drawText(tile, Qt::AlignCenter, QString(letra_));
        }

        if (busqueda_) {
            // Magnifier in the lower right corner, on a light disc so it reads
            // over any base image.
            const qreal d = s * 0.58;
            const QRectF disc(r.right() - d, r.bottom() - d, d, d);
            p->setPen(Qt::NoPen);
            p->setBrush(QColor(255, 255, 255, 230));
            p->drawEllipse(disc);
            const QColor tinta = apagado ? QColor(0x88, 0x8a, 0x85) : QColor(0x2e, 0x34, 0x36);
            QPen pen(tinta, qMax(1.0, s * 0.08), Qt::SolidLine, Qt::RoundCap);
            p->setPen(pen);
            p->setBrush(Qt::NoBrush);
            const qreal lente = d * 0.46;
            const QRectF circulo(disc.x() + d * 0.14, disc.y() + d * 0.14, lente, lente);
            p->drawEllipse(circulo);
            const QPointF desde = circulo.center() + QPointF(lente * 0.36, lente * 0.36);
            p->drawLine(desde, QPointF(disc.right() - d * 0.16, disc.bottom() - d * 0.16));
        }

        if (alquiler_) {
            // Rentals: an orange "A" badge in the upper right corner.
            const qreal d = s * 0.52;
            const QRectF disc(r.right() - d, r.top(), d, d);
            p->setPen(QPen(Qt::white, qMax(1.0, s * 0.04)));
            p->setBrush(apagado ? QColor(0x88, 0x8a, 0x85) : QColor(0xce, 0x5c, 0x00));
            p->drawEllipse(disc);
            QFont f = p->font();
            f.setBold(true);
            f.setPixelSize(qMax(5, int(d * 0.7)));
            p->setFont(f);
            p->setPen(Qt::white);
            p->drawText(disc, Qt::AlignCenter, QStringLiteral("A"));
        }
        p->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QImage img(size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            paint(&p, QRect(QPoint(0, 0), size), mode, state);
        }
        return QPixmap::fromImage(img);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new IconoBoton(*this); }
    QString key() const override { return QStringLiteral("orbalia-boton"); }

private:
    QIcon base_;
    QChar letra_;
    bool busqueda_;
    bool alquiler_;
};

} // namespace

QIcon aplicacion() {
    registrarRecursos();
    return QIcon(QStringLiteral(":/icons/orbalia.svg"));
}

QIcon botonBarra(const QString& key) {
    const QString k = key.toLower();
    const bool busqueda = k.startsWith(QLatin1String("busqueda"));
    const bool alquiler = k.endsWith(QLatin1String("alquiler"));
    QString entidad = k;
    if (busqueda)
        entidad = entidad.mid(8);
    if (alquiler)
        entidad.chop(8);

    if (k == QLatin1String("salir"))
        return QIcon(
            new IconoBoton(deTema({"application-exit-symbolic", "application-exit", "system-log-out"}),
                           QLatin1Char('S'), false, false));
    if (entidad.isEmpty() || entidad == QLatin1String("propiedades"))
        return QIcon(new IconoBoton(deTema({"go-home-symbolic", "go-home", "user-home"}), QLatin1Char('P'),
                                    busqueda, alquiler));
    if (entidad == QLatin1String("clientes"))
        return QIcon(
            new IconoBoton(deTema({"system-users-symbolic", "system-users", "x-office-address-book"}),
                           QLatin1Char('C'), busqueda, alquiler));
    if (entidad == QLatin1String("propietarios"))
        return QIcon(new IconoBoton(deTema({"avatar-default-symbolic", "avatar-default", "user-info"}),
                                    QLatin1Char('O'), busqueda, alquiler));
    return QIcon(
        new IconoBoton(QIcon(), k.isEmpty() ? QLatin1Char('?') : k.at(0).toUpper(), busqueda, alquiler));
}

} // namespace orb::iconos

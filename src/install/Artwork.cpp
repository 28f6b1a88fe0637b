#include "Artwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace orb::install {

namespace {

const QColor kEmblemBlue(0x2f, 0x5d, 0x7c);
const QColor kDeepText(0x24, 0x45, 0x5c);

// The Orbalia emblem: a house inside a tilted orbit with a small planet.
void drawEmblem(QPainter& p, const QRectF& box, const QColor& line, const QColor& fill) {
    const qreal w = box.width();
    const qreal h = box.height();
    const QPointF c = box.center() + QPointF(0, h * 0.04);
    const qreal rx = w * 0.47;
    const qreal ry = h * 0.17;
    const qreal pen = qMax<qreal>(2.0, w * 0.035);
    const qreal tilt = -16;

    auto orbit = [&](int startDeg, int spanDeg) {
        p.save();
        p.translate(c);
        p.rotate(tilt);
        p.setPen(QPen(line, pen, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-rx, -ry, 2 * rx, 2 * ry), startDeg * 16, spanDeg * 16);
        p.restore();
    };
    orbit(0, 180); // back half, behind the house

    // House: body, roof, door.
    const qreal bw = w * 0.40;
    const qreal bh = h * 0.34;
    const QRectF body(c.x() - bw / 2, c.y() - bh * 0.35, bw, bh);
    QPainterPath house;
    house.moveTo(body.left(), body.top());
    house.lineTo(body.left(), body.bottom());
    house.lineTo(body.right(), body.bottom());
    house.lineTo(body.right(), body.top());
    QPainterPath roof;
    roof.moveTo(body.left() - bw * 0.16, body.top() + bh * 0.06);
    roof.lineTo(c.x(), body.top() - bh * 0.62);
    roof.lineTo(body.right() + bw * 0.16, body.top() + bh * 0.06);
    p.setPen(QPen(line, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawRect(body);
    p.setBrush(Qt::NoBrush);
    p.drawPath(roof);
    const QRectF door(c.x() - bw * 0.12, body.bottom() - bh * 0.48, bw * 0.24, bh * 0.48);
    p.setBrush(line);
    p.drawRoundedRect(door, pen * 0.4, pen * 0.4);

    orbit(180, 180); // front half, over the house
    // Planet on the front half.
    const qreal a = qDegreesToRadians(305.0);
    QPointF planet(rx * qCos(a), -ry * qSin(a));
    const qreal t = qDegreesToRadians(tilt);
    planet =
        QPointF(planet.x() * qCos(t) - planet.y() * qSin(t), planet.x() * qSin(t) + planet.y() * qCos(t));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0x8a, 0x3c));
    p.drawEllipse(c + planet, pen * 1.6, pen * 1.6);
}

QColor jitter(DemoRandom& rnd, const QColor& base, int amount) {
    auto j = [&](int v) { return qBound(0, v + rnd.range(-amount, amount), 255); };
    // One draw per statement: argument order is unspecified.
    const int r = j(base.red());
    const int g = j(base.green());
    const int b = j(base.blue());
    return QColor(r, g, b);
}

void drawSky(QPainter& p, DemoRandom& rnd, const QRectF& r) {
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, jitter(rnd, QColor(70, 130, 200), 20));
    sky.setColorAt(1, jitter(rnd, QColor(200, 225, 245), 10));
    p.fillRect(r, sky);
    const QPointF sun(r.left() + r.width() * (0.15 + 0.7 * rnd.unit()), r.top() + r.height() * 0.3);
    QRadialGradient glow(sun, r.height() * 0.45);
    glow.setColorAt(0, QColor(255, 250, 220, 230));
    glow.setColorAt(0.15, QColor(255, 240, 190, 160));
    glow.setColorAt(1, QColor(255, 240, 190, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(sun, r.height() * 0.45, r.height() * 0.45);
}

void drawSea(QPainter& p, DemoRandom& rnd, const QRectF& r) {
    QLinearGradient sea(r.topLeft(), r.bottomLeft());
    sea.setColorAt(0, jitter(rnd, QColor(40, 110, 170), 15));
    sea.setColorAt(1, jitter(rnd, QColor(60, 160, 190), 15));
    p.fillRect(r, sea);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1.5));
    for (int i = 0; i < 6; ++i) {
        const qreal y = r.top() + r.height() * (0.2 + 0.13 * i);
        const qreal x = r.left() + r.width() * rnd.unit();
        p.drawLine(QPointF(x, y), QPointF(x + r.width() * 0.12, y));
    }
}

void drawHills(QPainter& p, DemoRandom& rnd, const QRectF& r) {
    for (int layer = 0; layer < 2; ++layer) {
        QPainterPath path;
        const qreal base = r.bottom();
        path.moveTo(r.left(), base);
        const int peaks = rnd.range(2, 4);
        qreal x = r.left();
        path.lineTo(x, r.top() + r.height() * (0.3 + 0.3 * rnd.unit()));
        for (int i = 0; i < peaks; ++i) {
            const qreal nx = r.left() + r.width() * (i + 1) / peaks;
            const qreal ny = r.top() + r.height() * (0.1 + 0.5 * rnd.unit()) + layer * r.height() * 0.2;
            path.quadTo(QPointF((x + nx) / 2, ny - r.height() * 0.3), QPointF(nx, ny));
            x = nx;
        }
        path.lineTo(r.right(), base);
        path.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(layer == 0 ? jitter(rnd, QColor(120, 140, 110), 15)
                              : jitter(rnd, QColor(95, 125, 80), 15));
        p.drawPath(path);
    }
}

void drawPalm(QPainter& p, DemoRandom& rnd, const QPointF& foot, qreal height) {
    const QPointF top(foot.x() + height * 0.15 * (rnd.chance(50) ? 1 : -1), foot.y() - height);
    QPainterPath trunk;
    trunk.moveTo(foot);
    trunk.quadTo(QPointF(foot.x(), foot.y() - height * 0.5), top);
    p.setPen(QPen(QColor(120, 90, 60), height * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trunk);
    p.setPen(Qt::NoPen);
    p.setBrush(jitter(rnd, QColor(50, 120, 60), 15));
    for (int i = 0; i < 7; ++i) {
        p.save();
        p.translate(top);
        p.rotate(-160 + i * 25 + rnd.range(-6, 6));
        p.drawEllipse(QRectF(0, -height * 0.05, height * 0.42, height * 0.1));
        p.restore();
    }
}

void drawHouse(QPainter& p, DemoRandom& rnd, const QRectF& ground, qreal w, qreal h) {
    static const QList<QColor> walls = {QColor(0xf5, 0xf1, 0xe8), QColor(0xef, 0xe0, 0xc0),
                                        QColor(0xe8, 0xb0, 0x8a), QColor(0xe9, 0xcf, 0x8f)};
    const qreal bw = w * (0.38 + 0.12 * rnd.unit());
    const qreal bh = h * (0.26 + 0.06 * rnd.unit());
    const qreal left = w * (0.2 + 0.25 * rnd.unit());
    const QRectF body(left, ground.top() - bh + h * 0.04, bw, bh);
    p.setPen(QPen(QColor(0, 0, 0, 40), 1));
    p.setBrush(jitter(rnd, rnd.pick(walls), 6));
    p.drawRect(body);
    QPolygonF roof;
    roof << QPointF(body.left() - bw * 0.06, body.top())
         << QPointF(body.left() + bw * 0.5, body.top() - bh * 0.45)
         << QPointF(body.right() + bw * 0.06, body.top());
    p.setBrush(jitter(rnd, QColor(0xb5, 0x53, 0x3c), 12));
    p.drawPolygon(roof);
    const int windows = rnd.range(2, 4);
    for (int i = 0; i < windows; ++i) {
        const qreal ww = bw / (windows * 2.2);
        const QRectF win(body.left() + bw * (i + 0.5) / windows - ww / 2, body.top() + bh * 0.2, ww,
                         bh * 0.3);
        p.setBrush(QColor(0x4a, 0x6d, 0x8c));
        p.setPen(QPen(Qt::white, 2));
        p.drawRect(win);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7a, 0x4a, 0x2a));
    p.drawRect(QRectF(body.center().x() - bw * 0.06, body.bottom() - bh * 0.42, bw * 0.12, bh * 0.42));
}

void drawBlock(QPainter& p, DemoRandom& rnd, const QRectF& ground, qreal w, qreal h) {
    const int blocks = rnd.range(1, 2);
    for (int b = 0; b < blocks; ++b) {
        const qreal bw = w * (0.28 + 0.1 * rnd.unit());
        const qreal bh = h * (0.45 + 0.25 * rnd.unit());
        const qreal left = w * (0.08 + 0.45 * b + 0.1 * rnd.unit());
        const QRectF body(left, ground.top() - bh + h * 0.03, bw, bh);
        p.setPen(QPen(QColor(0, 0, 0, 40), 1));
        p.setBrush(jitter(rnd, QColor(0xf2, 0xec, 0xdf), 10));
        p.drawRect(body);
        const int rows = int(bh / (h * 0.08));
        const int cols = 3;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                const QRectF win(body.left() + bw * (0.1 + 0.3 * c), body.top() + bh * 0.05 + r * h * 0.08,
                                 bw * 0.2, h * 0.045);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0x50, 0x78, 0x96));
                p.drawRect(win);
                p.setPen(QPen(QColor(0x9a, 0xa5, 0xad), 1.5));
                p.drawLine(QPointF(win.left() - 2, win.bottom() + 2),
                           QPointF(win.right() + 2, win.bottom() + 2));
            }
        }
    }
}

void drawLand(QPainter& p, DemoRandom& rnd, const QRectF& ground) {
    p.setPen(Qt::NoPen);
    const int trees = rnd.range(4, 9);
    for (int i = 0; i < trees; ++i) {
        const qreal x = ground.left() + ground.width() * rnd.unit();
        const QPointF at(x, ground.top() + ground.height() * (0.15 + 0.6 * rnd.unit()));
        const qreal s = ground.height() * (0.08 + 0.08 * rnd.unit());
        p.setBrush(QColor(110, 85, 60));
        p.drawRect(QRectF(at.x() - s * 0.08, at.y(), s * 0.16, s * 0.7));
        p.setBrush(jitter(rnd, QColor(85, 110, 60), 15));
        p.drawEllipse(at, s * 0.7, s * 0.5);
    }
    p.setPen(QPen(QColor(140, 110, 80), 2));
    const qreal y = ground.top() + ground.height() * 0.85;
    p.drawLine(QPointF(ground.left(), y), QPointF(ground.right(), y));
    for (qreal x = ground.left() + 10; x < ground.right(); x += 28)
        p.drawLine(QPointF(x, y - 12), QPointF(x, y + 4));
}

void paintExterior(QPainter& p, DemoRandom& rnd, Building building, bool inland, qreal w, qreal h) {
    const qreal horizon = h * 0.55;
    drawSky(p, rnd, QRectF(0, 0, w, horizon));
    if (inland)
        drawHills(p, rnd, QRectF(0, horizon * 0.55, w, horizon * 0.45));
    else
        drawSea(p, rnd, QRectF(0, horizon * 0.8, w, horizon * 0.2));
    const QRectF ground(0, horizon, w, h - horizon);
    QLinearGradient g(ground.topLeft(), ground.bottomLeft());
    g.setColorAt(0,
                 jitter(rnd, building == Building::Land ? QColor(190, 175, 110) : QColor(110, 160, 90), 12));
    g.setColorAt(1, jitter(rnd, building == Building::Land ? QColor(160, 140, 90) : QColor(80, 130, 70), 12));
    p.fillRect(ground, g);
    switch (building) {
    case Building::House:
        drawHouse(p, rnd, ground, w, h);
        break;
    case Building::Block:
        drawBlock(p, rnd, ground, w, h);
        break;
    case Building::Land:
        drawLand(p, rnd, ground);
        break;
    }
    if (building != Building::Land && rnd.chance(70))
        drawPalm(p, rnd, QPointF(w * (rnd.chance(50) ? 0.1 : 0.88), h * 0.92), h * 0.5);
}

void paintInterior(QPainter& p, DemoRandom& rnd, bool inland, qreal w, qreal h) {
    static const QList<QColor> walls = {QColor(0xf3, 0xee, 0xe4), QColor(0xe6, 0xef, 0xf0),
                                        QColor(0xf2, 0xe3, 0xd3), QColor(0xe9, 0xe9, 0xdf)};
    const qreal floorTop = h * 0.66;
    p.fillRect(QRectF(0, 0, w, floorTop), jitter(rnd, rnd.pick(walls), 5));
    QLinearGradient floor(QPointF(0, floorTop), QPointF(0, h));
    const bool wood = rnd.chance(50);
    floor.setColorAt(0, wood ? QColor(170, 120, 80) : QColor(225, 215, 200));
    floor.setColorAt(1, wood ? QColor(130, 90, 60) : QColor(200, 190, 175));
    p.fillRect(QRectF(0, floorTop, w, h - floorTop), floor);
    // Window with the view.
    const QRectF win(w * (0.5 + 0.1 * rnd.unit()), h * 0.12, w * 0.32, h * 0.4);
    p.save();
    p.setClipRect(win);
    drawSky(p, rnd, QRectF(win.left(), win.top(), win.width(), win.height() * 0.65));
    if (inland)
        drawHills(p, rnd,
                  QRectF(win.left(), win.top() + win.height() * 0.4, win.width(), win.height() * 0.6));
    else
        drawSea(p, rnd,
                QRectF(win.left(), win.top() + win.height() * 0.65, win.width(), win.height() * 0.35));
    p.restore();
    p.setPen(QPen(Qt::white, 5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(win);
    p.drawLine(QPointF(win.center().x(), win.top()), QPointF(win.center().x(), win.bottom()));
    // Picture on the wall.
    const QRectF frame(w * 0.1, h * 0.15, w * 0.2, h * 0.18);
    p.setPen(QPen(QColor(90, 70, 50), 3));
    p.setBrush(jitter(rnd, QColor(200, 150, 90), 40));
    p.drawRect(frame);
    // Rug and sofa.
    p.setPen(Qt::NoPen);
    p.setBrush(jitter(rnd, QColor(180, 90, 70), 40));
    p.drawEllipse(QRectF(w * 0.15, h * 0.8, w * 0.6, h * 0.14));
    const QColor sofa = jitter(rnd, QColor(80, 110, 140), 50);
    p.setBrush(sofa.darker(115));
    p.drawRoundedRect(QRectF(w * 0.08, h * 0.5, w * 0.42, h * 0.16), 8, 8);
    p.setBrush(sofa);
    p.drawRoundedRect(QRectF(w * 0.06, h * 0.6, w * 0.46, h * 0.14), 8, 8);
    p.setBrush(sofa.lighter(130));
    p.drawRoundedRect(QRectF(w * 0.12, h * 0.54, w * 0.09, h * 0.08), 5, 5);
    p.drawRoundedRect(QRectF(w * 0.36, h * 0.54, w * 0.09, h * 0.08), 5, 5);
    // Lamp.
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.drawLine(QPointF(w * 0.9, h * 0.75), QPointF(w * 0.9, h * 0.35));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 235, 200));
    QPolygonF shade;
    shade << QPointF(w * 0.86, h * 0.35) << QPointF(w * 0.94, h * 0.35) << QPointF(w * 0.92, h * 0.27)
          << QPointF(w * 0.88, h * 0.27);
    p.drawPolygon(shade);
}

void paintView(QPainter& p, DemoRandom& rnd, bool inland, qreal w, qreal h) {
    const qreal horizon = h * 0.45;
    drawSky(p, rnd, QRectF(0, 0, w, horizon));
    if (inland) {
        drawHills(p, rnd, QRectF(0, horizon * 0.4, w, h * 0.35 + horizon * 0.6));
    } else {
        drawSea(p, rnd, QRectF(0, horizon, w, h * 0.35));
    }
    // Terrace with a pool or a railing in the foreground.
    const QRectF terrace(0, h * 0.8, w, h * 0.2);
    p.fillRect(terrace, jitter(rnd, QColor(215, 195, 170), 10));
    if (rnd.chance(60)) {
        const QRectF pool(w * 0.1, h * 0.72, w * 0.7, h * 0.18);
        QLinearGradient water(pool.topLeft(), pool.bottomLeft());
        water.setColorAt(0, QColor(120, 210, 225));
        water.setColorAt(1, QColor(60, 170, 200));
        p.setPen(QPen(Qt::white, 4));
        p.setBrush(water);
        p.drawRoundedRect(pool, 10, 10);
        p.setPen(QPen(QColor(255, 255, 255, 120), 1.5));
        for (int i = 0; i < 5; ++i) {
            const qreal y = pool.top() + pool.height() * (0.2 + 0.15 * i);
            const qreal x = pool.left() + pool.width() * rnd.unit() * 0.8;
            p.drawLine(QPointF(x, y), QPointF(x + pool.width() * 0.15, y));
        }
    } else {
        p.setPen(QPen(QColor(245, 245, 245), 3));
        p.drawLine(QPointF(0, h * 0.7), QPointF(w, h * 0.7));
        for (qreal x = 8; x < w; x += 22)
            p.drawLine(QPointF(x, h * 0.7), QPointF(x, h * 0.8));
    }
}

QFont sized(int pixels, QFont::Weight weight) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setWeight(weight);
    return f;
}

// Shrinks the font until text fits the width.
QFont fitting(const QString& text, int pixels, QFont::Weight weight, qreal width) {
    QFont f = sized(pixels, weight);
    while (f.pixelSize() > 10 && QFontMetricsF(f).horizontalAdvance(text) > width)
        f.setPixelSize(f.pixelSize() - 2);
    return f;
}

QString displayName(const QString& agencyName) {
    return agencyName.trimmed().isEmpty() ? QStringLiteral("Orbalia") : agencyName.trimmed();
}

} // namespace

bool canDrawText() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QImage backgroundPicture(const QString& agencyName) {
    const int w = 800;
    const int h = 600;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0, QColor(0xf3, 0xf7, 0xfb));
    bg.setColorAt(0.55, QColor(0xe2, 0xee, 0xf6));
    bg.setColorAt(1, QColor(0xf6, 0xee, 0xe0));
    p.fillRect(img.rect(), bg);
    QRadialGradient sun(QPointF(640, 150), 190);
    sun.setColorAt(0, QColor(255, 222, 170, 150));
    sun.setColorAt(1, QColor(255, 222, 170, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(640, 150), 190, 190);
    // Soft waves along the lower third.
    for (int i = 0; i < 4; ++i) {
        QPainterPath wave;
        const qreal y = 470 + i * 26;
        wave.moveTo(0, y);
        for (int x = 0; x < w; x += 200)
            wave.cubicTo(QPointF(x + 60, y - 14), QPointF(x + 140, y + 14), QPointF(x + 200, y));
        wave.lineTo(w, h);
        wave.lineTo(0, h);
        wave.closeSubpath();
        p.setBrush(QColor(0x5a, 0x9b, 0xc4, 28 + i * 8));
        p.drawPath(wave);
    }
    drawEmblem(p, QRectF(310, 90, 180, 180), QColor(0x2f, 0x5d, 0x7c, 200), QColor(0xf6, 0xfa, 0xfd));
    if (canDrawText()) {
        const QString name = displayName(agencyName);
        p.setPen(kDeepText);
        p.setFont(fitting(name, 44, QFont::DemiBold, w - 80));
        p.drawText(QRectF(40, 300, w - 80, 70), Qt::AlignCenter, name);
        p.setPen(QColor(0x5f, 0x7f, 0x95));
        p.setFont(sized(18, QFont::Normal));
        p.drawText(QRectF(40, 370, w - 80, 30), Qt::AlignCenter, QStringLiteral("Gestión inmobiliaria"));
    }
    p.end();
    return img;
}

QImage dossierLogoPicture(const QString& agencyName) {
    const int w = 600;
    const int h = 160;
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    drawEmblem(p, QRectF(14, 10, 140, 140), kEmblemBlue, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0x8a, 0x3c));
    p.drawRect(QRectF(170, 112, 410, 4));
    if (canDrawText()) {
        const QString name = displayName(agencyName);
        p.setPen(kDeepText);
        p.setFont(fitting(name, 38, QFont::DemiBold, 410));
        p.drawText(QRectF(170, 40, 410, 64), Qt::AlignLeft | Qt::AlignVCenter, name);
        p.setPen(QColor(0x5f, 0x7f, 0x95));
        p.setFont(sized(15, QFont::Normal));
        p.drawText(QRectF(170, 120, 410, 26), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Venta y alquiler de propiedades"));
    }
    p.end();
    return img;
}

QImage demoPhoto(DemoRandom& rnd, PhotoScene scene, Building building, bool inland, int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = width;
    const qreal h = height;
    switch (scene) {
    case PhotoScene::Exterior:
        paintExterior(p, rnd, building, inland, w, h);
        break;
    case PhotoScene::Interior:
        paintInterior(p, rnd, inland, w, h);
        break;
    case PhotoScene::View:
        paintView(p, rnd, inland, w, h);
        break;
    }
    p.end();
    return img;
}

bool saveJpeg(const QImage& img, const QString& path, int quality) {
    QImageWriter writer(path, "jpg");
    writer.setQuality(quality);
    return writer.write(img);
}

} // namespace orb::install

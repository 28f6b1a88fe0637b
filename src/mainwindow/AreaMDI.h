#pragma once

#include <QColor>
#include <QImage>
#include <QMdiArea>
#include <QPainter>
#include <QPixmap>

namespace orb {

// The MDI area draws the installation's logo scaled to fit, centred, over a
// background of the logo's own corner colour.
class AreaMDI : public QMdiArea {
public:
    using QMdiArea::QMdiArea;

    void setLogo(const QPixmap& logo) {
        logo_ = logo;
        escalado_ = QPixmap();
        if (!logo.isNull()) {
            const QColor esquina = logo.toImage().pixelColor(0, 0);
            setBackground(esquina);
        } else {
            setBackground(palette().brush(QPalette::Dark));
        }
        viewport()->update();
    }
    QPixmap logo() const { return logo_; }

protected:
    void paintEvent(QPaintEvent* event) override {
        QMdiArea::paintEvent(event);
        if (logo_.isNull())
            return;
        const QSize area = viewport()->size();
        if (escalado_.isNull() || tamano_ != area) {
            escalado_ = logo_.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            tamano_ = area;
        }
        QPainter p(viewport());
        p.drawPixmap((area.width() - escalado_.width()) / 2, (area.height() - escalado_.height()) / 2,
                     escalado_);
    }

private:
    QPixmap logo_;
    QPixmap escalado_;
    QSize tamano_;
};

} // namespace orb

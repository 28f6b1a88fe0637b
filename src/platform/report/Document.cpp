#include "Document.h"
#include "ReportError.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace report {

QString Document::pageText(int index) const {
    QStringList lines;
    if (index < 0 || index >= pages.size())
        return {};
    for (const DrawCommand& c : pages[index].commands)
        if (c.kind == DrawCommand::Kind::Text)
            lines << c.text;
    return lines.join(QLatin1Char('\n'));
}

QSizeF Document::pageSizeUnits() const {
    return pageLayout.fullRect(QPageLayout::Inch).size() * UnitsPerInch;
}

void Document::paintPage(QPainter& p, int index) const {
    if (index < 0 || index >= pages.size())
        return;
    const QPaintDevice* device = p.device();
    p.save();
    p.scale(device->logicalDpiX() / UnitsPerInch, device->logicalDpiY() / UnitsPerInch);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    int currentFont = -1;
    for (const DrawCommand& c : pages[index].commands) {
        switch (c.kind) {
        case DrawCommand::Kind::Text:
            if (c.font != currentFont) {
                currentFont = c.font;
                p.setFont(fonts.value(c.font));
            }
            p.setPen(c.color);
            p.drawText(c.pos, c.text);
            break;
        case DrawCommand::Kind::Line:
            p.setPen(QPen(c.color, c.penWidth, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(c.pos, c.rect.topLeft());
            break;
        case DrawCommand::Kind::Rect:
            p.setPen(c.penWidth > 0 ? QPen(c.color, c.penWidth) : QPen(Qt::NoPen));
            p.setBrush(c.fill.isValid() ? QBrush(c.fill) : QBrush(Qt::NoBrush));
            p.drawRect(c.rect);
            p.setBrush(Qt::NoBrush);
            break;
        case DrawCommand::Kind::Image:
            p.drawImage(c.rect, c.image);
            break;
        }
    }
    p.restore();
}

void Document::print(QPrinter& printer) const {
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout);
    if (!title.isEmpty())
        printer.setDocName(title);
    int first = 0, last = pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = std::min(last, printer.toPage() - 1);
    }
    QPainter p;
    if (!p.begin(&printer))
        throw ReportError(
            QCoreApplication::translate("report::Document",
                                        "No se puede imprimir el informe \"%1\": la impresora no responde.")
                .arg(title));
    for (int i = first; i <= last; ++i) {
        if (i > first)
            printer.newPage();
        paintPage(p, i);
    }
    p.end();
}

void Document::writePdf(const QString& path) const {
    QSaveFile file(path);
    auto failed = [&](const QString& reason) {
        return ReportError(
            QCoreApplication::translate("report::Document", "No se puede escribir el archivo \"%1\": %2")
                .arg(path, reason));
    };
    if (!file.open(QIODevice::WriteOnly))
        throw failed(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(pageLayout);
        writer.setResolution(1200);
        if (!title.isEmpty())
            writer.setTitle(title);
        QPainter p;
        if (!p.begin(&writer))
            throw failed(
                QCoreApplication::translate("report::Document", "no se pudo empezar el documento PDF."));
        for (int i = 0; i < pageCount(); ++i) {
            if (i > 0)
                writer.newPage();
            paintPage(p, i);
        }
        p.end();
    }
    if (!file.commit())
        throw failed(file.errorString());
}

QImage Document::renderPage(int index, int dpi) const {
    const QSizeF inches = pageLayout.fullRect(QPageLayout::Inch).size();
    QImage image(qRound(inches.width() * dpi), qRound(inches.height() * dpi), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter p(&image);
    paintPage(p, index);
    return image;
}

} // namespace report

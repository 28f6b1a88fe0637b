#include "Layout.h"
#include "ReportError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>

namespace report {

QSizeF Layout::pageSizeMm() const {
    const QSizeF s = pageSize.size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? s.transposed() : s;
}

QSizeF Layout::bodySizeMm() const {
    const QSizeF s = pageSizeMm();
    return {s.width() - margins.left() - margins.right(), s.height() - margins.top() - margins.bottom()};
}

const Element* Layout::find(const QString& name) const {
    for (const Band& b : bands)
        for (const Element& e : b.elements)
            if (!name.isEmpty() && e.name.compare(name, Qt::CaseInsensitive) == 0)
                return &e;
    return nullptr;
}

namespace {

// Thrown inside the reader with the reason only; the caller adds the file.
struct ParseFailure {
    QString reason;
};

class Reader {
public:
    Reader(const QByteArray& xml, const char* context) : xml_(xml), context_(context) {}

    Layout read() {
        Layout layout;
        if (!xml_.readNextStartElement())
            fail(QCoreApplication::translate("report::LayoutReader",
                                             "no es un informe (falta el elemento <report>)"));
        if (xml_.name() != QLatin1String("report"))
            fail(QCoreApplication::translate("report::LayoutReader",
                                             "el elemento raíz es <%1> y debe ser <report>")
                     .arg(xml_.name()));
        readPage(layout);
        TextStyle base;
        readStyle(base);
        while (xml_.readNextStartElement()) {
            const int kind = bandKind(xml_.name().toString());
            if (kind < 0)
                fail(QCoreApplication::translate("report::LayoutReader", "sección desconocida <%1>")
                         .arg(xml_.name()));
            Band& band = layout.bands[kind];
            if (band.present)
                fail(QCoreApplication::translate("report::LayoutReader", "la sección <%1> aparece dos veces")
                         .arg(xml_.name()));
            band.present = true;
            band.height = number(QStringLiteral("height"), 0);
            TextStyle bandStyle = base;
            readStyle(bandStyle);
            QList<qint64> lines;
            while (xml_.readNextStartElement()) {
                lines << xml_.lineNumber();
                band.elements << readElement(bandStyle);
            }
            checkShowWith(band, lines);
        }
        if (xml_.hasError())
            fail(xml_.errorString());
        return layout;
    }

    int line() const { return int(xml_.lineNumber()); }

private:
    [[noreturn]] void fail(const QString& reason) { failAt(xml_.lineNumber(), reason); }
    [[noreturn]] static void failAt(qint64 line, const QString& reason) {
        throw ParseFailure{
            QCoreApplication::translate("report::LayoutReader", "línea %1: %2").arg(line).arg(reason)};
    }

    static int bandKind(const QString& tag) {
        static const QHash<QString, int> kinds = {
            {QStringLiteral("reportHeader"), int(BandKind::ReportHeader)},
            {QStringLiteral("pageHeader"), int(BandKind::PageHeader)},
            {QStringLiteral("detail"), int(BandKind::Detail)},
            {QStringLiteral("pageFooter"), int(BandKind::PageFooter)},
            {QStringLiteral("reportFooter"), int(BandKind::ReportFooter)}};
        return kinds.value(tag, -1);
    }

    // A text the layout itself prints, in the caller's language when it named
    // a translation context.
    QString translated(const QString& text) const {
        if (!context_ || text.isEmpty())
            return text;
        return QCoreApplication::translate(context_, text.toUtf8().constData());
    }

    QString attr(const QString& name) const { return xml_.attributes().value(name).toString(); }
    bool has(const QString& name) const { return xml_.attributes().hasAttribute(name); }

    double number(const QString& name, double fallback) {
        if (!has(name))
            return fallback;
        bool ok = false;
        const double v = attr(name).trimmed().toDouble(&ok);
        if (!ok || v < 0)
            fail(QCoreApplication::translate("report::LayoutReader",
                                             "el atributo %1=\"%2\" no es un número válido")
                     .arg(name, attr(name)));
        return v;
    }

    double required(const QString& name) {
        if (!has(name))
            fail(QCoreApplication::translate("report::LayoutReader", "falta el atributo %1 en <%2>")
                     .arg(name, xml_.name()));
        return number(name, 0);
    }

    bool boolean(const QString& name, bool fallback) {
        if (!has(name))
            return fallback;
        const QString v = attr(name).trimmed().toLower();
        if (v == QLatin1String("true") || v == QLatin1String("1"))
            return true;
        if (v == QLatin1String("false") || v == QLatin1String("0"))
            return false;
        fail(
            QCoreApplication::translate("report::LayoutReader", "el atributo %1=\"%2\" debe ser true o false")
                .arg(name, attr(name)));
    }

    QColor color(const QString& name, const QColor& fallback) {
        if (!has(name))
            return fallback;
        const QColor c = QColor::fromString(attr(name).trimmed());
        if (!c.isValid())
            fail(QCoreApplication::translate("report::LayoutReader", "el atributo %1=\"%2\" no es un color")
                     .arg(name, attr(name)));
        return c;
    }

    void readPage(Layout& layout) {
        layout.title = translated(attr(QStringLiteral("title")));
        if (has(QStringLiteral("page"))) {
            const QString p = attr(QStringLiteral("page")).trimmed().toLower();
            if (p == QLatin1String("a4"))
                layout.pageSize = QPageSize(QPageSize::A4);
            else if (p == QLatin1String("a5"))
                layout.pageSize = QPageSize(QPageSize::A5);
            else if (p == QLatin1String("a3"))
                layout.pageSize = QPageSize(QPageSize::A3);
            else if (p == QLatin1String("letter"))
                layout.pageSize = QPageSize(QPageSize::Letter);
            else if (p == QLatin1String("legal"))
                layout.pageSize = QPageSize(QPageSize::Legal);
            else
                fail(
                    QCoreApplication::translate("report::LayoutReader", "tamaño de página desconocido \"%1\"")
                        .arg(attr(QStringLiteral("page"))));
        }
        if (has(QStringLiteral("width")) || has(QStringLiteral("height"))) {
            const QSizeF s(required(QStringLiteral("width")), required(QStringLiteral("height")));
            if (s.width() < 20 || s.height() < 20)
                fail(QCoreApplication::translate("report::LayoutReader", "página demasiado pequeña"));
            layout.pageSize = QPageSize(s, QPageSize::Millimeter);
        }
        const QString o = attr(QStringLiteral("orientation")).trimmed().toLower();
        if (o == QLatin1String("landscape"))
            layout.orientation = QPageLayout::Landscape;
        else if (!o.isEmpty() && o != QLatin1String("portrait"))
            fail(QCoreApplication::translate("report::LayoutReader", "orientación desconocida \"%1\"")
                     .arg(attr(QStringLiteral("orientation"))));
        if (has(QStringLiteral("margins"))) {
            const QStringList parts = attr(QStringLiteral("margins")).split(QLatin1Char(','));
            QList<double> m;
            for (const QString& s : parts) {
                bool ok = false;
                m << s.trimmed().toDouble(&ok);
                if (!ok || m.last() < 0)
                    fail(QCoreApplication::translate("report::LayoutReader", "márgenes no válidos \"%1\"")
                             .arg(attr(QStringLiteral("margins"))));
            }
            if (m.size() == 1)
                layout.margins = QMarginsF(m[0], m[0], m[0], m[0]);
            else if (m.size() == 4) // left, top, right, bottom
                layout.margins = QMarginsF(m[0], m[1], m[2], m[3]);
            else
                fail(QCoreApplication::translate("report::LayoutReader",
                                                 "márgenes: se esperan 1 o 4 valores en mm"));
        }
        const QSizeF body = layout.bodySizeMm();
        if (body.width() < 10 || body.height() < 10)
            fail(QCoreApplication::translate("report::LayoutReader",
                                             "los márgenes no dejan sitio en la página"));
    }

    void readStyle(TextStyle& s) {
        if (has(QStringLiteral("font")))
            s.family = attr(QStringLiteral("font"));
        s.sizePt = number(QStringLiteral("size"), s.sizePt);
        if (s.sizePt < 1 || s.sizePt > 200)
            fail(QCoreApplication::translate("report::LayoutReader", "tamaño de letra fuera de rango"));
        s.bold = boolean(QStringLiteral("bold"), s.bold);
        s.italic = boolean(QStringLiteral("italic"), s.italic);
        s.underline = boolean(QStringLiteral("underline"), s.underline);
        s.color = color(QStringLiteral("color"), s.color);
        if (has(QStringLiteral("align"))) {
            const QString a = attr(QStringLiteral("align")).trimmed().toLower();
            if (a == QLatin1String("left"))
                s.hAlign = Qt::AlignLeft;
            else if (a == QLatin1String("center"))
                s.hAlign = Qt::AlignHCenter;
            else if (a == QLatin1String("right"))
                s.hAlign = Qt::AlignRight;
            else
                fail(QCoreApplication::translate("report::LayoutReader", "alineación desconocida \"%1\"")
                         .arg(attr(QStringLiteral("align"))));
        }
        if (has(QStringLiteral("valign"))) {
            const QString a = attr(QStringLiteral("valign")).trimmed().toLower();
            if (a == QLatin1String("top"))
                s.vAlign = Qt::AlignTop;
            else if (a == QLatin1String("middle"))
                s.vAlign = Qt::AlignVCenter;
            else if (a == QLatin1String("bottom"))
                s.vAlign = Qt::AlignBottom;
            else
                fail(QCoreApplication::translate("report::LayoutReader",
                                                 "alineación vertical desconocida \"%1\"")
                         .arg(attr(QStringLiteral("valign"))));
        }
    }

    Element readElement(const TextStyle& bandStyle) {
        static const QHash<QString, ElementKind> kinds = {
            {QStringLiteral("label"), ElementKind::Label},
            {QStringLiteral("field"), ElementKind::Field},
            {QStringLiteral("image"), ElementKind::Image},
            {QStringLiteral("line"), ElementKind::Line},
            {QStringLiteral("box"), ElementKind::Box},
            {QStringLiteral("pageNumber"), ElementKind::PageNumber},
            {QStringLiteral("check"), ElementKind::Check}};
        const QString tag = xml_.name().toString();
        if (!kinds.contains(tag))
            fail(QCoreApplication::translate("report::LayoutReader", "elemento desconocido <%1>").arg(tag));
        Element e;
        e.kind = kinds.value(tag);
        e.name = attr(QStringLiteral("name"));
        e.style = bandStyle;
        readStyle(e.style);
        if (e.kind == ElementKind::Line) {
            const double x1 = required(QStringLiteral("x1")), y1 = required(QStringLiteral("y1"));
            const double x2 = required(QStringLiteral("x2")), y2 = required(QStringLiteral("y2"));
            e.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
        } else {
            e.rect = QRectF(required(QStringLiteral("x")), required(QStringLiteral("y")),
                            required(QStringLiteral("width")), required(QStringLiteral("height")));
        }
        e.column = attr(QStringLiteral("column"));
        e.format = attr(QStringLiteral("format"));
        e.param = attr(QStringLiteral("param"));
        e.file = attr(QStringLiteral("file"));
        e.canGrow = boolean(QStringLiteral("canGrow"), false);
        e.minSizePt = number(QStringLiteral("minSize"), 0);
        if (e.minSizePt > 0 && (e.minSizePt < 1 || e.minSizePt > e.style.sizePt))
            fail(QCoreApplication::translate("report::LayoutReader",
                                             "minSize=\"%1\" debe estar entre 1 y el tamaño de la letra (%2)")
                     .arg(attr(QStringLiteral("minSize")))
                     .arg(e.style.sizePt));
        e.hideWhenEmpty = boolean(QStringLiteral("hideWhenEmpty"), false);
        e.showWith = attr(QStringLiteral("showWith")).trimmed();
        e.wrap = boolean(QStringLiteral("wrap"), true);
        e.keepAspect = boolean(QStringLiteral("keepAspect"), true);
        e.visible = boolean(QStringLiteral("visible"), true);
        e.penWidth = number(
            QStringLiteral("penWidth"),
            e.kind == ElementKind::Line || e.kind == ElementKind::Box || e.kind == ElementKind::Check ? 0.3
                                                                                                      : 0);
        e.penColor = color(QStringLiteral("penColor"), Qt::black);
        e.fill = color(QStringLiteral("fill"), QColor());
        if ((e.kind == ElementKind::Field || e.kind == ElementKind::Check) && e.column.isEmpty())
            fail(QCoreApplication::translate("report::LayoutReader", "<%1> necesita el atributo column")
                     .arg(tag));
        const bool text = e.kind == ElementKind::Label || e.kind == ElementKind::Field;
        if (!text && (e.hideWhenEmpty || e.minSizePt > 0))
            fail(QCoreApplication::translate("report::LayoutReader",
                                             "<%1> no es un texto: hideWhenEmpty y minSize no valen para él")
                     .arg(tag));
        if (e.kind == ElementKind::PageNumber && has(QStringLiteral("format"))) {
            e.text = translated(e.format);
            e.format.clear();
        } else if (e.kind == ElementKind::PageNumber) {
            e.text = QCoreApplication::translate("report::LayoutReader", "Página {page} de {pages}");
        }
        const QString body = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (xml_.hasError())
            fail(xml_.errorString());
        if (e.kind == ElementKind::Label)
            e.text = translated(body.trimmed());
        return e;
    }

    // A caption follows an element of its own band; a cycle would leave both
    // undecided.
    void checkShowWith(const Band& band, const QList<qint64>& lines) {
        auto named = [&](const QString& name) -> const Element* {
            for (const Element& e : band.elements)
                if (!e.name.isEmpty() && e.name.compare(name, Qt::CaseInsensitive) == 0)
                    return &e;
            return nullptr;
        };
        for (int i = 0; i < band.elements.size(); ++i) {
            const Element& e = band.elements[i];
            if (!e.showWith.isEmpty() && !named(e.showWith))
                failAt(lines[i],
                       QCoreApplication::translate("report::LayoutReader",
                                                   "showWith=\"%1\" no nombra ningún elemento de la sección")
                           .arg(e.showWith));
            const Element* at = &e;
            for (int steps = 0; at && !at->showWith.isEmpty(); ++steps) {
                if (steps > band.elements.size())
                    failAt(lines[i], QCoreApplication::translate("report::LayoutReader",
                                                                 "showWith=\"%1\" forma un círculo")
                                         .arg(e.showWith));
                at = named(at->showWith);
            }
        }
    }

    QXmlStreamReader xml_;
    const char* context_ = nullptr;
};

[[noreturn]] void cannotOpen(const QString& source, const QString& reason) {
    throw ReportError(
        QCoreApplication::translate("report::LayoutReader", "No se puede abrir el informe \"%1\": %2")
            .arg(source, reason));
}

} // namespace

Layout parseLayout(const QByteArray& xml, const QString& source, const QString& folder, const char* context) {
    try {
        Reader reader(xml, context);
        Layout layout = reader.read();
        layout.source = source;
        layout.folder = folder;
        return layout;
    } catch (const ParseFailure& f) {
        cannotOpen(source, f.reason);
    }
}

Layout loadLayout(const QString& path, const char* context) {
    QFile file(path);
    if (!file.exists())
        cannotOpen(path, QCoreApplication::translate("report::LayoutReader", "el archivo no existe."));
    if (!file.open(QIODevice::ReadOnly))
        cannotOpen(path, file.errorString());
    return parseLayout(file.readAll(), path, QFileInfo(path).absolutePath(), context);
}

} // namespace report

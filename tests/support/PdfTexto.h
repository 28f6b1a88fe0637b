#pragma once

// A real PDF file read back with pdftotext (poppler-utils), as a reader's
// viewer would find its text and where it stands.

#include <QList>
#include <QPointF>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The text of one page (all pages when page is 0), laid out as on paper.
inline QString pdfText(const QString& pdf, int page = 0) {
    QStringList args;
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    args << "-layout" << pdf << "-";
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext falló: %1>").arg(QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The words of one page with their boxes, in points from the page's top left.
struct PalabraPdf {
    QString texto;
    QRectF caja;
};
inline QList<PalabraPdf> pdfWords(const QString& pdf, int page = 1) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PalabraPdf> out;
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        QString texto = m.captured(5);
        texto.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
        out << PalabraPdf{texto, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                        QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))};
    }
    return out;
}

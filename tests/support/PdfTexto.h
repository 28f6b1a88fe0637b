#pragma once

// A real PDF file read back with pdftotext (poppler-utils), as a reader's
// viewer would find its text and where it stands.

#include <QList>
#include <QPair>
#include <QProcess>
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

// Vertical extent, in mm from the page's top, of each word of a PDF page
// that is exactly palabra, as pdftotext -bbox reads it from the file.
inline QList<QPair<double, double>> wordRows(const QString& pdf, int page, const QString& palabra) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"[\\d.]+\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<QPair<double, double>> out;
    constexpr double mmPorPunto = 25.4 / 72;
    for (auto it = word.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(3) == palabra)
            out << qMakePair(m.captured(1).toDouble() * mmPorPunto, m.captured(2).toDouble() * mmPorPunto);
    }
    return out;
}

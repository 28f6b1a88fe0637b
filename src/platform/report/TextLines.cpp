#include "TextLines.h"

#include <QRegularExpression>
#include <QTextLayout>

namespace report {

QString elideLine(const QString& line, const QFontMetricsF& metrics, double width) {
    static const QString ellipsis(QChar(0x2026));
    QString s = line;
    while (!s.isEmpty() && metrics.horizontalAdvance(s + ellipsis) > width)
        s.chop(1);
    return s.trimmed() + ellipsis;
}

QStringList wrapText(const QString& text, const QFont& font, const QFontMetricsF& metrics, double width,
                     bool wrap) {
    QStringList lines;
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = normal.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        // Most fields fit on one line; measuring once is much cheaper than a layout.
        if (metrics.horizontalAdvance(paragraph) <= width) {
            lines << paragraph;
            continue;
        }
        if (!wrap) {
            lines << elideLine(paragraph, metrics, width);
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            QString part = paragraph.mid(line.textStart(), line.textLength());
            while (part.endsWith(QLatin1Char(' ')))
                part.chop(1);
            lines << part;
        }
        layout.endLayout();
    }
    return lines;
}

bool fitsWhole(const QString& text, const QFont& font, const QFontMetricsF& metrics, double width,
               double height, bool wrap) {
    const QStringList lines = wrapText(text, font, metrics, width, wrap);
    if (lines.size() * metrics.lineSpacing() > height + 1e-6)
        return false;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString& part : wrap ? text.split(blanks, Qt::SkipEmptyParts) : text.split(QLatin1Char('\n')))
        if (metrics.horizontalAdvance(part) > width + 1e-6)
            return false;
    return true;
}

} // namespace report

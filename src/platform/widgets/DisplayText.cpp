#include "DisplayText.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace ui {

QString displayText(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    case QMetaType::Double:
    case QMetaType::Float: {
        QLocale es(QLocale::Spanish, QLocale::Spain);
        es.setNumberOptions(QLocale::OmitGroupSeparator);
        return es.toString(v.toDouble(), 'g', 15);
    }
    case QMetaType::Bool:
        return v.toBool() ? QCoreApplication::translate("ui::DisplayText", "Verdadero")
                          : QCoreApplication::translate("ui::DisplayText", "Falso");
    default:
        return v.toString();
    }
}

} // namespace ui

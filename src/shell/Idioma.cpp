#include "Idioma.h"
#include "Puesto.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orb {

namespace {

const QString kClave = QStringLiteral("Interfaz/Idioma");
Idioma actual = Idioma::Espanol;

} // namespace

Idioma IdiomaPuesto() {
    return AjustesPuesto()->value(kClave).toString() == QLatin1String("en") ? Idioma::Ingles
                                                                            : Idioma::Espanol;
}

void GuardarIdiomaPuesto(Idioma idioma) {
    AjustesPuesto()->setValue(kClave, idioma == Idioma::Ingles ? QStringLiteral("en") : QStringLiteral("es"));
}

void InstalarIdioma(QCoreApplication& app, Idioma idioma) {
    actual = idioma;
    // The locale the widgets follow (a calendar's month names). The program
    // writes prices and numbers with Spanish conventions on every seat, where
    // it formats them itself: they are the agency's data, read alike at every desk.
    QLocale::setDefault(idioma == Idioma::Ingles ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                                                 : QLocale(QLocale::Spanish, QLocale::Spain));
    // Qt's own texts (the standard dialogs' buttons) in the seat's language;
    // parented to the application, they live as long as it does.
    auto* qt = new QTranslator(&app);
    if (qt->load(idioma == Idioma::Ingles ? QStringLiteral("qtbase_en") : QStringLiteral("qtbase_es"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    // The program's English (the Spanish plural forms are installed for every
    // program as it starts); installed last, it is the one asked first.
    if (idioma == Idioma::Ingles) {
        auto* ingles = new QTranslator(&app);
        if (ingles->load(QStringLiteral(":/i18n/orbalia_en.qm")))
            QCoreApplication::installTranslator(ingles);
        else
            delete ingles;
    }
}

Idioma IdiomaActual() {
    return actual;
}

QString NombreTipo(const QString& alias) {
    if (actual != Idioma::Ingles)
        return alias + QStringLiteral(".Nombre");
    return QStringLiteral("coalesce(nullif(trim(%1.NombreIdioma1), ''), %1.Nombre)").arg(alias);
}

QString ListaTipos() {
    if (actual != Idioma::Ingles)
        return QStringLiteral("select cod,nombre from tipos order by nombre");
    return QStringLiteral("select t.cod, %1 as nombre from tipos t order by 2")
        .arg(NombreTipo(QStringLiteral("t")));
}

} // namespace orb

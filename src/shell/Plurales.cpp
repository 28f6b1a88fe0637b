// Spanish is the program's source language, but its plural forms ("1 cliente
// busca", "3 clientes buscan") come from a translation of their own. It is
// installed as soon as a program (or a test) creates its application object,
// whatever it links: this file is built apart and linked into every one.

#include <QCoreApplication>
#include <QTranslator>

namespace {

void instalarPluralesEspanol() {
    auto* plurales = new QTranslator(QCoreApplication::instance());
    if (plurales->load(QStringLiteral(":/i18n/orbalia_es.qm")))
        QCoreApplication::installTranslator(plurales);
    else
        delete plurales;
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(instalarPluralesEspanol)

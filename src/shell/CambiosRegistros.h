#pragma once

#include <QObject>
#include <QString>

namespace orb {

// Where every window hears that a record changed, without knowing who changed
// it: a record window that stored or deleted one, and any other source of
// changes (another seat, a server) that tells it here. Windows that show rows
// of that table read them again.
class CambiosRegistros : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // tabla as SQL names it (compared without case); codigo is the record's
    // Cod, empty when the change is not about one record.
    void avisar(const QString& tabla, const QString& codigo) { Q_EMIT registroCambiado(tabla, codigo); }

    // True when tabla is one of nombres, whatever the case.
    static bool esDe(const QString& tabla, std::initializer_list<const char*> nombres) {
        for (const char* n : nombres)
            if (tabla.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

Q_SIGNALS:
    void registroCambiado(const QString& tabla, const QString& codigo);
};

} // namespace orb

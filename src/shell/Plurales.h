#pragma once

#include <QString>

namespace orb {

// The form that agrees with a count: "1 cliente busca", "3 clientes buscan".
inline QString SegunCantidad(qint64 n, const QString& uno, const QString& varios) {
    return n == 1 ? uno : varios;
}

// A count with its noun: "1 área", "7 áreas".
inline QString Cantidad(qint64 n, const QString& uno, const QString& varios) {
    return QString::number(n) + u' ' + SegunCantidad(n, uno, varios);
}

} // namespace orb

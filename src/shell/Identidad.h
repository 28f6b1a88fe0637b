#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace orb {

// Spanish identity numbers, phones and e-mail addresses: their check and the
// forms compared when looking for the same person twice.

// Upper case without spaces, dots, dashes or slashes ("12.345.678-z" →
// "12345678Z"): the form an identity number is stored in.
QString DocumentoLimpio(const QString& texto);
// Why a clean identity number is not a valid DNI (8 digits and the letter of
// the modulo-23 table), NIE (X, Y or Z, 7 digits and the letter) or CIF
// (letter, 7 digits and control); empty when it is valid or empty.
QString ProblemaDocumento(const QString& limpio);
// The control letter of a DNI's number (or of a NIE with its prefix as digit).
QChar LetraDni(quint32 numero);
// The control character a CIF must end with for its first eight characters,
// as '0'-'9' or 'A'-'J'; when both are allowed, the digit.
QChar ControlCif(const QString& limpio);

// A typed value for an identity box, as it is stored, or why it is refused.
// A passport box takes any letters and digits (foreign numbers have no
// common check); the DNI and NIE boxes take a valid DNI, NIE or CIF.
struct DocumentoLeido {
    QString valor;
    QString problema; // empty when valid
};
DocumentoLeido LeerDocumento(const QString& texto, bool pasaporte);

// How a bound box asks the record controller for that check: the property on
// its widget, and its values.
inline constexpr char PropiedadDocumento[] = "orbDocumento";
enum class ClaseCaja { Identidad = 1, Pasaporte = 2 };
void MarcarDocumento(QWidget* caja, ClaseCaja clase);

// A phone as compared: without spaces, dots, dashes, brackets or slashes, and
// without a leading +34 or 0034. Empty when nothing is left.
QString TelefonoComparable(const QString& texto);
// An e-mail address as compared: trimmed, lower case.
QString EmailComparable(const QString& texto);
// The stored forms a comparable phone may have before its prefix is taken
// off: itself, with +34 and with 0034.
QStringList FormasTelefono(const QString& comparable);

// The same forms in SQL, over a column, with built-in functions only (so
// any connection, the sqlite3 tool's included, can write rows the indexes
// over them cover). A phone column's expression keeps the prefix: compare it
// with FormasTelefono.
QString SqlTelefono(const QString& columna);
QString SqlEmail(const QString& columna);
QString SqlDocumento(const QString& columna);

} // namespace orb

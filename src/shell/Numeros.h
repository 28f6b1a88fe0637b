#pragma once

#include "platform/db/Value.h"

#include <QString>
#include <optional>

namespace orb {

// Conversions between typed text and numbers, Spanish conventions whatever
// the system locale (decimal comma, "." between groups of three digits).

// The number if valor is numeric, rounded to 4 decimals; otherwise 0. Never
// fails. Decimal comma; "." groups thousands where it stands between groups
// of three ("1.500" is 1500, "1.234,5" is 1234.5); a single "." that cannot
// be grouping is a decimal point ("1.5", "0.500").
double ValorNumerico(const db::Value& valor);
// The number a typed text means by ValorNumerico's rules, or nothing when it
// is not a number ("12ab", "", "1,2,3"): for refusing input that ValorNumerico
// would silently read as 0.
std::optional<double> LeerNumero(const QString& texto);
// Text: every "." becomes "," first; then ValorNumerico, rounded to 2 decimals, ties to even.
double ValorImporte(const db::Value& valor);
// ValorImporte rounded to a whole number, grouped by "." in threes: 1.500, 250.000.
QString FormatoImporte(const db::Value& valor);
// A number formatted with a code mask of '0' and '#' positions (Format$ semantics:
// "00000" pads 42 to 00042, "0" leaves 42 as 42).
QString FormatoMascara(qint64 numero, const QString& mascara);

} // namespace orb

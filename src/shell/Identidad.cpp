#include "Identidad.h"

#include <QCoreApplication>
#include <QWidget>

namespace orb {

namespace {

const QString kLetrasDni = QStringLiteral("TRWAGMYFPDXBNJZSQVHLCKE");

bool SoloDigitos(QStringView s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return !s.isEmpty();
}

bool SoloLetrasYDigitos(const QString& s) {
    for (QChar c : s)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')))
            return false;
    return true;
}

// Characters a phone or a document is typed with that carry nothing; the SQL
// expressions below take off the same ones.
constexpr char16_t kSeparadoresTelefono[] = u" .-()/";
constexpr char16_t kSeparadoresDocumento[] = u" .-/";

QString Quitar(const QString& texto, const char16_t* separadores) {
    QString out;
    out.reserve(texto.size());
    const QStringView sep(separadores);
    for (QChar c : texto)
        if (!sep.contains(c))
            out += c;
    return out;
}

QString SqlQuitar(const QString& columna, const char16_t* separadores) {
    QString expr = columna;
    for (const char16_t* p = separadores; *p; ++p)
        expr = QStringLiteral("replace(%1, '%2', '')").arg(expr, QString(QChar(*p)));
    return expr;
}

QString ProblemaDni(const QString& s) {
    const QChar esperada = LetraDni(s.left(8).toUInt());
    if (s.at(8) != esperada)
        return QCoreApplication::translate("Identidad",
                                           "no es un DNI válido: la letra no corresponde al número.");
    return {};
}

QString ProblemaNie(const QString& s) {
    const int prefijo = QStringLiteral("XYZ").indexOf(s.at(0));
    const quint32 numero = quint32(prefijo) * 10000000u + s.mid(1, 7).toUInt();
    if (s.at(8) != LetraDni(numero))
        return QCoreApplication::translate("Identidad",
                                           "no es un NIE válido: la letra no corresponde al número.");
    return {};
}

QString ProblemaCif(const QString& s) {
    const QChar control = s.at(8);
    const QChar digito = ControlCif(s);
    const QChar letra = QChar(u'A' + (digito.unicode() == u'0' ? 9 : digito.unicode() - u'1'));
    // Public bodies, foreign and non-resident entities end in a letter;
    // companies (A, B, E, H) in a digit; the rest may use either.
    const QChar tipo = s.at(0);
    bool valido;
    if (QStringLiteral("NPQRSW").contains(tipo))
        valido = control == letra;
    else if (QStringLiteral("ABEH").contains(tipo))
        valido = control == digito;
    else
        valido = control == letra || control == digito;
    if (!valido)
        return QCoreApplication::translate("Identidad",
                                           "no es un CIF válido: el carácter de control no corresponde.");
    return {};
}

} // namespace

QString DocumentoLimpio(const QString& texto) {
    return Quitar(texto, kSeparadoresDocumento).toUpper();
}

QChar LetraDni(quint32 numero) {
    return kLetrasDni.at(qsizetype(numero % 23u));
}

QChar ControlCif(const QString& s) {
    // Digits at even places (2nd, 4th, 6th) are added; those at odd places are
    // doubled and their digits added.
    int suma = 0;
    for (int i = 1; i <= 7; ++i) {
        const int d = s.at(i).unicode() - u'0';
        if (i % 2 == 0) {
            suma += d;
        } else {
            const int doble = d * 2;
            suma += doble / 10 + doble % 10;
        }
    }
    return QChar(u'0' + (10 - suma % 10) % 10);
}

QString ProblemaDocumento(const QString& s) {
    if (s.isEmpty())
        return {};
    if (s.size() == 9 && SoloDigitos(QStringView(s).left(8)) && s.at(8).isLetter())
        return ProblemaDni(s);
    if (s.size() == 9 && QStringLiteral("XYZ").contains(s.at(0)) && SoloDigitos(QStringView(s).mid(1, 7)) &&
        s.at(8).isLetter())
        return ProblemaNie(s);
    if (s.size() == 9 && QStringLiteral("ABCDEFGHJNPQRSUVW").contains(s.at(0)) &&
        SoloDigitos(QStringView(s).mid(1, 7)) && (s.at(8).isDigit() || (s.at(8) >= u'A' && s.at(8) <= u'J')))
        return ProblemaCif(s);
    return QCoreApplication::translate(
        "Identidad", "no es un DNI (8 cifras y letra), NIE (X, Y o Z, 7 cifras y letra) ni CIF "
                     "(letra, 7 cifras y control). Un pasaporte va en su casilla.");
}

DocumentoLeido LeerDocumento(const QString& texto, bool pasaporte) {
    const QString limpio = DocumentoLimpio(texto);
    if (pasaporte) {
        if (!SoloLetrasYDigitos(limpio))
            return {limpio, QCoreApplication::translate(
                                "Identidad", "no es un número de pasaporte válido (sólo letras y cifras).")};
        return {limpio, {}};
    }
    return {limpio, ProblemaDocumento(limpio)};
}

void MarcarDocumento(QWidget* caja, ClaseCaja clase) {
    caja->setProperty(PropiedadDocumento, int(clase));
}

QString TelefonoComparable(const QString& texto) {
    QString s = Quitar(texto, kSeparadoresTelefono);
    if (s.startsWith(u"+34"))
        s.remove(0, 3);
    else if (s.startsWith(u"0034"))
        s.remove(0, 4);
    return s;
}

QString EmailComparable(const QString& texto) {
    // As SQLite's trim and lower do: spaces and ASCII letters only.
    QString s = texto;
    while (s.startsWith(u' '))
        s.remove(0, 1);
    while (s.endsWith(u' '))
        s.chop(1);
    for (QChar& c : s)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return s;
}

QStringList FormasTelefono(const QString& comparable) {
    if (comparable.isEmpty())
        return {};
    return {comparable, QStringLiteral("+34") + comparable, QStringLiteral("0034") + comparable};
}

QString SqlTelefono(const QString& columna) {
    return SqlQuitar(columna, kSeparadoresTelefono);
}

QString SqlEmail(const QString& columna) {
    return QStringLiteral("lower(trim(%1))").arg(columna);
}

QString SqlDocumento(const QString& columna) {
    return QStringLiteral("upper(%1)").arg(SqlQuitar(columna, kSeparadoresDocumento));
}

} // namespace orb

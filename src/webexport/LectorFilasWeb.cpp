#include "LectorFilasWeb.h"

#include "platform/db/Cursor.h"
#include "platform/mysql/BulkRows.h"

#include <QLocale>

namespace orb {

namespace {

QString texto(const db::Cell& c) {
    switch (c.kind) {
    case db::Cell::Kind::Null:
        return {};
    case db::Cell::Kind::Integer:
        return QString::number(c.integer);
    case db::Cell::Kind::Real:
        return QString::number(c.real, 'g', QLocale::FloatingPointShortest);
    default:
        return QString::fromUtf8(c.data, c.size);
    }
}

db::Value valor(const db::Cell& c, db::FieldType tipo) {
    switch (c.kind) {
    case db::Cell::Kind::Null:
        return {};
    case db::Cell::Kind::Integer:
        return db::fromStorage(QVariant::fromValue<qlonglong>(c.integer), tipo);
    case db::Cell::Kind::Real:
        return db::fromStorage(c.real, tipo);
    default:
        return db::fromStorage(texto(c), tipo);
    }
}

} // namespace

LectorFilasWeb::LectorFilasWeb(db::Database& agencia, Pasada p, const QString& codigoOficina,
                               const QString& codigoAgenciaWeb)
    : pasada_(p), agenciaWeb_(codigoAgenciaWeb), fuentes_(FuentesWeb(p)) {
    const ConsultaFilasWeb q = SqlFilasWeb(p, codigoOficina);
    const QString desde = q.sql.mid(q.sql.indexOf(QStringLiteral(" FROM Propiedades p ")));
    total_ =
        agencia.scalar(QStringLiteral("SELECT count(*)") + desde.left(desde.indexOf(" ORDER BY")), q.params)
            .toInt();
    cursor_ = std::make_unique<db::Cursor>(agencia, q.sql, q.params);
}

LectorFilasWeb::~LectorFilasWeb() = default;

bool LectorFilasWeb::siguiente() {
    if (!cursor_->step()) {
        cod_.clear();
        ident_.clear();
        return false;
    }
    const db::Cell numero = cursor_->cell(0);
    ident_ = IdentWeb(pasada_, agenciaWeb_, valor(numero, cursor_->field(0).type)).toString();
    cod_ = texto(cursor_->cell(1));
    return true;
}

QStringList LectorFilasWeb::fotos() const {
    QStringList out;
    for (int i = 2; i < PrimerCampoWeb; ++i)
        out << texto(cursor_->cell(i));
    return out;
}

void LectorFilasWeb::anadirA(mysql::BulkRows& lote) const {
    int campo = PrimerCampoWeb;
    for (const ColumnaWeb& c : fuentes_) {
        switch (c.fuente) {
        case FuenteWeb::Ident:
            if (ident_.isEmpty())
                lote.addNull();
            else
                lote.addText(ident_);
            break;
        case FuenteWeb::QuickId:
            lote.add(cursor_->cell(0), cursor_->field(0).type);
            break;
        case FuenteWeb::Agencia:
            lote.addText(agenciaWeb_);
            break;
        case FuenteWeb::Estado:
        case FuenteWeb::Fijo:
            lote.addText(c.fijo);
            break;
        case FuenteWeb::Cero:
            lote.addInteger(0);
            break;
        case FuenteWeb::Campo:
            lote.add(cursor_->cell(campo), cursor_->field(campo).type);
            ++campo;
            break;
        }
    }
    lote.endRow();
}

} // namespace orb

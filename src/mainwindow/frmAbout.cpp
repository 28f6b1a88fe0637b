#include "frmAbout.h"

#include "Icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orb {

namespace {
const QString Producto = QStringLiteral("Orbalia 4.0");
const char* const Telefono = QT_TRANSLATE_NOOP("orb::frmAbout", "Tel. 952 000 000");
const QString Correo = QStringLiteral("soporte@orbalia.es");
const QString Web = QStringLiteral("www.orbalia.es");
} // namespace

QString frmAbout::textoInfo() {
    return QStringLiteral("\n") + Producto + u'\n' + tr(Telefono) + u'\n' + Correo + u'\n' + Web;
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("Acerca de %1").arg(Producto));
    setWindowIcon(iconos::aplicacion());

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(iconos::aplicacion().pixmap(72, 72));
    logo->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    logo->setAccessibleName(tr("Logotipo de %1").arg(Producto));

    lblInfo_ = new QLabel(textoInfo(), this);
    lblInfo_->setObjectName(QStringLiteral("lblInfo"));
    lblInfo_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblInfo_->setAccessibleName(textoInfo().trimmed().replace(u'\n', QStringLiteral(", ")));

    cmdAceptar_ = new QPushButton(tr("&Aceptar"), this);
    cmdAceptar_->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar_->setAccessibleName(tr("Aceptar"));
    cmdAceptar_->setDefault(true);
    cmdAceptar_->setAutoDefault(true);
    connect(cmdAceptar_, &QPushButton::clicked, this, &QDialog::accept);

    auto* cuerpo = new QHBoxLayout;
    cuerpo->setSpacing(18);
    cuerpo->addWidget(logo);
    cuerpo->addWidget(lblInfo_, 1);

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cmdAceptar_);

    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(20, 16, 20, 16);
    todo->setSpacing(16);
    todo->addLayout(cuerpo);
    todo->addLayout(botones);
    todo->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace orb

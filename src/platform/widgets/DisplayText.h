#pragma once

#include <QString>
#include <QVariant>

namespace ui {

// A stored value as the program shows it, Spanish conventions whatever the
// system locale: dates dd/mm/yyyy, decimal comma without grouping, "" for null.
QString displayText(const QVariant& value);

} // namespace ui

#pragma once

#include <QString>
#include <stdexcept>

namespace mysql {

// A failure reported by the client library or the server: its error number
// (e.g. 1045 access denied, 1406 data too long, 2003 cannot connect), the
// five-character SQLSTATE and the text. The text never holds the password.
class MysqlError : public std::runtime_error {
public:
    MysqlError(unsigned number, const QString& sqlState, const QString& text)
        : std::runtime_error(text.toStdString()), number_(number), sqlState_(sqlState), text_(text) {}

    unsigned number() const { return number_; }
    const QString& sqlState() const { return sqlState_; }
    const QString& text() const { return text_; }
    // "Error 1045 (28000): Access denied …", for logs.
    QString describe() const {
        return QStringLiteral("Error %1 (%2): %3").arg(number_).arg(sqlState_, text_);
    }

private:
    unsigned number_;
    QString sqlState_;
    QString text_;
};

} // namespace mysql

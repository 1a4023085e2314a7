#pragma once
#include <QString>
#include <stdexcept>

// The one error type of the program: a statement the database rejected, or a value
// a field cannot hold. It carries the text shown to the user in the error box.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

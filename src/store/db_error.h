#pragma once
#include <QString>
#include <stdexcept>

// The one error type of the program: a statement the database refused, a lost connection, a value a
// field cannot hold, or a fault of the program itself. It carries the text shown to the user in the error
// box (the database's own text where the database answered) and, where the database answered, its
// SQLSTATE, from which the kind follows.
class DbError : public std::runtime_error {
public:
    enum class Kind {
        ConnectionLost,  // the server cannot be reached any more (SQLSTATE class 08, server shut down)
        Refused,         // the database refused the statement or its values
        Busy,            // another workstation holds the row longer than a statement waits (SQLSTATE 55P03)
        Conversion,      // a value that the program cannot turn into what a field or statement needs
        ProgramFault,    // the program asked for something that does not exist (a field, a column, a table)
        NotAllowed,      // the actor's role may not take this action; nothing was sent
        MonthClosed,     // the entry or time-sheet row lies in a closed month (the database's SQLSTATE PW001)
    };

    explicit DbError(const QString& text, Kind kind = Kind::Refused, const QString& sqlState = QString())
        : std::runtime_error(text.toStdString()), text_(text), kind_(kind), state_(sqlState)
    {
    }

    // An error the database answered with: the kind follows from its SQLSTATE.
    static DbError fromDatabase(const QString& text, const QString& sqlState)
    {
        return DbError(text, kindOfState(sqlState), sqlState);
    }

    static Kind kindOfState(const QString& sqlState)
    {
        if (sqlState.startsWith(QLatin1String("08")) || sqlState == QLatin1String("57P01")
            || sqlState == QLatin1String("57P02") || sqlState == QLatin1String("57P03"))
            return Kind::ConnectionLost;
        if (sqlState == QLatin1String("55P03")) return Kind::Busy;
        if (sqlState == QLatin1String("PW001")) return Kind::MonthClosed;
        // Syntax errors and unknown names: the statement the program built is wrong.
        if (sqlState.startsWith(QLatin1String("42")) && sqlState != QLatin1String("42501")) return Kind::ProgramFault;
        return Kind::Refused;
    }

    const QString& text() const { return text_; }
    Kind kind() const { return kind_; }
    const QString& sqlState() const { return state_; }

private:
    QString text_;
    Kind kind_;
    QString state_;
};

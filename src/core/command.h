#pragma once
#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>

// A statement that returns no rows: its text is replaced whole by each user, named parameters optional.
class Command : public QObject {
    Q_OBJECT
public:
    explicit Command(const QString& name, QObject* parent = nullptr);
    void setConnectionName(const QString& name) { connection_ = name; }
    void setText(const QString& text) { text_ = text; }
    QString text() const { return text_; }
    void setParam(const QString& name, const QVariant& value);
    // Runs the statement once; throws DbError with the database's text when it is rejected.
    // Answers the number of rows affected.
    int execute();

private:
    QString connection_;
    QString text_;
    QHash<QString, QVariant> params_;
};

// Runs one statement on the connection (used by the layer and for one-off statements).
void executeStatement(const QSqlDatabase& db, const QString& text, const QHash<QString, QVariant>& params = {});

// The same, answering the number of rows changed.
int runStatement(const QSqlDatabase& db, const QString& text, const QHash<QString, QVariant>& params);

#pragma once
// What the reliability tests share: a fingerprint of everything the program writes, the stored bytes of a
// text, pasting as a user does, and a second workstation (a psql session) that holds a lock while the
// program waits on it.
#include <QString>
#include <memory>

class QLineEdit;
class QProcess;
class TestDatabase;

namespace reliability {

// One md5 over every row of every table the program writes (and the mirrored enterprise workers): equal
// before and after means nothing was changed.
QString fingerprint(const TestDatabase& db);

// The UTF-8 bytes of the first column of the first row, in hex, as the database holds them ("" for no row).
QString storedHex(const TestDatabase& db, const QString& sql);
QString hexOf(const QString& text);

// Puts the text on the clipboard and pastes it over the box's contents with Ctrl+V.
void paste(QLineEdit* box, const QString& text);

// The program's own session on the server.
QString programBackend();

// The norms of an operation in the norms grid, shown, as the operations book opens them.
void openNorms(int operation);
// The editor of the first norm's cell in `column`, opened with F2 as a user does; nullptr when none opens.
QLineEdit* openNormCellEditor(int column);

// Another workstation: a psql session that begins a transaction, runs `lockSql` (taking a lock) and keeps
// the transaction open. With `killWaiter` set it waits until that backend waits on a lock and ends it, as
// a server restart or a broken line would, then gives its own lock up; otherwise it holds the lock for
// `holdSeconds` at most. The destructor ends the session.
class OtherWorkstation {
public:
    OtherWorkstation(const TestDatabase& db, const QString& lockSql, const QString& killWaiter = QString(),
                     int holdSeconds = 60);
    ~OtherWorkstation();
    OtherWorkstation(const OtherWorkstation&) = delete;
    OtherWorkstation& operator=(const OtherWorkstation&) = delete;

    // Waits until the lock is taken; false when the session failed or gave up first.
    bool holding();
    // Whether it ended the waiting session (killWaiter mode); waits for the session to finish first.
    bool killed();
    // Ends the session now (its lock goes with it).
    void release();
    QString errors() const;

private:
    const TestDatabase& db_;
    QString name_;
    std::unique_ptr<QProcess> psql_;
    QString output_;
};

}  // namespace reliability

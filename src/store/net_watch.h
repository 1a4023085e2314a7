#pragma once
#include <QString>

// A line that goes silent (a switch or a router that drops everything, a VPN that hangs) leaves a statement
// waiting for an answer that never comes: every byte the program sent may have been acknowledged by the
// device in between, so neither TCP keepalives nor a user timeout on the socket ever notice. Only the
// program can tell, by asking the server on a line of its own whether it still answers.

// How long a statement may go without an answer before the server is asked, and how long that question
// waits for its answer. A statement on a server that answers the question goes on, however long it takes;
// one whose server is silent too is ended and its connection marked lost.
inline constexpr int kStatementSilenceSeconds = 3;
inline constexpr int kProbeSeconds = 3;

// How long connecting may take before it counts as failed (the driver's login timeout): a connection opened
// through a silent line ends after this.
inline constexpr int kConnectSeconds = 5;

namespace netwatch {

// Held around connecting: finds the socket the driver opened for the named connection, so that a statement
// found waiting on a silent line can be ended. Connects of the whole program run one at a time under it.
class Connecting {
public:
    Connecting(const QString& connection, const QString& odbcString);
    ~Connecting();
    Connecting(const Connecting&) = delete;
    Connecting& operator=(const Connecting&) = delete;
    // Called once the driver is connected: remembers the socket that appeared since.
    void opened();

private:
    struct Impl;
    Impl* d_;
};

// Held while a statement (or a commit, a rollback) runs on the named connection. When the statement goes
// without an answer and the server does not answer a fresh connection either, the connection's socket is
// shut, the driver returns with a communication error, and cut() says so; the connection is then marked
// lost, so the next statement connects again.
class StatementWatch {
public:
    explicit StatementWatch(const QString& connection);
    ~StatementWatch();
    StatementWatch(const StatementWatch&) = delete;
    StatementWatch& operator=(const StatementWatch&) = delete;
    bool cut() const;

private:
    int id_ = 0;
};

}  // namespace netwatch

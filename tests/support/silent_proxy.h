#pragma once
#include <QString>
#include <memory>

// A line to the server that can go silent: a TCP proxy on a loopback address of its own (127.0.0.x, the
// program's port 5432) forwarding every connection to a server's port 5432 (localhost's unless named), on a
// thread of its own. Silent, it
// forwards nothing and closes nothing: the kernel still accepts connections and acknowledges every byte, as
// a hung switch or router behind a live link does, so only the program can notice.
class SilentProxy {
public:
    // Listens on the first free address of 127.0.0.20 ... 127.0.0.250; throws std::runtime_error when none is.
    explicit SilentProxy(const QString& server = QStringLiteral("127.0.0.1"));
    ~SilentProxy();
    SilentProxy(const SilentProxy&) = delete;
    SilentProxy& operator=(const SilentProxy&) = delete;

    // The address to give the program as its server.
    QString address() const;

    // Stops forwarding; every socket stays open, new connections wait unanswered. Returns once nothing moves.
    void goSilent();
    // Forwards again, what waited included.
    void resume();
    // Closes every connection (both sides) and forwards new ones.
    void drop();

    // Connections taken so far.
    int connectionsAccepted() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

#include "support/silent_proxy.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Pair {
    int client = -1;
    int server = -1;
};

enum class Command { None, Silent, Resume, Drop, Stop };

bool writeAll(int fd, const char* p, ssize_t n)
{
    while (n > 0) {
        const ssize_t w = send(fd, p, size_t(n), MSG_NOSIGNAL);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        p += w;
        n -= w;
    }
    return true;
}

// Both legs forward at once, as the program's own socket does: with Nagle's wait a statement's reply
// split over several writes stood 40 ms at the proxy for the delayed acknowledgement.
void noDelay(int fd)
{
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

int connectUpstream(in_addr_t server)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(5432);
    a.sin_addr.s_addr = server;
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        noDelay(fd);
        return fd;
    }
    if (fd >= 0) close(fd);
    return -1;
}

}  // namespace

struct SilentProxy::Impl {
    in_addr_t upstream = htonl(INADDR_LOOPBACK);
    int listener = -1;
    int wake = -1;
    QString address;
    std::thread thread;
    std::mutex m;
    std::condition_variable done;
    Command command = Command::None;
    bool silent = false;
    std::atomic<int> accepted = 0;
    std::vector<Pair> pairs;

    void closeAll()
    {
        for (const Pair& p : pairs) {
            close(p.client);
            close(p.server);
        }
        pairs.clear();
    }

    // Runs the command given, tells the caller it is done; false to stop.
    bool obey()
    {
        uint64_t n = 0;
        [[maybe_unused]] const ssize_t r = read(wake, &n, sizeof n);
        std::lock_guard lock(m);
        const Command c = command;
        command = Command::None;
        switch (c) {
        case Command::Silent: silent = true; break;
        case Command::Resume: silent = false; break;
        case Command::Drop:
            closeAll();
            silent = false;
            break;
        case Command::Stop: closeAll(); break;
        case Command::None: break;
        }
        done.notify_all();
        return c != Command::Stop;
    }

    void run()
    {
        for (;;) {
            std::vector<pollfd> fds{{wake, POLLIN, 0}};
            if (!silent) {
                fds.push_back({listener, POLLIN, 0});
                for (const Pair& p : pairs) {
                    fds.push_back({p.client, POLLIN, 0});
                    fds.push_back({p.server, POLLIN, 0});
                }
            }
            if (poll(fds.data(), fds.size(), -1) < 0) continue;
            if (fds[0].revents) {
                if (!obey()) return;
                continue;  // the sockets polled may have changed
            }
            if (fds[1].revents & POLLIN) {
                const int c = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (c >= 0) {
                    ++accepted;
                    noDelay(c);
                    const int s = connectUpstream(upstream);
                    if (s < 0)
                        close(c);
                    else
                        pairs.push_back({c, s});
                }
            }
            std::vector<Pair> kept;
            for (size_t i = 0; i < pairs.size(); ++i) {
                const Pair p = pairs[i];
                bool open = true;
                for (int side = 0; side < 2 && open; ++side) {
                    if (!(fds[2 + 2 * i + side].revents & (POLLIN | POLLHUP | POLLERR))) continue;
                    const int from = side == 0 ? p.client : p.server;
                    const int to = side == 0 ? p.server : p.client;
                    char buf[65536];
                    const ssize_t n = recv(from, buf, sizeof buf, 0);
                    if (n < 0 && errno == EINTR) continue;
                    open = n > 0 && writeAll(to, buf, n);
                }
                if (open) {
                    kept.push_back(p);
                } else {
                    close(p.client);
                    close(p.server);
                }
            }
            pairs = std::move(kept);
        }
    }

    void order(Command c)
    {
        std::unique_lock lock(m);
        command = c;
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t w = write(wake, &one, sizeof one);
        done.wait(lock, [this] { return command == Command::None; });
    }
};

SilentProxy::SilentProxy(const QString& server) : d_(std::make_unique<Impl>())
{
    if (inet_pton(AF_INET, server.toLatin1().constData(), &d_->upstream) != 1)
        throw std::runtime_error("the proxy forwards to an IPv4 address only");
    for (int host = 20; host <= 250 && d_->listener < 0; ++host) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(5432);
        a.sin_addr.s_addr = htonl((127u << 24) | unsigned(host));
        if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(fd, 64) == 0) {
            d_->listener = fd;
            d_->address = QStringLiteral("127.0.0.%1").arg(host);
        } else {
            close(fd);
        }
    }
    if (d_->listener < 0) throw std::runtime_error("no free loopback address for the proxy");
    d_->wake = eventfd(0, EFD_CLOEXEC);
    d_->thread = std::thread([this] { d_->run(); });
}

SilentProxy::~SilentProxy()
{
    d_->order(Command::Stop);
    d_->thread.join();
    close(d_->listener);
    close(d_->wake);
}

QString SilentProxy::address() const
{
    return d_->address;
}

void SilentProxy::goSilent()
{
    d_->order(Command::Silent);
}

void SilentProxy::resume()
{
    d_->order(Command::Resume);
}

void SilentProxy::drop()
{
    d_->order(Command::Drop);
}

int SilentProxy::connectionsAccepted() const
{
    return d_->accepted;
}

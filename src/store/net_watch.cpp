#include "store/net_watch.h"

#include "store/connection.h"

#include <QRegularExpression>

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <set>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace netwatch {
namespace {

using Clock = std::chrono::steady_clock;

struct Socket {
    int fd = -1;
    ino_t inode = 0;
    sockaddr_storage peer{};
    socklen_t peerLength = 0;
};

struct Watched {
    QString connection;
    Clock::time_point quietSince;
    bool cut = false;
    bool unwatchable = false;  // its connection's socket is unknown: it cannot be ended
};

// Shared by the statements of every thread and the one watching thread; never destroyed, so the watching
// thread may outlive everything else at exit.
struct State {
    std::mutex m;
    std::condition_variable wake;
    std::map<QString, Socket> sockets;
    std::map<int, Watched> watched;
    std::set<ino_t> probes;  // the watcher's own sockets, never taken for a connection's
    int nextId = 0;
    bool running = false;
    // The watcher waits without a deadline: only then must a new statement wake it. Otherwise it wakes by
    // itself at the earliest deadline, and a statement begun since has a later one.
    bool waitingForEver = false;
};

State& state()
{
    static State* s = new State;
    return *s;
}

// One connect at a time: the socket that appears meanwhile is the driver's.
std::mutex& connectMutex()
{
    static std::mutex* m = new std::mutex;
    return *m;
}

ino_t inodeOf(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISSOCK(st.st_mode)) return 0;
    return st.st_ino;
}

// The process's open sockets: descriptor and inode.
std::set<std::pair<int, ino_t>> openSockets()
{
    std::set<std::pair<int, ino_t>> out;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return out;
    const int own = dirfd(dir);
    while (const dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.') continue;
        const int fd = std::atoi(e->d_name);
        if (fd == own) continue;
        if (const ino_t ino = inodeOf(fd)) out.insert({fd, ino});
    }
    closedir(dir);
    return out;
}

int portOf(const sockaddr_storage& a)
{
    if (a.ss_family == AF_INET) return ntohs(reinterpret_cast<const sockaddr_in&>(a).sin_port);
    if (a.ss_family == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6&>(a).sin6_port);
    return -1;
}

bool sameHost(const sockaddr_storage& a, const sockaddr* b)
{
    if (a.ss_family != b->sa_family) return false;
    if (a.ss_family == AF_INET)
        return reinterpret_cast<const sockaddr_in&>(a).sin_addr.s_addr == reinterpret_cast<const sockaddr_in*>(b)->sin_addr.s_addr;
    return std::memcmp(&reinterpret_cast<const sockaddr_in6&>(a).sin6_addr, &reinterpret_cast<const sockaddr_in6*>(b)->sin6_addr,
                       sizeof(in6_addr))
        == 0;
}

QString field(const QString& odbcString, const char* key)
{
    const QRegularExpression re(QStringLiteral("(?:^|;)%1=([^;]*)").arg(QLatin1String(key)),
                                QRegularExpression::CaseInsensitiveOption);
    return re.match(odbcString).captured(1).trimmed();
}

// Whether the server answers a new connection within the time: the first message of the protocol (a
// request for encryption), which the server answers with one byte before any sign-in.
bool serverAnswers(const sockaddr_storage& peer, socklen_t length, int seconds)
{
    const int fd = socket(peer.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return true;  // the program cannot ask; a live statement is never cut on a guess
    const ino_t ino = inodeOf(fd);
    {
        std::lock_guard lock(state().m);
        state().probes.insert(ino);
    }
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    auto waitFor = [&](short events) {
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return false;
            pollfd p{fd, events, 0};
            const int r = poll(&p, 1, int(left));
            if (r > 0) return true;
            if (r < 0 && errno != EINTR) return false;
        }
    };
    bool answered = false;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&peer), length) == 0 || errno == EINPROGRESS) {
        int error = 0;
        socklen_t len = sizeof error;
        if (waitFor(POLLOUT) && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0) {
            static const unsigned char sslRequest[8] = {0, 0, 0, 8, 0x04, 0xd2, 0x16, 0x2f};
            if (send(fd, sslRequest, sizeof sslRequest, MSG_NOSIGNAL) == ssize_t(sizeof sslRequest) && waitFor(POLLIN)) {
                char reply = 0;
                answered = recv(fd, &reply, 1, 0) == 1;
            }
        }
    }
    close(fd);
    std::lock_guard lock(state().m);
    state().probes.erase(ino);
    return answered;
}

void watch()
{
    State& s = state();
    std::unique_lock lock(s.m);
    for (;;) {
        auto waitForEver = [&] {
            s.waitingForEver = true;
            s.wake.wait(lock);
            s.waitingForEver = false;
        };
        if (s.watched.empty()) {
            waitForEver();
            continue;
        }
        const auto silence = std::chrono::seconds(kStatementSilenceSeconds);
        Clock::time_point next = Clock::time_point::max();
        for (const auto& [id, w] : s.watched)
            if (!w.cut && !w.unwatchable) next = std::min(next, w.quietSince + silence);
        if (next == Clock::time_point::max()) {
            waitForEver();
            continue;
        }
        if (Clock::now() < next) {
            s.wake.wait_until(lock, next);
            continue;
        }
        // The longest-waiting statement is asked about first.
        int id = 0;
        for (const auto& [i, w] : s.watched)
            if (!w.cut && !w.unwatchable && w.quietSince + silence <= next) id = i;
        const QString connection = s.watched[id].connection;
        const auto sock = s.sockets.find(connection);
        if (sock == s.sockets.end()) {
            // A connection whose socket is unknown cannot be ended; it is not asked about again.
            s.watched[id].unwatchable = true;
            continue;
        }
        const Socket target = sock->second;
        lock.unlock();
        const bool answers = serverAnswers(target.peer, target.peerLength, kProbeSeconds);
        lock.lock();
        const auto it = s.watched.find(id);
        if (it == s.watched.end()) continue;  // the statement ended meanwhile
        if (answers) {
            // A long statement on a live server: asked about again after another silence.
            it->second.quietSince = Clock::now();
            continue;
        }
        // The driver waits in a read on this socket: shut, the read returns and the driver reports the
        // link broken. The descriptor is checked to be the same socket still.
        if (inodeOf(target.fd) == target.inode) shutdown(target.fd, SHUT_RDWR);
        s.sockets.erase(connection);
        for (auto& [i, w] : s.watched)
            if (w.connection == connection) w.cut = true;
        markConnectionLost(connection);
    }
}

}  // namespace

struct Connecting::Impl {
    std::unique_lock<std::mutex> serial;
    QString connection;
    QString odbcString;
    std::set<std::pair<int, ino_t>> before;
};

Connecting::Connecting(const QString& connection, const QString& odbcString)
    : d_(new Impl{std::unique_lock(connectMutex()), connection, odbcString, {}})
{
    {
        std::lock_guard lock(state().m);
        state().sockets.erase(connection);
    }
    d_->before = openSockets();
}

Connecting::~Connecting()
{
    delete d_;
}

void Connecting::opened()
{
    const int port = field(d_->odbcString, "PORT").isEmpty() ? 5432 : field(d_->odbcString, "PORT").toInt();
    addrinfo* hosts = nullptr;
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    const QByteArray server = field(d_->odbcString, "SERVER").toUtf8();
    if (server.isEmpty() || getaddrinfo(server.constData(), nullptr, &hints, &hosts) != 0) hosts = nullptr;

    std::vector<Socket> found;
    {
        std::lock_guard lock(state().m);
        for (const auto& [fd, ino] : openSockets()) {
            if (d_->before.count({fd, ino}) || state().probes.count(ino)) continue;
            Socket s{fd, ino, {}, sizeof(sockaddr_storage)};
            if (getpeername(fd, reinterpret_cast<sockaddr*>(&s.peer), &s.peerLength) != 0) continue;
            if (portOf(s.peer) != port) continue;
            bool host = hosts == nullptr;
            for (const addrinfo* a = hosts; a && !host; a = a->ai_next) host = sameHost(s.peer, a->ai_addr);
            if (host) found.push_back(s);
        }
        // Anything but exactly one candidate is a guess; without a socket the connection is not ended.
        if (found.size() == 1) state().sockets[d_->connection] = found.front();
    }
    if (hosts) freeaddrinfo(hosts);
}

StatementWatch::StatementWatch(const QString& connection)
{
    if (connection.isEmpty()) return;
    State& s = state();
    std::lock_guard lock(s.m);
    if (!s.running) {
        std::thread(watch).detach();
        s.running = true;
    }
    id_ = ++s.nextId;
    s.watched[id_] = Watched{connection, Clock::now(), false};
    if (s.waitingForEver) {
        s.waitingForEver = false;
        s.wake.notify_one();
    }
}

StatementWatch::~StatementWatch()
{
    if (!id_) return;
    std::lock_guard lock(state().m);
    state().watched.erase(id_);
}

bool StatementWatch::cut() const
{
    if (!id_) return false;
    std::lock_guard lock(state().m);
    const auto it = state().watched.find(id_);
    return it != state().watched.end() && it->second.cut;
}

}  // namespace netwatch

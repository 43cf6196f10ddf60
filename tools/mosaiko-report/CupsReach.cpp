#include "CupsReach.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace mosaiko {
namespace {

using Clock = std::chrono::steady_clock;

// "host", "host:port", "[v6]:port" or "/path/socket".
CupsServer Parse(std::string name) {
    CupsServer server{{}, "631", {}};
    if (name.empty() || name[0] == '/') {
        server.socketPath = name;
        return server;
    }
    const std::size_t close = name.rfind(']');
    const std::size_t colon = name.rfind(':');
    if (colon != std::string::npos && (close == std::string::npos || colon > close)) {
        server.port = name.substr(colon + 1);
        name.resize(colon);
    }
    if (name.size() > 1 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
    server.host = name;
    return server;
}

std::string ServerNameIn(const std::string& path) {
    std::ifstream conf(path);
    for (std::string line; std::getline(conf, line);) {
        std::istringstream words(line);
        std::string key, value;
        if (words >> key >> value && key == "ServerName") return value;
    }
    return {};
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// True when `fd` becomes ready for `events` before the deadline.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, MillisecondsLeft(deadline)) == 1 && (p.revents & events);
}

// A connected non-blocking socket, or -1.
int Connect(const sockaddr* address, socklen_t length, int family, Clock::time_point deadline) {
    const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    int error = 0;
    socklen_t size = sizeof error;
    if (::connect(fd, address, length) == 0 ||
        (errno == EINPROGRESS && WaitFor(fd, POLLOUT, deadline) &&
         ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0))
        return fd;
    ::close(fd);
    return -1;
}

int ConnectTo(const CupsServer& server, Clock::time_point deadline) {
    if (server.host.empty()) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, server.socketPath.c_str(), sizeof address.sun_path - 1);
        return Connect(reinterpret_cast<const sockaddr*>(&address), sizeof address, AF_UNIX, deadline);
    }
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(server.host.c_str(), server.port.c_str(), &hints, &found) != 0) return -1;
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) fd = Connect(a->ai_addr, a->ai_addrlen, a->ai_family, deadline);
    ::freeaddrinfo(found);
    return fd;
}

// Sends a HEAD request and waits for the first byte of any answer.
bool Answers(int fd, Clock::time_point deadline) {
    static const char request[] = "HEAD / HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";
    if (!WaitFor(fd, POLLOUT, deadline) || ::send(fd, request, sizeof request - 1, MSG_NOSIGNAL) <= 0) return false;
    char byte;
    return WaitFor(fd, POLLIN, deadline) && ::recv(fd, &byte, 1, 0) == 1;
}

}  // namespace

CupsServer ConfiguredCupsServer() {
    if (const char* env = std::getenv("CUPS_SERVER"); env && *env) return Parse(env);
    if (const char* home = std::getenv("HOME")) {
        if (std::string name = ServerNameIn(std::string(home) + "/.cups/client.conf"); !name.empty()) return Parse(name);
    }
    if (std::string name = ServerNameIn("/etc/cups/client.conf"); !name.empty()) return Parse(name);
    struct stat st {};
    if (::stat("/run/cups/cups.sock", &st) == 0) return Parse("/run/cups/cups.sock");
    return Parse("localhost:631");
}

std::string CupsUnreachable(const CupsServer& server, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    const int fd = ConnectTo(server, deadline);
    const bool answered = fd >= 0 && Answers(fd, deadline);
    if (fd >= 0) ::close(fd);
    if (answered) return {};
    return "印刷サービスに接続できません（" + server.Shown() + "）";
}

}  // namespace mosaiko

// Whether the printing service (CUPS) answers at all, asked before Qt's
// printer support, which waits minutes on a server that accepts and never
// answers, and takes one it cannot reach for a service without printers.
#pragma once

#include <chrono>
#include <string>

namespace mosaiko {

// Where the service is: CUPS_SERVER, else ServerName in ~/.cups/client.conf
// or /etc/cups/client.conf, else the local socket /run/cups/cups.sock when it
// exists, else localhost:631.
struct CupsServer {
    std::string host;        // empty for a local socket
    std::string port;        // "631" unless named
    std::string socketPath;  // for a local socket
    // "host:port" or the socket's path, for messages.
    std::string Shown() const { return host.empty() ? socketPath : host + ":" + port; }
};

CupsServer ConfiguredCupsServer();

// Empty when the service answered an HTTP request within `timeout`; else the
// message for the user, naming the server.
std::string CupsUnreachable(const CupsServer& server, std::chrono::milliseconds timeout);

}  // namespace mosaiko

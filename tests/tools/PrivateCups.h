// A CUPS server of the test's own: private configuration, spool, log and
// cache folders under a temporary folder, listening on a free port of
// 127.0.0.1, with one cups-pdf queue that writes its PDFs into out/.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace mosaiko::test {

class PrivateCups {
public:
    PrivateCups() = default;
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Starts the server and adds the queue (as the default printer). On
    // failure, says why; the caller skips.
    bool Start(std::string& why);

    // "127.0.0.1:port", for CUPS_SERVER.
    std::string Server() const { return "127.0.0.1:" + std::to_string(port_); }
    const std::string& Queue() const { return queue_; }
    const std::filesystem::path& OutDir() const { return out_; }

    // Waits until the queue has finished every job and `count` PDFs are in
    // out/; false after the timeout.
    bool WaitForPdfs(size_t count, int timeoutSeconds = 120) const;
    // The server's error log, for a failure message.
    std::string ErrorLog() const;

private:
    bool WriteConfiguration(std::string& why);
    bool WaitUntilListening() const;
    int Run(const std::string& command) const;  // with CUPS_SERVER set to this server

    std::filesystem::path root_;
    std::filesystem::path out_;
    std::filesystem::path backendConf_;  // cups-pdf reads its instances' files only from /etc/cups
    std::string queue_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace mosaiko::test

#include "PrivateCups.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "RunTool.h"

namespace mosaiko::test {
namespace {

namespace fs = std::filesystem;

constexpr char kCupsd[] = "/usr/sbin/cupsd";
constexpr char kCupsPdfBackend[] = "/usr/lib/cups/backend/cups-pdf";
constexpr char kCupsPdfPpd[] = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port that was free a moment ago.
int FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    return port;
}

}  // namespace

PrivateCups::~PrivateCups() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    if (!backendConf_.empty()) fs::remove(backendConf_, ignored);
    if (!root_.empty()) fs::remove_all(root_, ignored);
}

bool PrivateCups::WriteConfiguration(std::string& why) {
    root_ = fs::temp_directory_path() / ("mosaiko-cups-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    for (const char* dir : {"spool", "tmp", "cache", "state", "log", "out", "pdf-spool"})
        fs::create_directories(root_ / dir);
    out_ = root_ / "out";
    // The filters run as the lp user: they must reach the folder and write temporary files.
    fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(root_ / "tmp", fs::perms::all | fs::perms::sticky_bit);
    const std::string r = root_.string();
    std::ofstream(root_ / "cupsd.conf") << "Listen 127.0.0.1:" << port_ << "\n"
                                        << "LogLevel debug\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                                        << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                        << "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                        << "    Allow all\n  </Limit>\n</Policy>\n";
    std::ofstream(root_ / "cups-files.conf") << "ServerRoot " << r << "\nRequestRoot " << r << "/spool\n"
                                             << "TempDir " << r << "/tmp\nCacheDir " << r << "/cache\n"
                                             << "StateDir " << r << "/state\nAccessLog " << r << "/log/access_log\n"
                                             << "ErrorLog " << r << "/log/error_log\nPageLog " << r
                                             << "/log/page_log\nSandboxing Relaxed\n";
    queue_ = "mosaiko-test-" + std::to_string(::getpid());
    backendConf_ = fs::path("/etc/cups") / ("cups-pdf-" + queue_ + ".conf");
    std::ofstream conf(backendConf_);
    conf << "Out " << out_.string() << "\nAnonDirName " << out_.string() << "\nSpool " << r << "/pdf-spool\n"
         << "Log " << r << "/log\nGrp root\n";
    if (!conf.flush()) {
        why = "cannot write " + backendConf_.string();
        backendConf_.clear();
        return false;
    }
    return true;
}

bool PrivateCups::WaitUntilListening() const {
    for (int attempt = 0; attempt < 100; ++attempt) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) return false;  // cupsd gave up
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = Loopback(port_);
        const bool up = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(s);
        if (up) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

int PrivateCups::Run(const std::string& command) const {
    return std::system(("CUPS_SERVER=" + Server() + " " + command + " >/dev/null 2>&1").c_str());
}

bool PrivateCups::Start(std::string& why) {
    if (::access(kCupsd, X_OK) != 0 || ::access(kCupsPdfPpd, R_OK) != 0) {
        why = "cupsd or cups-pdf is not installed (scripts/install-deps.sh installs cups and printer-driver-cups-pdf)";
        return false;
    }
    if (::geteuid() != 0 || ::access(kCupsPdfBackend, X_OK) != 0) {
        why = "the cups-pdf backend runs only as root and reads its settings from /etc/cups; not root here";
        return false;
    }
    port_ = FreePort();
    if (port_ == 0 || !WriteConfiguration(why)) {
        if (why.empty()) why = "no free port on 127.0.0.1";
        return false;
    }
    const std::string conf = (root_ / "cupsd.conf").string();
    const std::string files = (root_ / "cups-files.conf").string();
    pid_ = ::fork();
    if (pid_ == 0) {
        ::execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (pid_ < 0 || !WaitUntilListening()) {
        why = "cupsd did not start: " + ErrorLog();
        return false;
    }
    const std::string add = "lpadmin -p " + queue_ + " -E -v cups-pdf:/" + queue_ + " -P " + kCupsPdfPpd;
    if (Run(add) != 0 || Run("lpadmin -d " + queue_) != 0) {
        why = "lpadmin could not add the cups-pdf queue: " + ErrorLog();
        return false;
    }
    return true;
}

bool PrivateCups::WaitForPdfs(size_t count, int timeoutSeconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        size_t pdfs = 0;
        for (const auto& entry : fs::directory_iterator(out_))
            if (entry.path().extension() == ".pdf") ++pdfs;
        // lpstat -o lists the jobs not yet finished; grep fails on an empty list.
        const bool idle = Run("lpstat -o " + queue_ + " | grep -q .") != 0;
        if (pdfs >= count && idle) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    return false;
}

std::string PrivateCups::ErrorLog() const {
    const std::string log = ReadFile(root_ / "log" / "error_log");
    return log.size() > 4000 ? log.substr(log.size() - 4000) : log;
}

}  // namespace mosaiko::test

#pragma once
// A private CUPS scheduler for printing tests: started on a free loopback port with its own
// configuration in a temporary folder, and two queues whose devices write into files there:
// "laser" (the default, taking jobs) and "closed" (not taking jobs).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "printer_fixture.h"

namespace platform::printer::testing {

using namespace std::chrono_literals;

inline int free_port() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    close(s);
    return port;
}

inline bool accepts_connections(int port) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return ok;
}

// A queue that hands every document on unchanged, raw bytes and PDF alike, to its device.
inline const char* kPassThroughPpd = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "PASS.PPD"
*Manufacturer: "Test"
*Product: "(Pass-through)"
*ModelName: "Pass-through"
*ShortNickName: "Pass-through"
*NickName: "Pass-through"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*cupsFilter: "application/vnd.cups-raw 0 gziptoany"
*cupsFilter: "application/pdf 0 gziptoany"
*OpenUI *PageSize/Page Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: ""
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)ppd";

// The scheduler runs in the foreground as our child and dies with the test process even
// when that crashes; the destructor stops it.
class PrivateScheduler {
  public:
    PrivateScheduler() {
        const fs::path cupsd = "/usr/sbin/cupsd";
        if (!fs::exists(cupsd) || !fs::exists("/usr/lib/cups/filter/gziptoany")) {
            skip_ = "cupsd or its pass-through filter is not installed (packages cups, cups-client)";
            return;
        }
        port_ = free_port();
        fs::path root = dir_.path();
        // Filters run as the scheduler's own user and must reach the spooled documents.
        chmod(root.c_str(), 0755);
        for (const char* sub : {"spool", "cache", "state", "log", "tmp", "out", "ppd"}) fs::create_directories(root / sub);
        chmod((root / "out").c_str(), 0777);
        chmod((root / "tmp").c_str(), 01777);
        write_file(root / "cups-files.conf", "ServerRoot " + root.string() + "\nRequestRoot " + (root / "spool").string() +
                                                 "\nCacheDir " + (root / "cache").string() + "\nStateDir " +
                                                 (root / "state").string() + "\nTempDir " + (root / "tmp").string() +
                                                 "\nErrorLog " + log().string() + "\nAccessLog " +
                                                 (root / "log/access_log").string() + "\nPageLog " +
                                                 (root / "log/page_log").string() + "\nPrintcap " +
                                                 (root / "printcap").string() + "\nFileDevice Yes\n");
        write_file(root / "cupsd.conf", "Listen 127.0.0.1:" + std::to_string(port_) +
                                            "\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultPolicy default\n"
                                            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
        write_file(root / "printers.conf", queue("DefaultPrinter", "laser", "Laser on the test desk", true) +
                                               queue("Printer", "closed", "Not taking jobs", false));
        write_file(root / "ppd/laser.ppd", kPassThroughPpd);
        write_file(root / "ppd/closed.ppd", kPassThroughPpd);

        std::string conf = (root / "cupsd.conf").string(), files = (root / "cups-files.conf").string();
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            execl(cupsd.c_str(), "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (auto until = std::chrono::steady_clock::now() + 15s; std::chrono::steady_clock::now() < until;) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                skip_ = "cupsd could not start here: " + read_file(log());
                return;
            }
            if (accepts_connections(port_)) return;
            std::this_thread::sleep_for(50ms);
        }
        skip_ = "cupsd did not listen within 15 seconds: " + read_file(log());
    }

    ~PrivateScheduler() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
            std::this_thread::sleep_for(50ms);
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }

    const std::string& skip_reason() const { return skip_; }
    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }
    fs::path output(const std::string& queue) const { return dir_ / "out" / (queue + ".out"); }
    fs::path log() const { return dir_ / "log" / "error_log"; }

  private:
    TempDir dir_;
    int port_ = 0;
    pid_t pid_ = -1;
    std::string skip_;

    std::string queue(const std::string& tag, const std::string& name, const std::string& info, bool accepting) const {
        return "<" + tag + " " + name + ">\nInfo " + info + "\nDeviceURI file://" + output(name).string() +
               "\nState Idle\nAccepting " + (accepting ? "Yes" : "No") + "\nShared No\n</" + tag + ">\n";
    }
};

}  // namespace platform::printer::testing

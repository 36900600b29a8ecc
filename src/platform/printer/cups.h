#pragma once
// Printers as CUPS destinations: listing them, the default one, whether one takes jobs, and
// jobs sent as raw bytes (the spool file as the printer's own language) or as a PDF.
// Every failure comes back as an Outcome with the scheduler's reason.

#include <string>
#include <string_view>
#include <vector>

#include "platform/printer/outcome.h"

namespace platform::printer {

struct Destination {
    std::string name;
    std::string info;  // the description the administrator gave it
    bool is_default = false;
    bool accepting = false;  // accepts new jobs
    bool stopped = false;    // the queue is stopped (jobs wait)

    bool ready() const { return accepting && !stopped; }
};

enum class JobState { Pending, Held, Processing, Stopped, Canceled, Aborted, Completed };

class PrintServer {
  public:
    // `server` is "host:port" or the path of a local socket; empty means the computer's own
    // setting (CUPS_SERVER, the client configuration, else the local scheduler).
    explicit PrintServer(std::string server = {});

    const std::string& host() const { return host_; }
    int port() const { return port_; }

    Outcome<std::vector<Destination>> destinations() const;
    Outcome<Destination> default_destination() const;
    // A name that begins with "DEFAULT" (any case), as printer settings write it, means the
    // default destination.
    Outcome<Destination> destination(std::string_view name) const;

    // The job number the scheduler gave.
    Outcome<int> submit_raw(std::string_view destination, std::string_view title, std::string_view bytes) const;
    Outcome<int> submit_pdf(std::string_view destination, std::string_view title, std::string_view pdf) const;

    Outcome<JobState> job_state(int job) const;

  private:
    std::string host_;
    int port_ = 631;

    Outcome<int> submit(std::string_view destination, std::string_view title, std::string_view bytes,
                        const char* format) const;
};

}  // namespace platform::printer

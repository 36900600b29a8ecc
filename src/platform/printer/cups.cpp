#include "platform/printer/cups.h"

#include <cups/cups.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace platform::printer {

namespace {

struct HttpClose {
    void operator()(http_t* h) const { httpClose(h); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

struct DestFree {
    int count;
    void operator()(cups_dest_t* d) const { cupsFreeDests(count, d); }
};

std::string last_error(const std::string& what) {
    const char* reason = cupsLastErrorString();
    return what + ": " + (reason && *reason ? reason : "unknown error");
}

bool means_default(std::string_view name) {
    std::string_view word = "DEFAULT";
    if (name.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != word[i]) return false;
    return true;
}

Destination describe(const cups_dest_t& d) {
    Destination out;
    out.name = d.name;
    out.is_default = d.is_default != 0;
    auto option = [&](const char* key) {
        const char* v = cupsGetOption(key, d.num_options, d.options);
        return std::string(v ? v : "");
    };
    out.info = option("printer-info");
    std::string accepting = option("printer-is-accepting-jobs");
    out.accepting = accepting.empty() || accepting == "true" || accepting == "1";
    out.stopped = option("printer-state") == std::to_string(IPP_PSTATE_STOPPED);
    return out;
}

}  // namespace

PrintServer::PrintServer(std::string server) {
    if (server.empty()) {
        host_ = cupsServer();  // also sets ippPort() from CUPS_SERVER="host:port"
        port_ = ippPort();
        return;
    }
    std::size_t colon = server.rfind(':');
    if (server.front() != '/' && colon != std::string::npos && server.find(']', colon) == std::string::npos) {
        host_ = server.substr(0, colon);
        port_ = std::atoi(server.c_str() + colon + 1);
        if (port_ <= 0 || port_ > 65535) port_ = 631;
    } else {
        host_ = server;
    }
}

namespace {

Outcome<Connection> connect(const std::string& host, int port) {
    http_t* h = httpConnect2(host.c_str(), port, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1, 10000, nullptr);
    if (!h) return Outcome<Connection>::failure(last_error("cannot reach the print server " + host));
    return Connection(h);
}

}  // namespace

Outcome<std::vector<Destination>> PrintServer::destinations() const {
    auto http = connect(host_, port_);
    if (!http) return Outcome<std::vector<Destination>>::failure(http.error());
    cups_dest_t* dests = nullptr;
    int n = cupsGetDests2(http->get(), &dests);
    std::unique_ptr<cups_dest_t, DestFree> owner(dests, DestFree{n});
    if (n == 0 && cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        return Outcome<std::vector<Destination>>::failure(last_error("cannot list printers"));
    std::vector<Destination> out;
    for (int i = 0; i < n; ++i)
        if (!dests[i].instance) out.push_back(describe(dests[i]));
    return out;
}

Outcome<Destination> PrintServer::default_destination() const { return destination("DEFAULT"); }

Outcome<Destination> PrintServer::destination(std::string_view name) const {
    auto http = connect(host_, port_);
    if (!http) return Outcome<Destination>::failure(http.error());
    bool want_default = means_default(name);
    std::string wanted(name);
    cups_dest_t* d = cupsGetNamedDest(http->get(), want_default ? nullptr : wanted.c_str(), nullptr);
    if (!d)
        return Outcome<Destination>::failure(
            want_default ? "there is no default printer" : last_error("no printer named " + wanted));
    std::unique_ptr<cups_dest_t, DestFree> owner(d, DestFree{1});
    return describe(*d);
}

Outcome<int> PrintServer::submit_raw(std::string_view destination, std::string_view title, std::string_view bytes) const {
    return submit(destination, title, bytes, CUPS_FORMAT_RAW);
}

Outcome<int> PrintServer::submit_pdf(std::string_view destination, std::string_view title, std::string_view pdf) const {
    return submit(destination, title, pdf, CUPS_FORMAT_PDF);
}

Outcome<int> PrintServer::submit(std::string_view destination, std::string_view title, std::string_view bytes,
                                 const char* format) const {
    std::string name(destination);
    if (means_default(name)) {
        auto d = default_destination();
        if (!d) return Outcome<int>::failure(d.error());
        name = d->name;
    }
    auto http = connect(host_, port_);
    if (!http) return Outcome<int>::failure(http.error());
    std::string job_title(title.empty() ? "printout" : title);
    int job = cupsCreateJob(http->get(), name.c_str(), job_title.c_str(), 0, nullptr);
    if (job == 0) return Outcome<int>::failure(last_error("printer " + name + " refused the job"));

    auto fail = [&](const std::string& what) {
        std::string reason = last_error(what);
        cupsCancelJob2(http->get(), name.c_str(), job, 0);
        return Outcome<int>::failure(reason);
    };
    if (cupsStartDocument(http->get(), name.c_str(), job, job_title.c_str(), format, 1) != HTTP_STATUS_CONTINUE)
        return fail("printer " + name + " refused the document");
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t n = std::min<std::size_t>(bytes.size() - at, 65536);
        if (cupsWriteRequestData(http->get(), bytes.data() + at, n) != HTTP_STATUS_CONTINUE)
            return fail("sending to printer " + name + " failed");
        at += n;
    }
    if (cupsFinishDocument(http->get(), name.c_str()) > IPP_STATUS_OK_CONFLICTING)
        return fail("printer " + name + " did not take the document");
    return job;
}

Outcome<JobState> PrintServer::job_state(int job) const {
    auto http = connect(host_, port_);
    if (!http) return Outcome<JobState>::failure(http.error());
    cups_job_t* jobs = nullptr;
    int n = cupsGetJobs2(http->get(), &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    std::optional<ipp_jstate_t> state;
    for (int i = 0; i < n; ++i)
        if (jobs[i].id == job) state = jobs[i].state;
    cupsFreeJobs(n, jobs);
    if (!state) return Outcome<JobState>::failure("no job " + std::to_string(job));
    switch (*state) {
        case IPP_JSTATE_PENDING: return JobState::Pending;
        case IPP_JSTATE_HELD: return JobState::Held;
        case IPP_JSTATE_PROCESSING: return JobState::Processing;
        case IPP_JSTATE_STOPPED: return JobState::Stopped;
        case IPP_JSTATE_CANCELED: return JobState::Canceled;
        case IPP_JSTATE_ABORTED: return JobState::Aborted;
        case IPP_JSTATE_COMPLETED: return JobState::Completed;
    }
    return JobState::Aborted;
}

}  // namespace platform::printer

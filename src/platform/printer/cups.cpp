#include "platform/printer/cups.h"

#include <cups/cups.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
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
    if (!h)
        return Outcome<Connection>::failure("cannot reach the print server " + host + ":" + std::to_string(port) + ": " +
                                            std::strerror(errno));
    return Connection(h);
}

}  // namespace

Outcome<std::vector<Destination>> PrintServer::destinations() const {
    auto http = connect(host_, port_);
    if (!http) return Outcome<std::vector<Destination>>::failure(http.error());
    cups_dest_t* dests = nullptr;
    int n = cupsGetDests2(http->get(), &dests);
    std::unique_ptr<cups_dest_t, DestFree> owner(dests, DestFree{n});
    if (n == 0 && cupsLastError() > IPP_STATUS_OK_CONFLICTING && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND)
        return Outcome<std::vector<Destination>>::failure(last_error("cannot list printers"));
    std::vector<Destination> out;
    for (int i = 0; i < n; ++i)
        if (!dests[i].instance) out.push_back(describe(dests[i]));
    return out;
}

Outcome<Destination> PrintServer::default_destination() const { return destination("DEFAULT"); }

namespace {

using DestPtr = std::unique_ptr<cups_dest_t, DestFree>;

Outcome<DestPtr> lookup(http_t* http, std::string_view name) {
    bool want_default = means_default(name);
    std::string wanted(name);
    cups_dest_t* d = cupsGetNamedDest(http, want_default ? nullptr : wanted.c_str(), nullptr);
    if (!d)
        return Outcome<DestPtr>::failure(want_default ? "there is no default printer"
                                                      : last_error("no printer named " + wanted));
    return DestPtr(d, DestFree{1});
}

}  // namespace

Outcome<Destination> PrintServer::destination(std::string_view name) const {
    auto http = connect(host_, port_);
    if (!http) return Outcome<Destination>::failure(http.error());
    auto d = lookup(http->get(), name);
    if (!d) return Outcome<Destination>::failure(d.error());
    return describe(**d);
}

Outcome<int> PrintServer::submit_raw(std::string_view destination, std::string_view title, std::string_view bytes) const {
    return submit(destination, title, bytes, CUPS_FORMAT_RAW);
}

Outcome<int> PrintServer::submit_pdf(std::string_view destination, std::string_view title, std::string_view pdf) const {
    return submit(destination, title, pdf, CUPS_FORMAT_PDF);
}

namespace {

struct IppFree {
    void operator()(ipp_t* i) const { ippDelete(i); }
};
using Ipp = std::unique_ptr<ipp_t, IppFree>;

std::string queue_uri(const cups_dest_t& d, const std::string& host, int port) {
    if (const char* uri = cupsGetOption("printer-uri-supported", d.num_options, d.options)) return uri;
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, host.front() == '/' ? "localhost" : host.c_str(),
                     port, "/printers/%s", d.name);
    return uri;
}

}  // namespace

// One Print-Job request on our own connection: the libcups job helpers address the
// scheduler of the process-wide settings, which need not be this one.
Outcome<int> PrintServer::submit(std::string_view destination, std::string_view title, std::string_view bytes,
                                 const char* format) const {
    auto http = connect(host_, port_);
    if (!http) return Outcome<int>::failure(http.error());
    http_t* h = http->get();
    auto found = lookup(h, destination);
    if (!found) return Outcome<int>::failure(found.error());
    const cups_dest_t& dest = **found;
    std::string name = dest.name, uri = queue_uri(dest, host_, port_), resource = "/printers/" + name;
    std::string job_title(title.empty() ? "printout" : title);

    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, job_title.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, format);
    http_status_t status = cupsSendRequest(h, request, resource.c_str(), CUPS_LENGTH_VARIABLE);
    for (std::size_t at = 0; status == HTTP_STATUS_CONTINUE && at < bytes.size();) {
        std::size_t n = std::min<std::size_t>(bytes.size() - at, 65536);
        status = cupsWriteRequestData(h, bytes.data() + at, n);
        at += n;
    }
    Ipp response(cupsGetResponse(h, resource.c_str()));
    ippDelete(request);
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING || !response)
        return Outcome<int>::failure(last_error("printer " + name + " refused the job"));
    ipp_attribute_t* id = ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER);
    if (!id) return Outcome<int>::failure("printer " + name + " gave no job number");
    return ippGetInteger(id, 0);
}

Outcome<JobState> PrintServer::job_state(int job) const {
    auto http = connect(host_, port_);
    if (!http) return Outcome<JobState>::failure(http.error());
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, host_.front() == '/' ? "localhost" : host_.c_str(),
                     port_, "/jobs/%d", job);
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "job-state");
    Ipp response(cupsDoRequest(http->get(), request, "/jobs/"));  // takes the request
    ipp_attribute_t* state = response ? ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM) : nullptr;
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING || !state)
        return Outcome<JobState>::failure(last_error("no job " + std::to_string(job)));
    switch (static_cast<ipp_jstate_t>(ippGetInteger(state, 0))) {
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

#pragma once
// HTTP transfers: an address split into its parts, and a request that is sent, answers with
// its final headers and is then read in pieces. One request belongs to one thread at a time;
// only cancel() may come from another.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// An address split into its parts, escape sequences decoded.
struct UrlParts {
    std::string scheme, host;
    int port = 0; // the scheme's port when the address names none
    std::string user, password;
    std::string path;  // "/" when the address has none
    std::string extra; // the query with its "?" ("" when none)
    // Path and query as the address spells them, still escaped: what goes on the request line.
    std::string target;
};

enum class HttpAccess { Preconfigured, Direct, Proxy };

// Status reports of a request, numbered as the system numbers its connection states.
enum HttpStatus : unsigned {
    HTTP_STATUS_SENDING = 30,
    HTTP_STATUS_RECEIVED = 41,
    HTTP_STATUS_HANDLE_CREATED = 60,
    HTTP_STATUS_COMPLETE = 100,
    HTTP_STATUS_REDIRECT = 110,
};

struct HttpRequestOptions {
    // Session.
    std::string userAgent;
    HttpAccess access = HttpAccess::Preconfigured;
    std::string proxy;  // "host:port" for HttpAccess::Proxy
    std::string bypass; // hosts reached directly, separated by ";" or ","
    bool offline = false; // no network: every send fails
    // Request.
    std::string method = "GET";
    std::string url; // scheme, host, port and target, without credentials
    std::string user, password;
    std::string referrer, acceptTypes;
    bool noCache = false, noCookies = false;
    unsigned connectTimeoutMs = 0, receiveTimeoutMs = 0, sendTimeoutMs = 0; // 0: the library's
    std::string headers; // lines ended by CR LF, added as they stand
    // A request body (POST); sent in chunks of `chunkSize`, `onChunkSent` after each.
    std::string body;
    std::size_t chunkSize = 4096;
    std::function<void(std::int64_t sent, std::int64_t total)> onChunkSent;
    // Connection states (HttpStatus) on the sending thread; `info` is the new address of a
    // redirect and empty otherwise.
    std::function<void(unsigned status, const std::string& info)> onStatus;
};

class HttpRequest {
public:
    virtual ~HttpRequest() = default;
    // Sends the request (again, after a 401 or 407) and waits for the final response
    // headers, redirects followed. False when no answer came.
    virtual bool send() = 0;
    // Status code of the answer: -1 before one came.
    virtual int status() = 0;
    // The final response's header lines, status line first, each ended by CR LF.
    virtual std::string rawHeaders() = 0;
    // The first header of that name (any letter case); false when there is none.
    virtual bool header(const std::string& name, std::string& value) = 0;
    // Credentials for the next send().
    virtual void setCredentials(const std::string& user, const std::string& password) = 0;
    virtual void setProxyCredentials(const std::string& user, const std::string& password) = 0;
    // Reads the body: n bytes, fewer only where it ends; 0 at its end, -1 when the transfer
    // failed or was cancelled.
    virtual std::int64_t read(void* into, std::size_t n) = 0;
    // From any thread: a blocked send() or read() returns at once, later ones fail.
    virtual void cancel() = 0;
};

class Http {
public:
    virtual ~Http() = default;
    // Splits an absolute address; false when it is no address.
    virtual bool crackUrl(const std::string& url, UrlParts& parts) = 0;
    // Opens a session, a connection and a request; nullptr when one cannot be opened.
    virtual std::unique_ptr<HttpRequest> openRequest(const HttpRequestOptions& options) = 0;
};

} // namespace platform

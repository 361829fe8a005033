#include "update/custom_http.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>

#include "platform/platform.h"
#include "toolkit/toolkit.h"
#include "update/http_date.h"

// ---------------------------------------------------------------------------------------
// Statistics, status texts, request headers

namespace {

bool sameTextAscii(const std::string& a, const std::string& b) {
    auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return up(x) == up(y);
           });
}

// a / b rounded to the nearest integer, halves to even (a >= 0, b > 0).
std::int64_t divideRoundingToEven(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b, r = a % b;
    if (2 * r > b || (2 * r == b && (q & 1)))
        ++q;
    return q;
}

} // namespace

TupTransferStatistics ComputeTransferStatistics(std::int64_t bytes, std::int64_t length, std::int64_t elapsedMs) {
    TupTransferStatistics s;
    s.SecondsElapsed = elapsedMs / 1000;
    if (length > 0 && bytes >= 0) {
        // A body longer than announced is still all there: 100, not a wrapped byte.
        s.Percent = static_cast<std::uint8_t>(std::min<std::int64_t>(divideRoundingToEven(bytes * 100, length), 100));
        if (bytes > 0)
            s.SecondsLeft = std::max<std::int64_t>(
                divideRoundingToEven(length * s.SecondsElapsed, bytes) - s.SecondsElapsed, 0);
    }
    // Without an announced length nothing says how long is left: 0 rather than minus the time so far.
    float kb = static_cast<float>(bytes) / 1024.0f;
    s.TransferRate = s.SecondsElapsed ? kb / static_cast<float>(s.SecondsElapsed) : kb;
    return s;
}

std::string HttpStatusText(unsigned code) {
    switch (code) {
    case 10: return "Resolving name";
    case 11: return "Name resolved";
    case 20: return "Connecting to server";
    case 21: return "Connected";
    case 30: return "Sending Request";
    case 31: return "Request sent";
    case 40: return "Receiving response";
    case 41: return "Response received";
    case 42: return "CTL Response received";
    case 43: return "Prefetch";
    case 50: return "Closing connection";
    case 51: return "Connection closed";
    case 60: return "Handle created";
    case 70: return "Handle closing";
    case 100: return "Request complete";
    case 110: return "Redirect";
    case 120: return "Intermediate response";
    case 200: return "State change";
    default: return "Unknown status";
    }
}

std::string BuildRequestHeaders(const std::vector<std::string>& extraHeaders, const TupHTTPRange& range) {
    std::string text;
    for (const auto& line : extraHeaders)
        text += line + "\r\n";
    if (range.StartRange != 0 || range.EndRange != 0) {
        text += "RANGE: bytes=" + std::to_string(range.StartRange) + "-";
        if (range.EndRange != 0)
            text += std::to_string(range.EndRange);
        text += "\r\n";
    }
    return text;
}

// ---------------------------------------------------------------------------------------
// One transfer: what the worker and the main thread share

namespace detail {

struct TupTransfer {
    // What BeginGet saw: the worker never reads the component's own members.
    struct Config {
        std::string url, destination;
        bool hide = false;
        std::vector<std::string> extraHeaders;
        TupHTTPRange range;
        TupHTTPTimeouts timeouts;
        TupHTTPProxy proxy;
        std::size_t bufferSize = 4096;
        std::string acceptTypes, userAgent, referrer, formData;
        int method = 0;
        bool useCache = true, acceptCookies = true, workOffline = false;
        std::string user, password;
        std::optional<std::string> upload;
        bool hasHeaders = false, hasProgress = false, hasUpload = false, hasCredentials = false,
             hasProxyAuth = false;
        std::function<void(TupCustomHTTP&, unsigned, const std::string&)> onStatusText;
        std::function<void(TupCustomHTTP&, const std::string&)> onRedirected;
    };

    TupCustomHTTP* owner; // used on the main thread only, and only while not aborted
    Config cfg;
    TupCustomHTTP::Results r;

    std::atomic<bool> aborted{false};
    std::atomic<bool> bodyRunning{true};
    bool completing = false; // main thread
    int inHandler = 0;       // main thread: a notification of this transfer is running
    std::unique_ptr<TupBodyStream> retired; // the target of a transfer stopped by its own handler

    // Guards what an abort takes away from under the worker: the connection, the source
    // file, the body target; and the status handlers, which an abort waits out.
    std::mutex lock;
    std::unique_ptr<platform::HttpRequest> request;
    std::unique_ptr<platform::OpenFile> source;
    std::unique_ptr<TupBodyStream> target;
    bool fileTarget = false;     // the target is the destination file this transfer created
    bool continueBody = true;
    bool success = false;
    bool exception = false;

    // Stops the transfer from the main thread; the worker finds nothing left to use.
    void Stop() {
        std::lock_guard g(lock);
        aborted = true;
        if (request)
            request->cancel();
        source.reset();
        // A handler that stopped its own transfer still holds the body stream until it returns.
        if (inHandler)
            retired = std::move(target);
        target.reset();
    }

    // Runs `fn` on the main thread with the results published; false when the transfer was
    // stopped meanwhile.
    bool Notify(TupEventThread& thread, const std::function<void(TupCustomHTTP&)>& fn) {
        if (aborted)
            return false;
        bool ran = false;
        thread.Synchronize([&] {
            if (aborted)
                return;
            ran = true;
            owner->results_ = r;
            struct Running {
                TupTransfer& t;
                ~Running() {
                    if (--t.inHandler == 0) {
                        std::lock_guard g(t.lock);
                        t.retired.reset();
                    }
                }
            } running{*this};
            ++inHandler;
            fn(*owner);
        });
        return ran && !aborted;
    }

    void Body(TupEventThread& thread);
    bool OpenHttp(TupEventThread& thread, const platform::UrlParts& parts);
};

namespace {

std::int64_t numberOr0(const std::string& s) {
    if (s.empty() || s.size() > 18 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::stoll(s);
}

// The local path of a "file" address: "/C:/dir/x" is the drive path "C:\dir\x".
std::string localPathOf(const std::string& path) {
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':' &&
        ((path[1] >= 'A' && path[1] <= 'Z') || (path[1] >= 'a' && path[1] <= 'z'))) {
        std::string p = path.substr(1);
        std::replace(p.begin(), p.end(), '/', '\\');
        return p;
    }
    return path;
}

// The realm of a WWW-Authenticate header: after the first `="`, less the last character.
std::string realmOf(const std::string& header) {
    size_t p = header.find("=\"");
    if (p == std::string::npos)
        return header;
    size_t from = p + 2;
    return from < header.size() ? header.substr(from, header.size() - 1 - from) : std::string();
}

} // namespace

bool TupTransfer::OpenHttp(TupEventThread& thread, const platform::UrlParts& parts) {
    platform::HttpRequestOptions o;
    o.userAgent = cfg.userAgent;
    o.access = cfg.proxy.AccessType == atDirect     ? platform::HttpAccess::Direct
               : cfg.proxy.AccessType == atUseProxy ? platform::HttpAccess::Proxy
                                                    : platform::HttpAccess::Preconfigured;
    o.proxy = cfg.proxy.ProxyServer + ":" + std::to_string(cfg.proxy.ProxyPort);
    o.bypass = cfg.proxy.ProxyBypass;
    o.offline = cfg.workOffline;
    o.url = parts.scheme + "://" + (parts.host.find(':') != std::string::npos ? "[" + parts.host + "]" : parts.host) +
            ":" + std::to_string(parts.port) + parts.target;
    o.user = parts.user.empty() ? cfg.user : parts.user;
    o.password = parts.password.empty() ? cfg.password : parts.password;
    o.referrer = cfg.referrer;
    o.acceptTypes = cfg.acceptTypes;
    o.noCache = !cfg.useCache;
    o.noCookies = !cfg.acceptCookies;
    o.connectTimeoutMs = cfg.timeouts.ConnectTimeout;
    o.receiveTimeoutMs = cfg.timeouts.ReceiveTimeout;
    o.sendTimeoutMs = cfg.timeouts.SendTimeout;
    o.headers = BuildRequestHeaders(cfg.extraHeaders, cfg.range);
    bool post = cfg.method == 2 || (cfg.method == 0 && (!cfg.formData.empty() || cfg.upload));
    o.method = post ? "POST" : "GET";
    if (post) {
        if (cfg.upload) {
            o.body = *cfg.upload;
        } else {
            o.headers += "Content-Type: application/x-www-form-urlencoded\r\n";
            o.body = cfg.formData;
        }
    }
    o.chunkSize = cfg.bufferSize;
    if (post && cfg.upload && cfg.hasUpload)
        o.onChunkSent = [this, &thread](std::int64_t sent, std::int64_t total) {
            Notify(thread, [&](TupCustomHTTP& h) {
                if (h.OnUploadProgress)
                    h.OnUploadProgress(h, sent, total);
            });
        };
    if (cfg.onStatusText || cfg.onRedirected)
        o.onStatus = [this](unsigned code, const std::string& info) {
            std::lock_guard g(lock);
            if (aborted)
                return;
            if (cfg.onStatusText)
                cfg.onStatusText(*owner, code, HttpStatusText(code));
            if (code == platform::HTTP_STATUS_REDIRECT && cfg.onRedirected)
                cfg.onRedirected(*owner, info);
        };

    auto opened = platform::http().openRequest(o);
    if (!opened)
        return false;
    platform::HttpRequest* req = opened.get();
    {
        std::lock_guard g(lock);
        if (aborted)
            return false;
        request = std::move(opened);
    }

    bool tryAgain;
    do {
        tryAgain = false;
        if (!req->send())
            return false;
        r.status = req->status();
        if (r.status == 401 && cfg.hasCredentials) {
            std::string header;
            std::string realm = req->header("WWW-Authenticate", header) ? realmOf(header) : "";
            std::string user, password;
            if (!Notify(thread, [&](TupCustomHTTP& h) {
                    if (h.OnCredentialsRequired)
                        h.OnCredentialsRequired(h, realm, tryAgain);
                    user = h.HTTPUsername;
                    password = h.HTTPPassword;
                }))
                return false;
            req->setCredentials(user, password);
        }
        if (r.status == 407 && cfg.hasProxyAuth) {
            std::string user, password;
            if (!Notify(thread, [&](TupCustomHTTP& h) {
                    if (h.OnProxyAuthenticationRequest)
                        h.OnProxyAuthenticationRequest(h, user, password, tryAgain);
                }))
                return false;
            req->setProxyCredentials(user, password);
        }
    } while (tryAgain);

    std::string value;
    if (req->header("Content-Type", value))
        r.contentType = value;
    r.contentLength = req->header("Content-Length", value) ? numberOr0(value) : 0;

    if (cfg.hasHeaders) {
        r.rawHeaders = req->rawHeaders();
        auto text = [&](const char* name) { return req->header(name, value) ? value : std::string(); };
        r.contentLanguage = text("Content-Language");
        r.contentEncoding = text("Content-Encoding");
        r.location = text("Location");
        r.date = ParseHttpDate(text("Date"));
        r.lastModified = ParseHttpDate(text("Last-Modified"));
        r.expires = ParseHttpDate(text("Expires"));
        bool cont = true;
        if (!Notify(thread, [&](TupCustomHTTP& h) {
                if (h.OnHeadersReceived)
                    h.OnHeadersReceived(h, r.rawHeaders, r.contentType, r.contentLanguage, r.contentEncoding,
                                        r.location, r.contentLength, r.date, r.lastModified, r.expires, cont);
            }))
            return false;
        continueBody = cont;
    }
    return true;
}

void TupTransfer::Body(TupEventThread& thread) {
    r.status = -1;
    r.contentType.clear();
    std::size_t bufferSize = cfg.bufferSize;
    auto start = std::chrono::steady_clock::now();
    continueBody = true;

    std::string url = cfg.url;
    if (url.find("://") == std::string::npos)
        url = "http://" + url;
    platform::UrlParts parts;
    if (!platform::http().crackUrl(url, parts) || parts.scheme.size() >= 32 || parts.host.size() >= 256 ||
        parts.user.size() >= 128 || parts.password.size() >= 128 || parts.path.size() >= 2048 ||
        parts.extra.size() >= 2048)
        return;

    if (sameTextAscii(parts.scheme, "file")) {
        auto file = platform::files().openFile(localPathOf(parts.path));
        r.status = file ? 200 : 404;
        r.contentLength = file ? std::max<std::int64_t>(file->size(), 0) : 0;
        std::lock_guard g(lock);
        if (aborted)
            return;
        source = std::move(file);
    } else {
        if (!OpenHttp(thread, parts) || !continueBody)
            return;
    }

    // The body target.
    if (!cfg.destination.empty()) {
        platform::files().deleteFile(cfg.destination);
        std::uint32_t attributes = cfg.hide ? platform::FA_HIDDEN | platform::FA_TEMPORARY : 0;
        auto file = platform::files().createFile(cfg.destination, attributes);
        if (!file) {
            success = r.status == 200;
            return;
        }
        std::lock_guard g(lock);
        if (aborted)
            return;
        target = std::make_unique<TupFileBody>(std::move(file));
        fileTarget = true;
    } else {
        std::lock_guard g(lock);
        if (aborted)
            return;
        target = std::make_unique<TupMemoryBody>(kMemoryBodyLimit);
    }

    std::vector<char> buffer(bufferSize);
    platform::HttpRequest* req = request.get();
    bool cut = false; // the body did not arrive whole: a failed read, a full disk, the memory limit
    for (;;) {
        std::int64_t n;
        if (req) {
            n = req->read(buffer.data(), buffer.size());
        } else {
            std::lock_guard g(lock);
            n = source ? source->read(buffer.data(), buffer.size()) : -1;
        }
        if (n <= 0) {
            cut = n < 0;
            break;
        }
        {
            std::lock_guard g(lock);
            if (aborted)
                return;
            if (!target->Write(buffer.data(), static_cast<std::size_t>(n))) {
                cut = true;
                break;
            }
        }
        r.bytesTransferred += n;
        if (cfg.hasProgress) {
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
            r.statistics = ComputeTransferStatistics(r.bytesTransferred, r.contentLength, ms.count());
            TupBodyStream* body = target.get();
            if (!Notify(thread, [&](TupCustomHTTP& h) {
                    if (h.OnTransferProgress)
                        h.OnTransferProgress(h, r.contentType, body, r.statistics.TransferRate, r.statistics.Percent,
                                             r.statistics.SecondsLeft, r.statistics.SecondsElapsed,
                                             r.bytesTransferred, r.contentLength);
                }))
                return;
        }
    }
    // A ranged request is answered with 206 when the server honours the range.
    bool whole = r.status == 200 || (r.status == 206 && (cfg.range.StartRange || cfg.range.EndRange));
    success = whole && !cut && (r.contentLength == 0 || r.bytesTransferred == r.contentLength);
}

} // namespace detail

// ---------------------------------------------------------------------------------------
// The component

TupCustomHTTP::TupCustomHTTP() = default;

TupCustomHTTP::~TupCustomHTTP() {
    // Without notifications: nobody is left to hear them.
    for (auto& t : live_)
        t->Stop();
}

bool TupCustomHTTP::IsBusy() const { return current_ && current_->bodyRunning; }

bool TupCustomHTTP::BeginGet() {
    if (IsBusy())
        return false;
    auto t = std::make_shared<detail::TupTransfer>();
    t->owner = this;
    auto& c = t->cfg;
    c.url = RequestURL;
    c.destination = DestinationFile;
    c.hide = HideDestination;
    c.extraHeaders = ExtraHeaders;
    c.range = Range;
    c.timeouts = Timeouts;
    c.proxy = Proxy;
    c.bufferSize = static_cast<std::size_t>(std::max<TupBufferSize>(TransferBufferSize, 255));
    c.acceptTypes = AcceptTypes;
    c.userAgent = UserAgent;
    c.referrer = Referrer;
    c.formData = FormData;
    c.method = RequestMethod;
    c.useCache = UseCache;
    c.acceptCookies = AcceptCookies;
    c.workOffline = WorkOffline;
    c.user = HTTPUsername;
    c.password = HTTPPassword;
    c.upload = std::move(UploadStream);
    UploadStream.reset();
    c.hasHeaders = bool(OnHeadersReceived);
    c.hasProgress = bool(OnTransferProgress);
    c.hasUpload = bool(OnUploadProgress);
    c.hasCredentials = bool(OnCredentialsRequired);
    c.hasProxyAuth = bool(OnProxyAuthenticationRequest);
    c.onStatusText = OnStatusText;
    c.onRedirected = OnRedirected;

    auto worker = std::make_shared<TupEventThread>(ThreadPriority, [t](TupEventThread& thread) {
        try {
            t->Body(thread);
        } catch (...) {
            t->exception = true;
        }
        t->bodyRunning = false;
        if (t->aborted)
            return;
        try {
            thread.Synchronize([&] {
                if (!t->aborted)
                    t->owner->Complete(t);
            });
        } catch (...) {
            // The completion hands its handlers' errors to the toolkit itself.
        }
    });
    current_ = t;
    live_.push_back(t);
    try {
        worker->Start();
    } catch (...) {
        Forget(t.get());
        return false;
    }
    return true;
}

void TupCustomHTTP::Forget(const detail::TupTransfer* t) {
    live_.erase(std::remove_if(live_.begin(), live_.end(), [&](const auto& p) { return p.get() == t; }),
                live_.end());
    if (current_.get() == t)
        current_.reset();
}

void TupCustomHTTP::AbortTransfer() {
    // A completion under way finishes as it is: its handlers see their transfer end normally.
    std::shared_ptr<detail::TupTransfer> t = current_;
    if (!t || t->completing)
        return;
    Forget(t.get());
    t->Stop();
    if (OnTransferAborted)
        toolkit::dispatch([&] { OnTransferAborted(*this); });
}

void TupCustomHTTP::Complete(const std::shared_ptr<detail::TupTransfer>& t) {
    t->completing = true;
    std::unique_ptr<TupBodyStream> target;
    {
        std::lock_guard g(t->lock);
        t->request.reset();
        t->source.reset();
        target = std::move(t->target);
    }
    if (target)
        target->SetPosition(0);
    results_ = t->r;
    // The handlers may start the next transfer, or drop this one's place as the current.
    auto notify = [this](const auto& handler, auto... args) {
        if (handler)
            toolkit::dispatch([&] { handler(*this, args...); });
    };
    bool failed = false;
    if (t->continueBody) {
        if (t->exception) {
            failed = true;
            notify(OnTransferFailed);
        } else if (t->success && !target) {
            notify(OnTransferFailed);
            Forget(t.get());
            return;
        } else if (t->success) {
            TupBodyStream* body = target.get();
            if (t->fileTarget) {
                target.reset();
                body = nullptr;
            }
            notify(OnBodyReceived, t->r.contentType, body, t->r.bytesTransferred);
        } else {
            failed = true;
            notify(OnTransferFailed);
            if (t->r.status == -1)
                notify(OnNoResponse);
            else if (t->r.status != 200)
                notify(OnErrorStatus, t->r.status, target.get());
            else
                notify(OnBodyShort, t->r.contentType, target.get(), t->r.bytesTransferred, t->r.contentLength);
        }
    }
    target.reset();
    Forget(t.get());
    if (failed && t->fileTarget) {
        // Unless a transfer started since writes the same file: that one is its own.
        bool takenOver = std::any_of(live_.begin(), live_.end(), [&](const auto& other) {
            return sameTextAscii(other->cfg.destination, t->cfg.destination);
        });
        if (!takenOver)
            platform::files().deleteFile(t->cfg.destination);
    }
    if (!t->continueBody)
        notify(OnBodySkipped);
}

#include "platform/posix/curl_http.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform::posix {

namespace {

constexpr int kMaxRedirects = 20;

struct UrlHandle {
    CURLU* h = curl_url();
    ~UrlHandle() { curl_url_cleanup(h); }
    UrlHandle() = default;
    UrlHandle(const UrlHandle&) = delete;
    UrlHandle& operator=(const UrlHandle&) = delete;

    // The part, or `fallback` when the address has none.
    std::string part(CURLUPart which, unsigned flags, const std::string& fallback = "") const {
        char* text = nullptr;
        if (curl_url_get(h, which, &text, flags) != CURLUE_OK || !text)
            return fallback;
        std::string s = text;
        curl_free(text);
        return s;
    }
};

bool sameTextAscii(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
               return up(x) == up(y);
           });
}

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

class CurlRequest : public HttpRequest {
public:
    explicit CurlRequest(const HttpRequestOptions& o) : options_(o) {}
    ~CurlRequest() override {
        if (multi_ && easy_ && added_)
            curl_multi_remove_handle(multi_, easy_);
        if (easy_)
            curl_easy_cleanup(easy_);
        if (multi_)
            curl_multi_cleanup(multi_);
        curl_slist_free_all(headers_);
    }
    CurlRequest(const CurlRequest&) = delete;
    CurlRequest& operator=(const CurlRequest&) = delete;

    bool open() {
        easy_ = curl_easy_init();
        multi_ = curl_multi_init();
        if (!easy_ || !multi_)
            return false;
        const HttpRequestOptions& o = options_;
        bool ok = curl_easy_setopt(easy_, CURLOPT_URL, o.url.c_str()) == CURLE_OK;
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, long(kMaxRedirects));
        curl_easy_setopt(easy_, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
        if (!o.userAgent.empty())
            curl_easy_setopt(easy_, CURLOPT_USERAGENT, o.userAgent.c_str());
        if (o.access == HttpAccess::Direct) {
            curl_easy_setopt(easy_, CURLOPT_PROXY, "");
        } else if (o.access == HttpAccess::Proxy) {
            curl_easy_setopt(easy_, CURLOPT_PROXY, o.proxy.c_str());
            std::string bypass;
            for (char c : o.bypass)
                bypass += c == ';' ? ',' : c;
            curl_easy_setopt(easy_, CURLOPT_NOPROXY, bypass.c_str());
        } // preconfigured: the environment's proxy settings, as curl reads them
        if (!o.referrer.empty())
            curl_easy_setopt(easy_, CURLOPT_REFERER, o.referrer.c_str());
        if (!o.noCookies)
            curl_easy_setopt(easy_, CURLOPT_COOKIEFILE, ""); // in memory, for this transfer's redirects
        if (o.connectTimeoutMs)
            curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, long(o.connectTimeoutMs));
        if (!o.acceptTypes.empty())
            addHeader("Accept: " + o.acceptTypes);
        if (o.noCache) {
            addHeader("Pragma: no-cache");
            addHeader("Cache-Control: no-cache");
        }
        size_t start = 0;
        while (start < o.headers.size()) {
            size_t end = o.headers.find("\r\n", start);
            if (end == std::string::npos)
                end = o.headers.size();
            std::string line = o.headers.substr(start, end - start);
            if (!trim(line).empty())
                addHeader(line);
            start = end + 2;
        }
        if (headers_)
            curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
        if (o.method == "POST") {
            curl_easy_setopt(easy_, CURLOPT_POST, 1L);
            curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(o.body.size()));
            curl_easy_setopt(easy_, CURLOPT_READFUNCTION, &CurlRequest::onRead);
            curl_easy_setopt(easy_, CURLOPT_READDATA, this);
        } else {
            curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, o.method == "GET" ? nullptr : o.method.c_str());
            curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
        }
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlRequest::onHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlRequest::onWrite);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
        user_ = o.user;
        password_ = o.password;
        report(HTTP_STATUS_HANDLE_CREATED, "");
        return ok;
    }

    bool send() override {
        if (added_) {
            curl_multi_remove_handle(multi_, easy_);
            added_ = false;
        }
        block_.clear();
        final_.clear();
        status_ = -1;
        pending_.clear();
        pendingPos_ = 0;
        done_ = headersDone_ = false;
        redirects_ = 0;
        sent_ = 0;
        if (cancelled_ || options_.offline)
            return false;
        curl_easy_setopt(easy_, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC));
        curl_easy_setopt(easy_, CURLOPT_USERNAME, user_.empty() ? nullptr : user_.c_str());
        curl_easy_setopt(easy_, CURLOPT_PASSWORD, user_.empty() ? nullptr : password_.c_str());
        curl_easy_setopt(easy_, CURLOPT_PROXYUSERNAME, proxyUser_.empty() ? nullptr : proxyUser_.c_str());
        curl_easy_setopt(easy_, CURLOPT_PROXYPASSWORD, proxyUser_.empty() ? nullptr : proxyPassword_.c_str());
        if (curl_multi_add_handle(multi_, easy_) != CURLM_OK)
            return false;
        added_ = true;
        report(HTTP_STATUS_SENDING, "");
        activity_ = std::chrono::steady_clock::now();
        while (!headersDone_ && !done_ && !cancelled_)
            step();
        return headersDone_ && !cancelled_;
    }

    int status() override { return status_; }

    std::string rawHeaders() override {
        std::string s;
        for (auto& l : final_)
            s += l + "\r\n";
        return s;
    }

    bool header(const std::string& name, std::string& value) override {
        for (size_t i = 1; i < final_.size(); ++i) {
            size_t colon = final_[i].find(':');
            if (colon != std::string::npos && sameTextAscii(trim(final_[i].substr(0, colon)), name)) {
                value = trim(final_[i].substr(colon + 1));
                return true;
            }
        }
        return false;
    }

    void setCredentials(const std::string& user, const std::string& password) override {
        user_ = user;
        password_ = password;
    }
    void setProxyCredentials(const std::string& user, const std::string& password) override {
        proxyUser_ = user;
        proxyPassword_ = password;
    }

    // Fills the buffer unless the body ends first, so the body comes in chunks of the size
    // asked for whatever pieces the network delivers.
    std::int64_t read(void* into, std::size_t n) override {
        auto* out = static_cast<char*>(into);
        std::size_t got = 0;
        while (got < n && !cancelled_) {
            if (pendingPos_ < pending_.size()) {
                size_t k = std::min(n - got, pending_.size() - pendingPos_);
                std::memcpy(out + got, pending_.data() + pendingPos_, k);
                got += k;
                pendingPos_ += k;
                if (pendingPos_ == pending_.size()) {
                    pending_.clear();
                    pendingPos_ = 0;
                }
                continue;
            }
            if (done_ || !added_)
                break;
            step();
        }
        if (cancelled_)
            return -1;
        if (got)
            return static_cast<std::int64_t>(got);
        return added_ && done_ && result_ == CURLE_OK ? 0 : -1;
    }

    void cancel() override {
        cancelled_ = true;
        std::lock_guard lock(wakeMutex_);
        if (multi_)
            curl_multi_wakeup(multi_);
    }

private:
    void addHeader(const std::string& line) {
        if (curl_slist* l = curl_slist_append(headers_, line.c_str()))
            headers_ = l;
    }

    void report(unsigned status, const std::string& info) {
        if (options_.onStatus)
            options_.onStatus(status, info);
    }

    // One round of the transfer: let curl work, then wait for the sockets, a timeout or a cancel.
    void step() {
        int running = 0;
        curl_multi_perform(multi_, &running);
        int left = 0;
        while (CURLMsg* m = curl_multi_info_read(multi_, &left)) {
            if (m->msg == CURLMSG_DONE && m->easy_handle == easy_) {
                done_ = true;
                result_ = m->data.result;
                report(HTTP_STATUS_COMPLETE, "");
            }
        }
        if (done_ || cancelled_ || (headersDone_ && pendingPos_ < pending_.size()))
            return;
        unsigned limitMs = sent_ < static_cast<std::int64_t>(options_.body.size()) && options_.sendTimeoutMs
                               ? options_.sendTimeoutMs
                               : options_.receiveTimeoutMs;
        curl_multi_poll(multi_, nullptr, 0, limitMs ? std::min(limitMs, 1000u) : 1000, nullptr);
        if (limitMs && std::chrono::steady_clock::now() - activity_ > std::chrono::milliseconds(limitMs)) {
            done_ = true;
            result_ = CURLE_OPERATION_TIMEDOUT;
        }
    }

    // A header block ends with an empty line; the final one is not a 1xx answer and not a
    // redirect curl is about to follow.
    void headerLine(std::string line) {
        activity_ = std::chrono::steady_clock::now();
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line.compare(0, 5, "HTTP/") == 0) {
            block_.clear();
            blockStatus_ = 0;
            size_t sp = line.find(' ');
            if (sp != std::string::npos) {
                size_t e = line.find(' ', sp + 1);
                std::string code = line.substr(sp + 1, e == std::string::npos ? std::string::npos : e - sp - 1);
                if (!code.empty() && code.size() <= 3 &&
                    std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }))
                    blockStatus_ = std::stoi(code);
            }
        }
        if (!line.empty()) {
            block_.push_back(line);
            return;
        }
        if (blockStatus_ >= 100 && blockStatus_ < 200)
            return;
        std::string location;
        bool hasLocation = false;
        for (size_t i = 1; i < block_.size(); ++i) {
            size_t colon = block_[i].find(':');
            if (colon != std::string::npos && sameTextAscii(trim(block_[i].substr(0, colon)), "Location")) {
                location = trim(block_[i].substr(colon + 1));
                hasLocation = true;
                break;
            }
        }
        bool followed = hasLocation && redirects_ < kMaxRedirects &&
                        (blockStatus_ == 301 || blockStatus_ == 302 || blockStatus_ == 303 ||
                         blockStatus_ == 307 || blockStatus_ == 308);
        if (followed) {
            ++redirects_;
            char* current = nullptr;
            curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &current);
            UrlHandle u;
            if (current)
                curl_url_set(u.h, CURLUPART_URL, current, 0);
            curl_url_set(u.h, CURLUPART_URL, location.c_str(), 0);
            report(HTTP_STATUS_REDIRECT, u.part(CURLUPART_URL, 0, location));
            block_.clear();
            return;
        }
        final_ = block_;
        status_ = blockStatus_;
        headersDone_ = true;
        report(HTTP_STATUS_RECEIVED, "");
    }

    static size_t onHeader(char* data, size_t size, size_t n, void* self) {
        auto* r = static_cast<CurlRequest*>(self);
        if (r->cancelled_)
            return 0;
        r->headerLine(std::string(data, size * n));
        return size * n;
    }

    static size_t onWrite(char* data, size_t size, size_t n, void* self) {
        auto* r = static_cast<CurlRequest*>(self);
        if (r->cancelled_)
            return 0;
        r->activity_ = std::chrono::steady_clock::now();
        r->headersDone_ = true;
        r->pending_.append(data, size * n);
        return size * n;
    }

    static size_t onRead(char* into, size_t size, size_t n, void* self) {
        auto* r = static_cast<CurlRequest*>(self);
        if (r->cancelled_)
            return CURL_READFUNC_ABORT;
        const std::string& body = r->options_.body;
        size_t k = std::min({size * n, std::max<size_t>(r->options_.chunkSize, 1), body.size() - size_t(r->sent_)});
        std::memcpy(into, body.data() + r->sent_, k);
        r->sent_ += static_cast<std::int64_t>(k);
        r->activity_ = std::chrono::steady_clock::now();
        if (k && r->options_.onChunkSent)
            r->options_.onChunkSent(r->sent_, static_cast<std::int64_t>(body.size()));
        return k;
    }

    HttpRequestOptions options_;
    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    curl_slist* headers_ = nullptr;
    bool added_ = false;
    std::string user_, password_, proxyUser_, proxyPassword_;
    std::vector<std::string> block_, final_;
    int blockStatus_ = 0, status_ = -1, redirects_ = 0;
    std::string pending_;
    size_t pendingPos_ = 0;
    bool done_ = false, headersDone_ = false;
    CURLcode result_ = CURLE_OK;
    std::int64_t sent_ = 0;
    std::chrono::steady_clock::time_point activity_;
    std::atomic<bool> cancelled_{false};
    std::mutex wakeMutex_;
};

} // namespace

CurlHttp::CurlHttp() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool CurlHttp::crackUrl(const std::string& url, UrlParts& parts) {
    UrlHandle u;
    if (!u.h || curl_url_set(u.h, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return false;
    parts = UrlParts();
    parts.scheme = u.part(CURLUPART_SCHEME, 0);
    parts.host = u.part(CURLUPART_HOST, CURLU_URLDECODE);
    std::string port = u.part(CURLUPART_PORT, CURLU_DEFAULT_PORT);
    parts.port = port.empty() ? 0 : std::atoi(port.c_str());
    parts.user = u.part(CURLUPART_USER, CURLU_URLDECODE);
    parts.password = u.part(CURLUPART_PASSWORD, CURLU_URLDECODE);
    parts.path = u.part(CURLUPART_PATH, CURLU_URLDECODE, "/");
    std::string query = u.part(CURLUPART_QUERY, CURLU_URLDECODE);
    parts.extra = query.empty() ? "" : "?" + query;
    std::string rawQuery = u.part(CURLUPART_QUERY, 0);
    parts.target = u.part(CURLUPART_PATH, 0, "/") + (rawQuery.empty() ? "" : "?" + rawQuery);
    return !parts.scheme.empty();
}

std::unique_ptr<HttpRequest> CurlHttp::openRequest(const HttpRequestOptions& options) {
    auto r = std::make_unique<CurlRequest>(options);
    if (!r->open())
        return nullptr;
    return r;
}

} // namespace platform::posix

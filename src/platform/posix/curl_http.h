#pragma once
#include "platform/http.h"

namespace platform::posix {

// HTTP through libcurl. Each request drives its own multi handle from the thread that reads
// it, so a cancel from another thread wakes a blocked wait at once.
class CurlHttp : public Http {
public:
    CurlHttp();
    bool crackUrl(const std::string& url, UrlParts& parts) override;
    std::unique_ptr<HttpRequest> openRequest(const HttpRequestOptions& options) override;
};

} // namespace platform::posix

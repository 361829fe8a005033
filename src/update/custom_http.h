#pragma once
// A component that fetches one address at a time over HTTP (or a local file for "file"
// addresses) on a worker thread and reports every stage to its owner on the main thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "update/body_stream.h"
#include "update/custom_thread.h"
#include "update/login_component.h"

using TDateTime = double;

enum TupHTTPAccessType { atPreconfig, atDirect, atUseProxy };

class TupHTTPProxy {
public:
    TupHTTPAccessType AccessType = atPreconfig;
    std::string ProxyServer;
    std::int32_t ProxyPort = 8080;
    std::string ProxyBypass = "127.0.0.1;";
};

class TupHTTPRange {
public:
    std::int32_t StartRange = 0;
    std::int32_t EndRange = 0;
};

class TupHTTPTimeouts {
public:
    std::uint32_t ConnectTimeout = 0;
    std::uint32_t ReceiveTimeout = 0;
    std::uint32_t SendTimeout = 0;
};

// 255 to 2147483647; smaller values are read as 255.
using TupBufferSize = std::int32_t;

struct TupTransferStatistics {
    float TransferRate = 0;       // kilobytes per second
    std::uint8_t Percent = 0;     // of the announced length; 0 when none was announced
    std::int64_t SecondsLeft = 0; // 0 when no length was announced
    std::int64_t SecondsElapsed = 0;
};

// The statistics after a chunk, rounding halves to even.
TupTransferStatistics ComputeTransferStatistics(std::int64_t bytesTransferred, std::int64_t contentLength,
                                                std::int64_t elapsedMs);
// The text of a connection state ("Resolving name", ..., "Unknown status").
std::string HttpStatusText(unsigned code);
// The header lines added to a request: every extra line, then the range line when a range
// is set; each ended by CR LF.
std::string BuildRequestHeaders(const std::vector<std::string>& extraHeaders, const TupHTTPRange& range);

// The largest body kept in memory: the update information file is far smaller.
constexpr std::size_t kMemoryBodyLimit = 4 * 1024 * 1024;

namespace detail {
struct TupTransfer;
}

class TupCustomHTTP : public TupLoginComponent {
public:
    TupCustomHTTP();
    ~TupCustomHTTP() override;
    TupCustomHTTP(const TupCustomHTTP&) = delete;
    TupCustomHTTP& operator=(const TupCustomHTTP&) = delete;

    std::string RequestURL;
    std::string DestinationFile;
    bool HideDestination = false;
    std::vector<std::string> ExtraHeaders;
    TupHTTPRange Range;
    TupHTTPTimeouts Timeouts;
    TupHTTPProxy Proxy;
    TupBufferSize TransferBufferSize = 4096;
    TThreadPriority ThreadPriority = tpNormal;
    std::string AcceptTypes = "text/html, */*";
    std::string UserAgent = "QuorCleaner/2008.8.1";
    std::string Referrer;
    std::string FormData;
    int RequestMethod = 0; // 1: GET; 2: POST; 0: POST when there is form data or an upload
    bool UseCache = true;
    bool AcceptCookies = true;
    bool WorkOffline = false;
    // A body to POST with the next transfer, sent in chunks of the buffer size.
    std::optional<std::string> UploadStream;

    // Handlers assigned before BeginGet take part in that transfer.
    std::function<void(TupCustomHTTP& Sender, const std::string& RawHeaders, const std::string& ContentType,
                       const std::string& ContentLanguage, const std::string& ContentEncoding,
                       const std::string& Location, std::int64_t ContentLength, TDateTime Date,
                       TDateTime LastModified, TDateTime Expires, bool& Continue)>
        OnHeadersReceived;
    std::function<void(TupCustomHTTP& Sender, const std::string& ContentType, TupBodyStream* Body,
                       float TransferRate, std::uint8_t Percent, std::int64_t SecondsLeft,
                       std::int64_t SecondsElapsed, std::int64_t BytesTransferred, std::int64_t ContentLength)>
        OnTransferProgress;
    std::function<void(TupCustomHTTP& Sender, std::int64_t BytesSent, std::int64_t Total)> OnUploadProgress;
    // Body is nullptr for a destination file, which is closed by then.
    std::function<void(TupCustomHTTP& Sender, const std::string& ContentType, TupBodyStream* Body,
                       std::int64_t BytesTransferred)>
        OnBodyReceived;
    std::function<void(TupCustomHTTP& Sender)> OnBodySkipped;
    std::function<void(TupCustomHTTP& Sender)> OnTransferFailed;
    std::function<void(TupCustomHTTP& Sender)> OnNoResponse;
    std::function<void(TupCustomHTTP& Sender, int StatusCode, TupBodyStream* Body)> OnErrorStatus;
    std::function<void(TupCustomHTTP& Sender, const std::string& ContentType, TupBodyStream* Body,
                       std::int64_t BytesTransferred, std::int64_t ContentLength)>
        OnBodyShort;
    std::function<void(TupCustomHTTP& Sender, const std::string& Realm, bool& TryAgain)> OnCredentialsRequired;
    std::function<void(TupCustomHTTP& Sender, std::string& ProxyUsername, std::string& ProxyPassword,
                       bool& TryAgain)>
        OnProxyAuthenticationRequest;
    std::function<void(TupCustomHTTP& Sender)> OnTransferAborted;
    // These two run on the worker thread, straight from the connection; they must not wait
    // for the main thread.
    std::function<void(TupCustomHTTP& Sender, unsigned StatusCode, const std::string& Text)> OnStatusText;
    std::function<void(TupCustomHTTP& Sender, const std::string& NewURL)> OnRedirected;

    // Starts a transfer of RequestURL on a fresh worker; false while one is running.
    bool BeginGet();
    // True while a worker runs a transfer body.
    bool IsBusy() const;
    // Stops the running transfer at once: its connection is cancelled, its buffer and body
    // stream released, a destination file closed (not deleted); then OnTransferAborted.
    void AbortTransfer();

    // Results of the last transfer, as of its latest notification.
    int StatusCode() const { return results_.status; }
    const std::string& ContentType() const { return results_.contentType; }
    const std::string& ContentLanguage() const { return results_.contentLanguage; }
    const std::string& ContentEncoding() const { return results_.contentEncoding; }
    const std::string& Location() const { return results_.location; }
    const std::string& RawHeaders() const { return results_.rawHeaders; }
    TDateTime Date() const { return results_.date; }
    TDateTime LastModified() const { return results_.lastModified; }
    TDateTime Expires() const { return results_.expires; }
    std::int64_t ContentLength() const { return results_.contentLength; }
    std::int64_t BytesTransferred() const { return results_.bytesTransferred; }
    const TupTransferStatistics& Statistics() const { return results_.statistics; }

    struct Results {
        int status = -1;
        std::string contentType, contentLanguage, contentEncoding, location, rawHeaders;
        TDateTime date = 0, lastModified = 0, expires = 0;
        std::int64_t contentLength = 0, bytesTransferred = 0;
        TupTransferStatistics statistics;
    };

private:
    friend struct detail::TupTransfer;
    void Complete(const std::shared_ptr<detail::TupTransfer>& t);
    void Forget(const detail::TupTransfer* t);

    Results results_;
    std::shared_ptr<detail::TupTransfer> current_;
    // Transfers whose completion has not run yet (the current one and any it followed).
    std::vector<std::shared_ptr<detail::TupTransfer>> live_;
};

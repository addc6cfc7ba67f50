#include "platform/posix/CurlHttpFetch.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

namespace tz {

namespace {

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<std::string> urlPart(CURLU* url, CURLUPart part) {
    char* value = nullptr;
    if (curl_url_get(url, part, &value, 0) != CURLUE_OK || value == nullptr) {
        return std::nullopt;
    }
    std::string copy = value;
    curl_free(value);
    return lowerCase(std::move(copy));
}

enum class Transport { Refused, Https, LoopbackHttp };

// Decided from the parsed address alone, before anything touches the network.
Transport transportFor(CURLU* url) {
    const auto scheme = urlPart(url, CURLUPART_SCHEME);
    const auto host = urlPart(url, CURLUPART_HOST);
    if (!scheme || !host || host->empty()) {
        return Transport::Refused;
    }
    if (*scheme == "https") {
        return Transport::Https;
    }
    const bool loopback =
        *host == "127.0.0.1" || *host == "localhost" || *host == "[::1]" || *host == "::1";
    return *scheme == "http" && loopback ? Transport::LoopbackHttp : Transport::Refused;
}

struct Body {
    std::string bytes;
    std::size_t cap = 0;
};

// Stops the transfer (by taking nothing) as soon as the body passes its cap.
std::size_t collectBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& body = *static_cast<Body*>(user);
    const std::size_t bytes = size * count;
    if (bytes > body.cap - body.bytes.size()) {
        return 0;
    }
    body.bytes.append(data, bytes);
    return bytes;
}

struct Response {
    std::string body;
    std::string redirectTo;  // empty unless the server sent us elsewhere
};

std::optional<Response> request(CURLU* url, Transport transport, const std::string& agent,
                                std::chrono::milliseconds timeLeft, std::size_t bodyCap) {
    EasyHandle easy(curl_easy_init());
    HeaderList headers(curl_slist_append(nullptr, "Cache-Control: no-cache"));
    if (!easy || !headers || !curl_slist_append(headers.get(), "Pragma: no-cache")) {
        return std::nullopt;
    }
    Body body{{}, bodyCap};
    const long millis = static_cast<long>(timeLeft.count());
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_CURLU, url);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);  // each hop is checked here
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, millis);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, millis);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(e, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(bodyCap));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &body);
    if (transport == Transport::LoopbackHttp) {
        // No proxy could reach this machine's own loopback.
        curl_easy_setopt(e, CURLOPT_NOPROXY, "*");
    }
    if (curl_easy_perform(e) != CURLE_OK) {
        return std::nullopt;
    }
    Response response{std::move(body.bytes), {}};
    long status = 0;
    char* location = nullptr;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 300 && status < 400 &&
        curl_easy_getinfo(e, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location) {
        response.redirectTo = location;
    }
    return response;
}

}  // namespace

CurlHttpFetch::CurlHttpFetch(std::chrono::milliseconds timeBound, std::size_t bodyCap)
    : timeBound_(timeBound), bodyCap_(bodyCap) {}

std::string CurlHttpFetch::fetch(const std::string& url, const std::string& agent) {
    initialiseCurlOnce();
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeBound_;
    std::string address = url;
    bool reachedHttps = false;
    for (int hop = 0; hop <= kMaxRedirects; ++hop) {
        UrlHandle parsed(curl_url());
        if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, address.c_str(), 0) != CURLUE_OK) {
            return {};
        }
        const Transport transport = transportFor(parsed.get());
        if (transport == Transport::Refused ||
            (reachedHttps && transport == Transport::LoopbackHttp)) {
            return {};
        }
        reachedHttps = reachedHttps || transport == Transport::Https;
        const auto timeLeft =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (timeLeft.count() <= 0) {
            return {};
        }
        auto response = request(parsed.get(), transport, agent, timeLeft, bodyCap_);
        if (!response) {
            return {};
        }
        if (response->redirectTo.empty()) {
            return std::move(response->body);
        }
        address = std::move(response->redirectTo);
    }
    return {};  // too many redirects
}

}  // namespace tz

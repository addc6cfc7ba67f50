#pragma once
#include <chrono>
#include <cstddef>
#include <string>

#include "platform/HttpFetch.h"

namespace tz {

// GET over HTTPS with libcurl: the system's proxy settings (the usual proxy
// environment variables), never from a cache, certificates always verified, at
// most five redirects. Plain HTTP is allowed only to the loopback host, and a
// redirect never leaves HTTPS for it. The whole fetch, redirects included, is
// bounded in time, and a body longer than the cap is dropped: both give "".
// A server's error page is returned like any body.
class CurlHttpFetch : public HttpFetch {
  public:
    static constexpr int kMaxRedirects = 5;

    explicit CurlHttpFetch(std::chrono::milliseconds timeBound = std::chrono::seconds(5),
                           std::size_t bodyCap = 4096);

    std::string fetch(const std::string& url, const std::string& agent) override;

  private:
    std::chrono::milliseconds timeBound_;
    std::size_t bodyCap_;
};

}  // namespace tz

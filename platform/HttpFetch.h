#pragma once
#include <string>

namespace tz {

// Fetches one web address with a GET request.
class HttpFetch {
  public:
    virtual ~HttpFetch() = default;
    // The whole body of the response, or "" on any failure.
    virtual std::string fetch(const std::string& url, const std::string& agent) = 0;
};

}  // namespace tz

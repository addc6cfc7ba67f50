#pragma once
#include <chrono>
#include <cstddef>
#include <string>

#include "platform/HttpFetch.h"

namespace tz {

// Fetches through a short-lived helper program (`tindro-zevad-fetch <url>
// <agent>`, which prints the body and exits 0), so the web and TLS libraries
// are loaded only while a fetch runs and never stay in the resident program.
// A helper that is missing, fails, prints more than the cap or outlives the
// time bound gives "" (and is killed).
class FetchHelperProcess : public HttpFetch {
  public:
    explicit FetchHelperProcess(std::string helperPath,
                                std::chrono::milliseconds timeBound = std::chrono::seconds(6),
                                std::size_t bodyCap = 4096);

    std::string fetch(const std::string& url, const std::string& agent) override;

  private:
    std::string helperPath_;
    std::chrono::milliseconds timeBound_;
    std::size_t bodyCap_;
};

}  // namespace tz

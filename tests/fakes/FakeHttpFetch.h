#pragma once
// A web fetch that answers from a table and records every request, for tests.
#include <map>
#include <string>
#include <vector>

#include "platform/HttpFetch.h"

namespace tz::fake {

class FakeHttpFetch : public HttpFetch {
  public:
    struct Request {
        std::string url;
        std::string agent;
    };

    std::string fetch(const std::string& url, const std::string& agent) override {
        requests.push_back({url, agent});
        const auto found = bodies.find(url);
        return found == bodies.end() ? std::string() : found->second;
    }

    // Body served for each address; any other address fails ("").
    std::map<std::string, std::string> bodies;
    std::vector<Request> requests;
};

}  // namespace tz::fake

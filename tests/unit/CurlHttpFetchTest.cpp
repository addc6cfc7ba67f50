#include "platform/posix/CurlHttpFetch.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "tests/unit/LoopbackHttpServer.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

using test::LoopbackHttpServer;
using namespace std::chrono_literals;

std::string ok(const std::string& body) {
    return LoopbackHttpServer::response("200 OK", body);
}

// Sends every proxied request to `server` for the length of a test, so a
// request that should never have left could only reach this machine, and is
// counted there.
class ProxyThrough {
  public:
    explicit ProxyThrough(const LoopbackHttpServer& server) {
        for (const char* name :
             {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "NO_PROXY"}) {
            const char* old = ::getenv(name);
            saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            ::unsetenv(name);
        }
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy"}) {
            ::setenv(name, server.url("").c_str(), 1);
        }
    }
    ~ProxyThrough() {
        for (const auto& [name, value] : saved_) {
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        }
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(CurlHttpFetch, ReturnsAnyBodyAndAsksForAFreshCopy) {
    LoopbackHttpServer server([](const std::string& request) {
        const bool fresh = request.find("\r\nCache-Control: no-cache\r\n") != std::string::npos &&
                           request.find("\r\nPragma: no-cache\r\n") != std::string::npos &&
                           request.find("\r\nUser-Agent: Agent/1\r\n") != std::string::npos;
        if (request.rfind("GET /missing ", 0) == 0) {
            return LoopbackHttpServer::response("404 Not Found", "no such file");
        }
        return ok(fresh ? "001009000" : "stale request");
    });
    CurlHttpFetch http(2s);
    EXPECT_EQ(http.fetch(server.url("/ver_tindromouse.txt"), "Agent/1"), "001009000");
    // An error page is read like any body.
    EXPECT_EQ(http.fetch(server.url("/missing"), "Agent/1"), "no such file");
}

TEST(CurlHttpFetch, AServerThatNeverAnswersGivesNothing) {
    LoopbackHttpServer server([](const std::string&) { return std::nullopt; });
    EXPECT_EQ(CurlHttpFetch(1s).fetch(server.url(), "a"), "");
}

TEST(CurlHttpFetch, ABodyPastTheCapGivesNothing) {
    const std::string megabyte(1 << 20, '0');
    const std::string head = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n";
    // Announced by its length, or sent until the connection closes.
    LoopbackHttpServer announced([&](const std::string&) { return ok(megabyte); });
    LoopbackHttpServer streamed([&](const std::string&) { return head + megabyte; });
    LoopbackHttpServer tenBytes([&](const std::string&) { return head + "0123456789"; });
    EXPECT_EQ(CurlHttpFetch(2s).fetch(announced.url(), "a"), "");
    EXPECT_EQ(CurlHttpFetch(2s).fetch(streamed.url(), "a"), "");
    EXPECT_EQ(CurlHttpFetch(2s, 10).fetch(tenBytes.url(), "a"), "0123456789");
    EXPECT_EQ(CurlHttpFetch(2s, 9).fetch(tenBytes.url(), "a"), "");
}

TEST(CurlHttpFetch, RefusesAnythingButHttpsOrLoopbackHttpBeforeConnecting) {
    LoopbackHttpServer proxy([](const std::string&) { return ok("001009000"); });
    ProxyThrough through(proxy);
    test::TestDirectory dir;
    dir.write("ver.txt", "001009000");
    CurlHttpFetch http(1s);
    for (const std::string& url : std::vector<std::string>{
             "http://192.0.2.1/ver_tindromouse.txt", "http://localhost@192.0.2.1/",
             "http://127.0.0.1.example/", "ftp://127.0.0.1/ver.txt",
             "file://" + dir.file("ver.txt"), "not an address"}) {
        EXPECT_EQ(http.fetch(url, "a"), "") << url;
    }
    EXPECT_EQ(proxy.connections(), 0);
}

TEST(CurlHttpFetch, FollowsAtMostFiveRedirectsEachCheckedLikeTheFirst) {
    LoopbackHttpServer server([](const std::string& request) {
        const auto redirect = [](const std::string& to) {
            return LoopbackHttpServer::response("302 Found", "", "Location: " + to + "\r\n");
        };
        if (request.rfind("GET /moved ", 0) == 0) {
            return redirect("/ver");
        }
        if (request.rfind("GET /loop ", 0) == 0) {
            return redirect("/loop");
        }
        if (request.rfind("GET /away ", 0) == 0) {
            return redirect("http://192.0.2.1/ver");
        }
        return ok("001009000");
    });
    ProxyThrough through(server);  // a followed redirect to 192.0.2.1 would land here
    CurlHttpFetch http(2s);
    EXPECT_EQ(http.fetch(server.url("/moved"), "a"), "001009000");
    EXPECT_EQ(server.connections(), 2);
    EXPECT_EQ(http.fetch(server.url("/loop"), "a"), "");
    EXPECT_EQ(server.connections(), 2 + 1 + CurlHttpFetch::kMaxRedirects);
    EXPECT_EQ(http.fetch(server.url("/away"), "a"), "");
    EXPECT_EQ(server.connections(), 2 + 1 + CurlHttpFetch::kMaxRedirects + 1);
}

}  // namespace
}  // namespace tz

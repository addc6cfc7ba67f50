// Platform services: the update check's fetch (libcurl in the helper program, and the helper
// process the resident program runs) and the instance lock.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>

#include "platform/posix/CurlHttpFetch.h"
#include "platform/posix/FetchHelperProcess.h"
#include "platform/posix/RuntimeDirLock.h"
#include "tests/unit/LoopbackHttpServer.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

using namespace std::chrono_literals;
using test::LoopbackHttpServer;

// A reply that closes the connection. Without a Content-Length among the header lines in `head`,
// the body runs until the connection closes.
std::string reply(const std::string& status, const std::string& body, std::string head = "") {
    head = head.empty() ? "Content-Length: " + std::to_string(body.size()) : head;
    return "HTTP/1.1 " + status + "\r\nConnection: close\r\n" + head + "\r\n\r\n" + body;
}

std::string serve(const std::string& request) {
    const auto path = [&](const std::string& p) { return request.rfind("GET " + p + " ", 0) == 0; };
    const bool fresh = request.find("\r\nCache-Control: no-cache\r\n") != std::string::npos &&
                       request.find("\r\nPragma: no-cache\r\n") != std::string::npos &&
                       request.find("\r\nUser-Agent: Agent/1\r\n") != std::string::npos;
    const std::string unsized = "Content-Type: text/plain";
    return path("/ver")         ? reply("200 OK", fresh ? "001009000" : "stale request")
           : path("/missing")   ? reply("404 Not Found", "no such file")
           : path("/announced") ? reply("200 OK", std::string(1 << 20, '0'))
           : path("/ten")       ? reply("200 OK", "0123456789", unsized)
           : path("/moved")     ? reply("302 Found", "", "Location: /ver")
           : path("/loop")      ? reply("302 Found", "", "Location: /loop")
           : path("/away")      ? reply("302 Found", "", "Location: http://192.0.2.1/ver")
                                : reply("200 OK", "proxied");
}

TEST(CurlHttpFetch, GetsAFreshBodyOnlyOverHttpsOrLoopbackHttpWithinItsBounds) {
    LoopbackHttpServer server(serve);
    // Every proxied request goes to the server, where it would be counted (no other test of this
    // program fetches through a proxy).
    for (const char* name : {"http_proxy", "https_proxy", "all_proxy"})
        ::setenv(name, server.url.c_str(), 1);
    ::unsetenv("no_proxy");
    ::unsetenv("NO_PROXY");
    test::TestDirectory dir;
    dir.write("ver.txt", "001009000");
    // Address, body cap, body, connections the fetch makes (1 + the redirects it follows, none when
    // it refuses the address before connecting).
    const std::tuple<std::string, std::size_t, std::string, int> cases[] = {
        {server.url + "/ver", 4096, "001009000", 1},
        {server.url + "/missing", 4096, "no such file", 1},  // an error page is a body
        {server.url + "/announced", 4096, "", 1},
        {server.url + "/ten", 10, "0123456789", 1},
        {server.url + "/ten", 9, "", 1},
        {server.url + "/moved", 4096, "001009000", 2},
        {server.url + "/loop", 4096, "", 1 + CurlHttpFetch::kMaxRedirects},
        {server.url + "/away", 4096, "", 1},  // each redirect is checked like the first
        {"http://192.0.2.1/ver_tindromouse.txt", 4096, "", 0},
        {"http://localhost@192.0.2.1/", 4096, "", 0},
        {"http://127.0.0.1.example/", 4096, "", 0},
        {"ftp://127.0.0.1/ver.txt", 4096, "", 0},
        {"file://" + dir.file("ver.txt"), 4096, "", 0},
        {"not an address", 4096, "", 0},
    };
    for (const auto& [url, cap, body, connections] : cases) {
        const int before = server.connections;
        EXPECT_EQ(CurlHttpFetch(2s, cap).fetch(url, "Agent/1"), body) << url;
        EXPECT_EQ(server.connections - before, connections) << url;
    }
    EXPECT_EQ(CurlHttpFetch(300ms).fetch(LoopbackHttpServer().url, "a"), "") << "no answer";
}

TEST(FetchHelperProcess, GivesTheBodyOnlyFromAHelperThatSucceedsWithinItsBounds) {
    test::TestDirectory dir;
    const auto fetchWith = [&dir](const char* script) {
        dir.write("helper", std::string("#!/bin/sh\n") + script + "\n");
        ::chmod(dir.file("helper").c_str(), 0700);
        return FetchHelperProcess(dir.file("helper"), 500ms, 24)
            .fetch("https://x/v.txt", "Agent 1");
    };
    // The arguments; exactly the cap; one byte more; a failure; a helper that never ends, with its
    // output open or closed.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(
        test::each(fetchWith, {"printf '%s|%s' \"$1\" \"$2\"", "printf '0123456789abcdefghijklmn'",
                               "printf '0123456789abcdefghijklmno'", "printf 1; exit 1",
                               "printf 1; exec sleep 30", "exec sleep 30 >&-"}),
        (std::vector<std::string>{"https://x/v.txt|Agent 1", "0123456789abcdefghijklmn", "", "", "",
                                  ""}));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s) << "a helper was waited for";
    EXPECT_EQ(FetchHelperProcess(dir.file("none"), 500ms, 24).fetch("https://x/v.txt", "a"), "");
}

TEST(RuntimeDirLock, OneInstancePerDisplayWhileTheFirstLivesEvenInAPlantedOrUnusableFolder) {
    test::TestDirectory dir;
    std::string own = dir.file("own");
    {
        RuntimeDirLock first(dir.path(), own, ":0");
        ASSERT_TRUE(first.acquire());
        const auto acquired = [&](const char* display) {
            return RuntimeDirLock(dir.path(), own, display).acquire();
        };
        EXPECT_EQ(test::each(acquired, {":0", ":0.1", "unix:0.0", ":1", "otherhost:0"}),
                  (std::vector<bool>{false, false, false, true, true}));
    }
    EXPECT_TRUE(RuntimeDirLock(dir.path(), own, ":0").acquire());
    // A runtime folder that is missing or open to others is passed over for the user's own folder,
    // where whatever others planted cannot reach: the first instance starts, the second is refused,
    // and no planted link is followed.
    const std::string shared = dir.file("shared");
    std::filesystem::create_directory(shared);
    std::filesystem::permissions(shared, std::filesystem::perms::all);
    for (const std::string& name : {std::string("tindro-zevad-:0.lock"),
                                    "tindro-zevad-" + std::to_string(::getuid()) + ".lock"})
        std::filesystem::create_symlink(dir.file("target"), shared + "/" + name);
    own = dir.file("cache/tindro-zevad");
    for (const std::string& runtime : {std::string(), dir.file("missing"), shared}) {
        RuntimeDirLock first(runtime, own, ":0");
        ASSERT_TRUE(first.acquire()) << runtime;
        EXPECT_FALSE(RuntimeDirLock(runtime, own, ":0").acquire()) << runtime;
        EXPECT_FALSE(RuntimeDirLock(shared, own, ":0").acquire()) << runtime;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("target")));
    EXPECT_EQ(std::filesystem::status(own).permissions(), std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace tz

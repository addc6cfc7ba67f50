#include "platform/posix/FetchHelperProcess.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "TestDirectory.h"

namespace tz {
namespace {

using namespace std::chrono_literals;

// Stand-ins for the fetch helper: what they do decides what the program gets.
TEST(FetchHelperProcess, GivesTheBodyOnlyFromAHelperThatSucceedsWithinItsBounds) {
    struct Case {
        const char* name;
        const char* script;
        std::string expected;
    };
    const Case cases[] = {
        {"body and the arguments", "printf '%s|%s' \"$1\" \"$2\"", "https://x/v.txt|Agent 1"},
        {"exactly the cap", "printf '0123456789abcdefghijklmn'", "0123456789abcdefghijklmn"},
        {"over the cap", "printf '0123456789abcdefghijklmno'", ""},
        {"failure status", "printf '001009000'; exit 1", ""},
        {"never ends", "printf '001009000'; exec sleep 30", ""},
        {"never ends, closing its output", "exec sleep 30 >&-", ""},
    };
    test::TestDirectory dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("helper", std::string("#!/bin/sh\n") + c.script + "\n");
        chmod(dir.file("helper").c_str(), 0700);
        FetchHelperProcess http(dir.file("helper"), 500ms, 24);
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(http.fetch("https://x/v.txt", "Agent 1"), c.expected);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 5s) << "the helper was waited for";
    }
    FetchHelperProcess missing(dir.file("no-such-helper"), 500ms, 24);
    EXPECT_EQ(missing.fetch("https://x/v.txt", "Agent 1"), "");
}

}  // namespace
}  // namespace tz

// tindro-zevad-fetch <url> <agent>: prints the body of one bounded HTTPS GET
// and exits 0, or exits 1 with nothing printed. The program runs it for its
// update check so that libcurl and TLS never stay loaded in the program.
#include <cstdio>

#include "platform/posix/CurlHttpFetch.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tindro-zevad-fetch URL AGENT\n");
        return 2;
    }
    tz::CurlHttpFetch http;
    const std::string body = http.fetch(argv[1], argv[2]);
    if (body.empty()) {
        return 1;
    }
    return std::fwrite(body.data(), 1, body.size(), stdout) == body.size() &&
                   std::fflush(stdout) == 0
               ? 0
               : 1;
}

#include "harness/VersionServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "harness/Wait.h"

namespace tz::e2e {

namespace {

// Read by the end-to-end build of the program, beside its executable.
constexpr const char* kUrlFileName = "test-version-url.txt";

}  // namespace

VersionServer::VersionServer(std::filesystem::path programFolder, Behaviour behaviour,
                             std::string body, std::size_t floodBytes)
    : urlFile_(std::move(programFolder) / kUrlFileName),
      behaviour_(behaviour),
      body_(std::move(body)),
      floodBytes_(floodBytes) {
    // A free loopback port chosen by the kernel.
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listenFd_, 8) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        const std::string why = std::strerror(errno);
        close(listenFd_);
        throw std::runtime_error("VersionServer: cannot listen on 127.0.0.1: " + why);
    }
    port_ = ntohs(address.sin_port);
    std::ofstream(urlFile_) << "http://127.0.0.1:" << port_ << "/ver_tindromouse.txt\n";
    thread_ = std::thread([this] { serve(); });
}

VersionServer::~VersionServer() {
    stopping_ = true;
    thread_.join();
    close(listenFd_);
    std::error_code ec;
    std::filesystem::remove(urlFile_, ec);
}

bool VersionServer::waitForRequests(int count, std::chrono::milliseconds timeout) const {
    return waitUntil([&] { return requests() >= count; }, timeout);
}

void VersionServer::serve() {
    std::vector<int> held;  // connections left unanswered on purpose
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) {
            continue;
        }
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        handle(fd);
        if (behaviour_ == Behaviour::Silent) {
            held.push_back(fd);
        } else {
            close(fd);
        }
    }
    for (const int fd : held) {
        close(fd);
    }
}

void VersionServer::handle(int fd) {
    // The request header, up to its empty line.
    std::string request;
    while (request.find("\r\n\r\n") == std::string::npos) {
        if (!ready(fd, POLLIN)) {
            return;
        }
        char buffer[1024];
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            return;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
    ++requests_;

    switch (behaviour_) {
        case Behaviour::Silent:
            return;
        case Behaviour::Answer: {
            const std::string response =
                "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_;
            sendAll(fd, response.data(), response.size());
            shutdown(fd, SHUT_WR);
            return;
        }
        case Behaviour::Flood: {
            // No length: the body ends only when the connection does.
            const std::string header =
                "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n";
            if (!sendAll(fd, header.data(), header.size())) {
                return;
            }
            bytesSent_ = 0;
            const std::string start = body_.substr(0, floodBytes_);
            if (!sendAll(fd, start.data(), start.size())) {
                return;
            }
            const std::string filler(64 * 1024, '0');
            while (bytesSent_ < floodBytes_) {
                const std::size_t size = std::min(filler.size(), floodBytes_ - bytesSent_);
                if (!sendAll(fd, filler.data(), size)) {
                    return;
                }
            }
            shutdown(fd, SHUT_WR);
            return;
        }
    }
}

bool VersionServer::sendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        if (!ready(fd, POLLOUT)) {
            return false;
        }
        const ssize_t n = send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            peerLeftEarly_ = true;  // EPIPE, ECONNRESET: the peer is gone
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        bytesSent_ += static_cast<std::size_t>(n);
    }
    return true;
}

// Waits, a little at a time, until `fd` is ready or 10 s pass or the server stops.
bool VersionServer::ready(int fd, short events) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, events, 0};
        if (poll(&p, 1, 50) > 0) {
            return true;
        }
    }
    return false;
}

}  // namespace tz::e2e

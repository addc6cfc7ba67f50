#include "harness/VersionServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "harness/Wait.h"

namespace tz::e2e {

namespace {

constexpr int kRequestTimeoutMs = 10000;
// Read by the end-to-end build of the program, beside its executable.
constexpr const char* kUrlFileName = "test-version-url.txt";

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("VersionServer: " + what + ": " + std::strerror(errno));
}

// A listening socket on a free loopback port chosen by the kernel.
int listenOnFreePort(int& port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        fail("socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = 0;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 8) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        fail("cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

VersionServer::VersionServer(std::filesystem::path programFolder, Behaviour behaviour,
                             std::string body, std::size_t floodBytes)
    : urlFile_(std::move(programFolder) / kUrlFileName),
      behaviour_(behaviour),
      body_(std::move(body)),
      floodBytes_(floodBytes) {
    if (pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        fail("pipe2");
    }
    try {
        listenFd_ = listenOnFreePort(port_);
    } catch (...) {
        close(wakeFds_[0]);
        close(wakeFds_[1]);
        throw;
    }
    std::ofstream(urlFile_) << "http://127.0.0.1:" << port_ << "/ver_tindromouse.txt\n";
    thread_ = std::thread([this] { serve(); });
}

VersionServer::~VersionServer() {
    stopping_ = true;
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = write(wakeFds_[1], &byte, 1);
    thread_.join();
    close(listenFd_);
    close(wakeFds_[0]);
    close(wakeFds_[1]);
    std::error_code ec;
    std::filesystem::remove(urlFile_, ec);
}

bool VersionServer::waitForRequests(int count, std::chrono::milliseconds timeout) const {
    return waitUntil([&] { return requests() >= count; }, timeout);
}

void VersionServer::serve() {
    std::vector<int> held;  // connections left unanswered on purpose
    while (!stopping_) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            break;
        }
        if (stopping_ || (fds[1].revents & POLLIN) != 0) {
            break;
        }
        if ((fds[0].revents & POLLIN) == 0) {
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
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
        if (poll(fds, 2, kRequestTimeoutMs) <= 0 || (fds[1].revents & POLLIN) != 0) {
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
        pollfd fds[2] = {{fd, POLLOUT, 0}, {wakeFds_[0], POLLIN, 0}};
        if (poll(fds, 2, kRequestTimeoutMs) <= 0 || (fds[1].revents & POLLIN) != 0) {
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

}  // namespace tz::e2e

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

constexpr auto kPortWait = std::chrono::seconds(60);
constexpr int kRequestTimeoutMs = 10000;

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("VersionServer: " + what + ": " + std::strerror(errno));
}

int listenOnPort(int port) {
    const auto deadline = std::chrono::steady_clock::now() + kPortWait;
    for (;;) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            fail("socket");
        }
        const int yes = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            listen(fd, 8) == 0) {
            return fd;
        }
        const int error = errno;
        close(fd);
        // Another run on this machine may hold the port for a moment.
        if (error != EADDRINUSE || std::chrono::steady_clock::now() >= deadline) {
            errno = error;
            fail("cannot listen on 127.0.0.1:" + std::to_string(port));
        }
        sleepFor(std::chrono::milliseconds(200));
    }
}

// The socket inode of the client end of a loopback connection from
// `clientPort` to `serverPort`, from the kernel's table; 0 when not found.
unsigned long clientSocketInode(unsigned clientPort, unsigned serverPort) {
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // the column titles
    while (std::getline(table, line)) {
        unsigned localAddress = 0, localPort = 0, remoteAddress = 0, remotePort = 0;
        unsigned long inode = 0;
        if (std::sscanf(line.c_str(), " %*d: %X:%X %X:%X %*X %*X:%*X %*X:%*X %*X %*u %*u %lu",
                        &localAddress, &localPort, &remoteAddress, &remotePort, &inode) == 5 &&
            localPort == clientPort && remotePort == serverPort) {
            return inode;
        }
    }
    return 0;
}

// The executable of the process holding that socket; empty when not found.
std::string ownerExecutable(unsigned long inode) {
    namespace fs = std::filesystem;
    const std::string wanted = "socket:[" + std::to_string(inode) + "]";
    std::error_code ec;
    for (const auto& process : fs::directory_iterator("/proc", ec)) {
        const std::string name = process.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::error_code fdError;
        for (const auto& fd : fs::directory_iterator(process.path() / "fd", fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd.path(), linkError).string() == wanted) {
                return fs::read_symlink(process.path() / "exe", linkError).string();
            }
        }
    }
    return {};
}

}  // namespace

VersionServer::VersionServer(std::filesystem::path programsUnder, Behaviour behaviour,
                             std::string body, std::size_t floodBytes)
    : programsUnder_(std::filesystem::weakly_canonical(programsUnder).string() + "/"),
      behaviour_(behaviour),
      body_(std::move(body)),
      floodBytes_(floodBytes) {
    if (pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        fail("pipe2");
    }
    try {
        listenFd_ = listenOnPort(port());
    } catch (...) {
        close(wakeFds_[0]);
        close(wakeFds_[1]);
        throw;
    }
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
}

int VersionServer::port() {
    return TZ_TEST_UPDATE_PORT;
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
        if (!fromSandbox(fd)) {
            const linger reset{1, 0};
            setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            close(fd);
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

bool VersionServer::fromSandbox(int fd) const {
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) != 0) {
        return false;
    }
    const unsigned long inode =
        clientSocketInode(ntohs(peer.sin_port), static_cast<unsigned>(port()));
    return inode != 0 && ownerExecutable(inode).starts_with(programsUnder_);
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

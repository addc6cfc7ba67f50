#pragma once
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tz::test {

// A tiny HTTP server on 127.0.0.1 and a free port, serving from its own thread
// until destroyed. Each request head goes to the reply function, which returns
// the bytes to send back, or nothing to hold the connection open unanswered.
class LoopbackHttpServer {
  public:
    using Reply = std::function<std::optional<std::string>(const std::string& request)>;

    explicit LoopbackHttpServer(Reply reply) : reply_(std::move(reply)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_, 8);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackHttpServer() {
        stop_ = true;
        thread_.join();
        for (const int fd : held_) {
            ::close(fd);
        }
        ::close(listener_);
    }

    std::string url(const std::string& path = "/") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int connections() const { return connections_; }

    static std::string response(const std::string& status, const std::string& body,
                                const std::string& headers = "") {
        return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\nConnection: close\r\n" + headers + "\r\n" + body;
    }

  private:
    bool waitReadable(int fd) {
        for (pollfd entry{fd, POLLIN, 0}; !stop_;) {
            if (::poll(&entry, 1, 20) > 0) {
                return true;
            }
        }
        return false;
    }

    void serve() {
        while (waitReadable(listener_)) {
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                continue;
            }
            ++connections_;
            std::string request;
            char buffer[4096];
            ssize_t n = 0;
            while (request.find("\r\n\r\n") == std::string::npos && waitReadable(fd) &&
                   (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
                request.append(buffer, static_cast<std::size_t>(n));
            }
            const auto answer = reply_(request);
            if (!answer) {
                held_.push_back(fd);
                continue;
            }
            // Stops early, without a signal, when the client hangs up.
            for (std::size_t done = 0; done < answer->size(); done += static_cast<std::size_t>(n)) {
                n = ::send(fd, answer->data() + done, answer->size() - done, MSG_NOSIGNAL);
                if (n <= 0) {
                    break;
                }
            }
            ::close(fd);
        }
    }

    Reply reply_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::vector<int> held_;
    std::thread thread_;
};

}  // namespace tz::test

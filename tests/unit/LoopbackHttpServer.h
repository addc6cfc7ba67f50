#pragma once
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace tz::test {

// An HTTP server on 127.0.0.1 and a free port, serving from its own thread until destroyed: each
// request head goes to the reply function, whose bytes are sent back before the connection closes.
// Without a reply function it accepts no connection, so a client waits for an answer that never
// comes.
class LoopbackHttpServer {
  public:
    explicit LoopbackHttpServer(std::function<std::string(const std::string&)> reply = nullptr) {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_, 8);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        if (reply)
            thread_ = std::thread([this, reply] { serve(reply); });
    }
    ~LoopbackHttpServer() {
        ::shutdown(listener_, SHUT_RDWR);  // ends the thread's waiting accept
        if (thread_.joinable())
            thread_.join();
        ::close(listener_);
    }

    std::string url;  // without a path
    std::atomic<int> connections{0};

  private:
    void serve(const std::function<std::string(const std::string&)>& reply) {
        for (int fd; (fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;
             ::close(fd)) {
            ++connections;
            std::string request;
            char buffer[4096];
            for (ssize_t n = 1; n > 0 && request.find("\r\n\r\n") == std::string::npos;) {
                n = ::recv(fd, buffer, sizeof buffer, 0);
                request.append(buffer, n > 0 ? n : 0);
            }
            const std::string answer = reply(request);
            ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);  // stops if the client hangs up
        }
    }

    int listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::thread thread_;
};

}  // namespace tz::test

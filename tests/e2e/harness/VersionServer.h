#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <thread>

namespace tz::e2e {

// The version file server the end-to-end build of the program asks, on a
// thread of the test and a free loopback port. The server tells the programs
// of one sandbox where it is by a file in their program folder, which only
// that build reads; without the file they skip the check.
class VersionServer {
  public:
    enum class Behaviour {
        Answer,  // 200 with the body, then closes
        Silent,  // reads the request and never answers; holds the connection
        Flood,   // 200 without a length: the body, then filler until the peer goes
    };

    VersionServer(std::filesystem::path programFolder, Behaviour behaviour, std::string body = {},
                  std::size_t floodBytes = 64 * 1024 * 1024);
    ~VersionServer();
    VersionServer(const VersionServer&) = delete;
    VersionServer& operator=(const VersionServer&) = delete;

    int port() const { return port_; }

    // Requests received so far from the sandbox's programs (header fully read).
    int requests() const { return requests_.load(); }
    bool waitForRequests(int count, std::chrono::milliseconds timeout) const;
    // Flood: body bytes the kernel took for the peer, and whether the peer
    // went away (closed or reset) before the flood was complete.
    std::size_t bytesSent() const { return bytesSent_.load(); }
    bool peerLeftEarly() const { return peerLeftEarly_.load(); }

  private:
    void serve();
    void handle(int fd);
    bool sendAll(int fd, const char* data, std::size_t size);
    bool ready(int fd, short events) const;

    std::filesystem::path urlFile_;
    int port_ = 0;
    Behaviour behaviour_;
    std::string body_;
    std::size_t floodBytes_;
    int listenFd_ = -1;
    std::atomic<int> requests_{0};
    std::atomic<std::size_t> bytesSent_{0};
    std::atomic<bool> peerLeftEarly_{false};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace tz::e2e

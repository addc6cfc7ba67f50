#pragma once
// Fakes of the platform services that record what they were asked, for tests.
#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/EventLog.h"
#include "platform/Platform.h"

namespace tz::fake {

class FakePointer : public Pointer {
  public:
    PointerPosition position() override { return at; }
    PointerPosition at;
};

// Records the pending request; `move()` plays the pointer moving.
class FakeMotionWatch : public PointerMotionWatch {
  public:
    bool available() override { return true; }
    void notifyOnNextMotion(std::function<void()> onMotion) override {
        pending = std::move(onMotion);
    }
    void cancel() override { pending = nullptr; }
    void move() {
        if (auto onMotion = std::exchange(pending, nullptr))
            onMotion();
    }
    std::function<void()> pending;
};

// `press()` plays what the handler waits for: a button pressed by hand, a key.
struct FakePressable {
    void press() {
        if (onPress)
            onPress();
    }
    std::function<void()> onPress;
};

class FakePressWatch : public PhysicalPressWatch, public FakePressable {
  public:
    bool available() override { return true; }
    void setOnPress(std::function<void()> handler) override { onPress = std::move(handler); }
};

// Records the grabbed key's name ("": none); another program holds the key "taken".
class FakeGlobalKey : public GlobalKey, public FakePressable {
  public:
    bool grab(const std::string& keyName, std::function<void()> handler) override {
        release();
        if (keyName == "taken")
            return false;
        key = keyName;
        onPress = std::move(handler);
        return true;
    }
    void release() override {
        key.clear();
        onPress = nullptr;
    }
    std::string key;
};

class FakeInjector : public ClickInjector {
  public:
    void send(ButtonEvent event) override { events.push_back(event); }
    void sendWheelStep(WheelStep step) override { wheelSteps.push_back(step); }
    std::vector<ButtonEvent> events;
    std::vector<WheelStep> wheelSteps;
};

// Monitors in pixels at `tpp` twips per pixel, by default one of 1280 x 1024
// at 96 dots per inch. The first is the primary one, the desktop spans them
// all, and a point outside every monitor belongs to the first.
class FakeScreen : public ScreenMetrics {
  public:
    struct Monitor {
        double left, top, width, height;
    };
    double widthTwips() override { return monitors.front().width * tpp; }
    double heightTwips() override { return monitors.front().height * tpp; }
    double twipsPerPixelX() override { return tpp; }
    double twipsPerPixelY() override { return tpp; }
    double windowScale() override { return scale; }
    double desktopWidthTwips() override {
        double right = 0;
        for (const Monitor& m : monitors) right = std::max(right, m.left + m.width);
        return right * tpp;
    }
    ScreenArea monitorAt(std::int32_t x, std::int32_t y) override {
        Monitor found = monitors.front();
        for (const Monitor& m : monitors) {
            if (x >= m.left && x < m.left + m.width && y >= m.top && y < m.top + m.height)
                found = m;
        }
        return {found.left * tpp, found.top * tpp, found.width * tpp, found.height * tpp};
    }
    double tpp = 15;
    double scale = 1;
    std::vector<Monitor> monitors{{0, 0, 1280, 1024}};
};

class FakeSound : public Sound {
  public:
    bool playFile(const std::string& path) override {
        played.push_back(path);
        return playable;
    }
    void beep() override { ++beeps; }
    std::vector<std::string> played;
    int beeps = 0;
    bool playable = true;
};

class FakeShell : public Shell {
  public:
    void open(const std::string& pathOrUrl) override { opened.push_back(pathOrUrl); }
    bool start(const std::vector<std::string>&) override { return true; }
    std::string currentDesktop() override { return ""; }
    std::vector<std::string> opened;
};

class FakeProgramFolder : public ProgramFolder {
  public:
    std::string folder() override { return path; }
    std::string executablePath() override { return path + "/tindro-zevad"; }
    std::string path = "/opt/tz";
};

class FakeLocale : public Locale {
  public:
    explicit FakeLocale(std::string code = "") : code(std::move(code)) {}
    std::string countryCode() override { return code; }
    std::string code;
};

class FakeInstanceLock : public InstanceLock {
  public:
    bool acquire() override { return true; }
};

// The start-at-logon entry: the executable it starts, while there is one.
class FakeStartupEntryStore : public StartupEntryStore {
  public:
    void write(const std::string& executablePath) override {
        entry = executablePath;
        ++writes;
    }
    void remove() override {
        entry.reset();
        ++removals;
    }
    std::optional<std::string> entry;
    int writes = 0;
    int removals = 0;
};

// Answers each address from `bodies` ("" for any other) and keeps every request.
class FakeHttpFetch : public HttpFetch {
  public:
    struct Request {
        std::string url, agent;
    };
    std::string fetch(const std::string& url, const std::string& agent) override {
        requests.push_back({url, agent});
        const auto found = bodies.find(url);
        return found == bodies.end() ? std::string() : found->second;
    }
    std::map<std::string, std::string> bodies;
    std::vector<Request> requests;
};

class FakeEventLog : public EventLog {
  public:
    void error(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> errors;
};

// All fakes together, with a Platform view of them.
struct FakePlatform {
    FakePointer pointer;
    FakeInjector injector;
    FakeScreen screen;
    FakeSound sound;
    FakeShell shell;
    FakeProgramFolder programFolder;
    FakeLocale locale;
    FakeInstanceLock instanceLock;
    FakeStartupEntryStore startupEntry;
    FakeHttpFetch http;
    FakeMotionWatch motionWatch;
    FakePressWatch pressWatch;
    FakeGlobalKey pauseKey;
    Platform platform{pointer,       injector,   screen,       sound,        shell,
                      programFolder, locale,     instanceLock, startupEntry, http,
                      motionWatch,   pressWatch, pauseKey};
};

}  // namespace tz::fake

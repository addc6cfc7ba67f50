#pragma once
// Fakes of the platform services that record what they were asked, for tests.
#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ClickInjector.h"
#include "platform/Platform.h"
#include "platform/Pointer.h"
#include "platform/ProgramFolder.h"
#include "platform/ScreenMetrics.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "tests/fakes/FakeHttpFetch.h"
#include "tests/fakes/FakeInstanceLock.h"
#include "tests/fakes/FakeLocale.h"
#include "tests/fakes/FakeStartupEntryStore.h"

namespace tz::fake {

class FakePointer : public Pointer {
  public:
    PointerPosition position() override { return at; }
    PointerPosition at;
};

// Records the pending request; `move()` plays the pointer moving.
class FakeMotionWatch : public PointerMotionWatch {
  public:
    bool available() override { return supported; }
    void notifyOnNextMotion(std::function<void()> onMotion) override {
        pending = std::move(onMotion);
    }
    void cancel() override { pending = nullptr; }
    void move() {
        if (auto onMotion = std::exchange(pending, nullptr)) {
            onMotion();
        }
    }
    bool supported = true;
    std::function<void()> pending;
};

class FakeInjector : public ClickInjector {
  public:
    void send(MouseEvent event) override { events.push_back(event); }
    std::vector<MouseEvent> events;
};

// A 1280 x 1024 pixel screen at 96 dots per inch. Further monitors, in
// pixels, may be listed: the first is then the primary one, the desktop spans
// them all, and a point outside every monitor belongs to the first.
class FakeScreen : public ScreenMetrics {
  public:
    struct Monitor {
        double left, top, width, height;
    };
    double widthTwips() override { return primary().width * tpp; }
    double heightTwips() override { return primary().height * tpp; }
    double twipsPerPixelX() override { return tpp; }
    double twipsPerPixelY() override { return tpp; }
    double windowScale() override { return scale; }
    double desktopWidthTwips() override {
        double right = 0;
        for (const Monitor& m : all()) {
            right = std::max(right, m.left + m.width);
        }
        return right * tpp;
    }
    ScreenArea monitorAt(std::int32_t x, std::int32_t y) override {
        Monitor found = primary();
        for (const Monitor& m : all()) {
            if (x >= m.left && x < m.left + m.width && y >= m.top && y < m.top + m.height) {
                found = m;
            }
        }
        return {found.left * tpp, found.top * tpp, found.width * tpp, found.height * tpp};
    }
    double widthPixels = 1280;
    double heightPixels = 1024;
    double tpp = 15;
    double scale = 1;
    std::vector<Monitor> monitors;

  private:
    std::vector<Monitor> all() const {
        return monitors.empty() ? std::vector<Monitor>{{0, 0, widthPixels, heightPixels}}
                                : monitors;
    }
    Monitor primary() const { return all().front(); }
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
    bool start(const std::vector<std::string>& argv) override {
        started.push_back(argv);
        return startSucceeds;
    }
    std::string currentDesktop() override { return desktop; }
    std::string desktop;
    std::vector<std::string> opened;
    std::vector<std::vector<std::string>> started;
    bool startSucceeds = true;
};

class FakeProgramFolder : public ProgramFolder {
  public:
    std::string folder() override { return path; }
    std::string executablePath() override { return path + "/tindro-zevad"; }
    std::string path = "/opt/tz";
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
    Platform platform{pointer, injector,     screen,       sound, shell,      programFolder,
                      locale,  instanceLock, startupEntry, http,  motionWatch};
};

}  // namespace tz::fake

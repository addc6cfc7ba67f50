#pragma once
// Fakes of the platform services that record what they were asked, for tests.
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
#include "platform/fake/FakeHttpFetch.h"
#include "platform/fake/FakeInstanceLock.h"
#include "platform/fake/FakeLocale.h"
#include "platform/fake/FakeStartupEntryStore.h"

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

// A 1280 x 1024 pixel screen at 96 dots per inch.
class FakeScreen : public ScreenMetrics {
  public:
    double widthTwips() override { return widthPixels * tpp; }
    double heightTwips() override { return heightPixels * tpp; }
    double twipsPerPixelX() override { return tpp; }
    double twipsPerPixelY() override { return tpp; }
    double widthPixels = 1280;
    double heightPixels = 1024;
    double tpp = 15;
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

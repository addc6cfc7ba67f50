// Cost per call of the logic on the program's hot paths: one dwell tick, the
// settings read at start-up, the save attempted on every pointer movement
// over a click-kind button (a read and a compare when nothing changed), and
// a language file load.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/engine/DwellEngine.h"
#include "core/i18n/LanguageFile.h"
#include "core/settings/SettingsFile.h"
#include "tests/fakes/FakePlatform.h"

namespace {

const std::string kSettings = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";

class Host : public tz::EngineHost {
  public:
    tz::BarGeometry barGeometry() override { return bar; }
    void setBarLeft(double left) override { bar.left = left; }
    void placeBarOn(const tz::ScreenArea&) override {}  // one monitor: the place stays
    void setBarVisible(bool visible) override { bar.visible = visible; }
    void makeExitWindow() override {}
    void makeOptionsWindow() override {}
    bool isExitWindowVisible() override { return false; }
    bool isOptionsWindowVisible() override { return false; }
    void activateButton(tz::ClickMode) override {}
    void playClickSound() override {}
    tz::BarButtonPlaces barButtonPlaces() override { return {}; }
    void selectBarButton(tz::ClickMode) override {}
    void pointerOnBarBackground() override {}
    tz::BarGeometry bar{0, 4410, 675, 5385, false};
};

void EngineTick(benchmark::State& state) {
    tz::AppState app;
    app.settings.tolerance = 2;
    app.settings.delay = 5;
    app.clickMode = tz::ClickMode::LeftClick;
    tz::fake::FakePlatform fake;
    Host host;
    tz::DwellEngine engine(app, host, fake.pointer, fake.screen, fake.injector);
    int i = 0;
    for (auto _ : state) {
        // Rests of ten ticks between moves.
        if (++i % 10 == 0) {
            fake.pointer.at = {100 + (i * 37) % 1000, 100 + (i * 53) % 800};
        }
        engine.tick();
        if (fake.injector.events.size() > 1000) {
            fake.injector.events.clear();
        }
    }
}
BENCHMARK(EngineTick);

void ParseSettings(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(tz::parseSettings(kSettings));
    }
}
BENCHMARK(ParseSettings);

void UnchangedSave(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "tz-bench-XXXXXX").string();
    ::mkdtemp(folder.data());
    const std::string path = folder + "/" + tz::kSettingsFileName;
    std::ofstream(path, std::ios::binary) << kSettings;
    const tz::Settings settings = tz::parseSettings(kSettings);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tz::writeSettingsFile(path, settings));
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(UnchangedSave);

void LoadLanguage(benchmark::State& state) {
    std::ifstream in(std::string(TZ_SOURCE_DIR) + "/resources/Lang/English.lng", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    tz::TextTable table;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tz::loadLanguageText(table, bytes, tz::LoadMode::Startup));
    }
}
BENCHMARK(LoadLanguage);

}  // namespace

BENCHMARK_MAIN();

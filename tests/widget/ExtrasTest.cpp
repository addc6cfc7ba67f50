// The countdown ring, the tray menu and the "More options" window. That the ring takes no input and
// the options window's link opens the window is shown on a real X server (tests/e2e).
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>

#include "gui/CountdownRing.h"
#include "gui/ExtrasWindow.h"
#include "gui/TrayIndicator.h"
#include "tests/widget/WindowsFixture.h"

namespace tz {
namespace {

using test::click;
using test::control;

// "T0", "T1", ... for every entry.
TextTable numberedTexts() {
    TextTable texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = "T" + std::to_string(i);
    return texts;
}

// Paints and moves of a window, as the desktop would see them.
struct EventCounter : QObject {
    int paints = 0, moves = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        moves += event->type() == QEvent::Move;
        return false;
    }
};

int fillPixels(CountdownRing& ring, int ticks, int delay) {
    ring.showCountdown({100, 100}, RingMark::Left, ticks, delay);
    const QImage image = ring.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return int(
        std::count(pixels, pixels + image.width() * image.height(), CountdownRing::kFillColour));
}

TEST(CountdownRingTest, FillsWithTheTicksUpToTheDelayAndEveryMarkHasItsOwnLook) {
    CountdownRing ring;
    int before = -1;
    for (int ticks = 0; ticks <= 5; ++ticks) {
        const int filled = fillPixels(ring, ticks, 5);
        EXPECT_TRUE(ticks == 0 ? filled == 0 : filled > before) << ticks;
        before = filled;
    }
    EXPECT_EQ(fillPixels(ring, 9, 5), before);  // full at the delay, and no further
    std::vector<QImage> looks;
    for (int mark = 0; mark <= static_cast<int>(RingMark::Paused); ++mark) {
        ring.showCountdown({100, 100}, static_cast<RingMark>(mark), 2, 5);
        looks.push_back(ring.grab().toImage());
        for (int other = 0; other < mark; ++other)
            EXPECT_NE(looks[other], looks[mark]) << other << " " << mark;
    }
}

TEST(CountdownRingTest, StaysBesideThePointerOnItsScreenAndIdleWhileNothingChanges) {
    CountdownRing ring;
    EventCounter counter;
    ring.installEventFilter(&counter);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // Pointer, ticks, where the ring's top left corner goes, whether it paints and moves.
    const std::tuple<QPoint, int, QPoint, bool, bool> steps[] = {
        {{100, 100}, 1, {112, 112}, true, true},
        {{100, 100}, 1, {112, 112}, false, false},
        {{100, 100}, 2, {112, 112}, true, false},
        {{101, 100}, 2, {113, 112}, false, true},
        {screen.bottomRight(), 2, screen.bottomRight() - QPoint(44, 44), false, true}};
    for (const auto& [pointer, ticks, at, paints, moves] : steps) {
        counter.paints = counter.moves = 0;
        ring.showCountdown(pointer, RingMark::Left, ticks, 5);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_TRUE(ring.isVisible() && ring.pos() == at) << pointer.x();
        EXPECT_EQ(counter.paints > 0, paints) << pointer.x() << " " << ticks;
        EXPECT_EQ(counter.moves > 0, moves) << pointer.x() << " " << ticks;
    }
    ring.hideCountdown();
    EXPECT_FALSE(ring.isVisible());
}

TEST(TrayIndicatorTest, MenuItemsSayTheirTextsSendTheirSignalsShowTheKindAndAnswerRests) {
    TrayIndicator tray;
    tray.retranslate(numberedTexts());
    std::string heard;
    const std::pair<void (TrayIndicator::*)(), const char*> plain[] = {
        {&TrayIndicator::pauseToggled, "pause"},
        {&TrayIndicator::optionsRequested, "options"},
        {&TrayIndicator::helpRequested, "help"},
        {&TrayIndicator::aboutRequested, "about"},
        {&TrayIndicator::quitRequested, "quit"}};
    for (const auto& [signal, name] : plain)
        QObject::connect(&tray, signal, [&heard, name = name] { heard = name; });
    QObject::connect(&tray, &TrayIndicator::clickModeChosen,
                     [&](ClickMode mode) { heard = "mode " + std::to_string(int(mode)); });
    // In the menu's order: item, text, what it sends.
    const std::tuple<const char*, const char*, const char*> items[] = {
        {"pauseAction", "T51", "pause"},      {"doubleClickAction", "T9", "mode 2"},
        {"leftClickAction", "T8", "mode 3"},  {"dragAction", "T10", "mode 4"},
        {"rightClickAction", "T6", "mode 5"}, {"middleClickAction", "T7", "mode 6"},
        {"scrollAction", "T62", "mode 9"},    {"optionsAction", "T13", "options"},
        {"helpAction", "T2", "help"},         {"aboutAction", "T11", "about"},
        {"quitAction", "T12", "quit"}};
    QList<QAction*> listed = tray.menu()->actions();
    listed.removeIf([](QAction* action) { return action->isSeparator(); });
    ASSERT_EQ(listed.size(), std::size(items));
    // Scroll shows only while the bar shows its button.
    QAction* scroll = tray.findChild<QAction*>("scrollAction");
    EXPECT_FALSE(scroll->isVisible());
    tray.offerScroll(true);
    EXPECT_TRUE(scroll->isVisible());
    for (std::size_t i = 0; i < std::size(items); ++i) {
        const auto& [name, text, sends] = items[i];
        EXPECT_EQ(listed[qsizetype(i)]->objectName(), name);
        EXPECT_EQ(listed[qsizetype(i)]->text(), text);
        listed[qsizetype(i)]->trigger();
        EXPECT_EQ(heard, sends);
    }
    // Mode shown, the kind checked, the pause item's text, the tooltip.
    const std::tuple<ClickMode, const char*, const char*, const char*> steps[] = {
        {ClickMode::RightClick, "rightClickAction", "T51", "T1\nT6"},
        {ClickMode::Pause, "rightClickAction", "T52", "T1\nT53"},
        {ClickMode::Help, "rightClickAction", "T52", "T1\nT53"},
        {ClickMode::DoubleClick, "doubleClickAction", "T51", "T1\nT9"},
        {ClickMode::Scroll, "scrollAction", "T51", "T1\nT62"}};
    for (const auto& [mode, checked, pauseText, tip] : steps) {
        tray.showClickMode(mode);
        QStringList checkedNames;
        for (const QAction* action : tray.menu()->actions())
            action->isChecked() ? void(checkedNames << action->objectName()) : void();
        EXPECT_EQ(checkedNames, QStringList(checked)) << int(mode);
        EXPECT_EQ(tray.findChild<QAction*>("pauseAction")->text(), pauseText);
        EXPECT_EQ(tray.findChild<QSystemTrayIcon*>()->toolTip(), tip);
    }

    // While the menu is open a rest chooses the item under it, or closes the menu.
    std::vector<std::string> chosen;
    QObject::connect(&tray, &TrayIndicator::clickModeChosen, [&] { chosen.push_back(heard); });
    QMenu* menu = tray.menu();
    const QPoint away(700, 500);
    EXPECT_FALSE(tray.restActsAt(away));  // no tray here, no menu open
    menu->popup(QPoint(100, 100));
    ASSERT_TRUE(menu->isVisible());
    // It takes neither the keyboard nor the pointer: keys typed meanwhile go on.
    EXPECT_NE(menu->windowType(), Qt::Popup);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(tray.restActsAt(away));
    QAction* right = tray.findChild<QAction*>("rightClickAction");
    const QPoint onRight = menu->mapToGlobal(menu->actionGeometry(right).center());
    tray.actAt(onRight);
    EXPECT_EQ(chosen, std::vector<std::string>{"mode 5"});
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(tray.restActsAt(onRight));
    // On a separator nothing; outside the menu it closes, choosing nothing.
    menu->popup(QPoint(100, 100));
    QAction* separator = menu->actions().at(1);
    ASSERT_TRUE(separator->isSeparator());
    tray.actAt(menu->mapToGlobal(menu->actionGeometry(separator).center()));
    EXPECT_TRUE(menu->isVisible());
    tray.actAt(away);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(chosen.size(), 1u);
}

TEST(ExtrasWindowTest, OkGivesWhatTheControlsShowAndCancelGivesNothing) {
    fake::FakeScreen screen;
    ExtrasWindow window(screen);
    window.retranslate(numberedTexts());
    std::vector<ExtrasSettings> accepted;
    int cancelled = 0;
    QObject::connect(&window, &ExtrasWindow::accepted,
                     [&](const ExtrasSettings& extras) { accepted.push_back(extras); });
    QObject::connect(&window, &ExtrasWindow::cancelled, [&] { ++cancelled; });
    QStringList keys;
    auto* keyChoice = control<QComboBox>(window, "pauseKeyChoice");
    for (int i = 0; i < keyChoice->count(); ++i) keys << keyChoice->itemText(i);
    EXPECT_EQ(keys, QStringList({"Pause", "Scroll Lock", "F12", "F11", "T61"}));
    const ExtrasSettings chosen{false, 48, false, "F12", false};
    const ExtrasSettings handWritten{true, 30, true, "F10", true};
    const auto changeAll = [&] {
        for (const char* caption : {"countdownLabel", "trayLabel", "cancelOnPressLabel"})
            click(control(window, caption));
        control<QScrollBar>(window, "countdownSizeSlider")
            ->triggerAction(QAbstractSlider::SliderSingleStepSub);
        keyChoice->setCurrentIndex(4);
    };
    // Loaded, changed by hand, given back by OK.
    const struct {
        ExtrasSettings loaded;
        bool changed;
        ExtrasSettings given;
    } steps[] = {{{}, false, {}},
                 {chosen, false, chosen},
                 {{}, true, {false, 24, false, "", false}},
                 {handWritten, false, handWritten}};
    for (const auto& [loaded, changed, given] : steps) {
        window.load(loaded);
        changed ? changeAll() : void();
        click(control(window, "okButton"));
        ASSERT_FALSE(accepted.empty());
        EXPECT_TRUE(accepted.back() == given) << accepted.back().pauseKey;
    }
    window.load(chosen);
    changeAll();
    click(control(window, "cancelButton"));
    EXPECT_EQ(accepted.size(), std::size(steps));
    EXPECT_EQ(cancelled, 1);
}

TEST(ExtrasWindowTest, WherePressesByHandAreNotWatchedTheirOptionShowsUnavailableAndIsKept) {
    fake::FakeScreen screen;
    ExtrasWindow window(screen, false);
    window.retranslate(numberedTexts());
    std::vector<bool> given;
    QObject::connect(&window, &ExtrasWindow::accepted,
                     [&](const ExtrasSettings& extras) { given.push_back(extras.cancelOnPress); });
    auto* caption = control<QLabel>(window, "cancelOnPressLabel");
    EXPECT_EQ(caption->text(), "T60 (T81)");
    EXPECT_FALSE(control(window, "cancelOnPressBox")->isEnabled());
    for (const bool on : {true, false}) {
        window.load(ExtrasSettings{.cancelOnPress = on});
        click(caption);
        click(control(window, "okButton"));
    }
    EXPECT_EQ(given, std::vector<bool>({true, false}));
}

}  // namespace
}  // namespace tz

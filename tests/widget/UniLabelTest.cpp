// The Unicode label control on the offscreen platform.
#include "unilabel/UniLabel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/fakes/FakeEventLog.h"

namespace tz {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kMagenta(255, 0, 255);

// A container that paints itself magenta.
class PaintedContainer : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), kMagenta); }
};

// The first column, from the left, with a pixel that is not `background`.
int firstInkColumn(const QImage& image, const QColor& background) {
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != background) {
                return x;
            }
        }
    }
    return -1;
}

// Restores the application palette at the end of a test.
struct PaletteGuard {
    QPalette saved = QApplication::palette();
    ~PaletteGuard() { QApplication::setPalette(saved); }
};

class UniLabelTest : public ::testing::Test {
  protected:
    UniLabelTest() { container.resize(400, 300); }

    // A label with its own name as caption, or the one given.
    std::unique_ptr<UniLabel> label(const std::optional<QString>& caption = {}) {
        auto made = std::make_unique<UniLabel>(HookErrorReporting{log, {}}, &container);
        if (caption) {
            made->setCaption(*caption);
        }
        return made;
    }

    // Black text on white, sized to its text.
    std::unique_ptr<UniLabel> autoSized(const QString& caption) {
        auto made = label(caption);
        made->setColor(rgbColor(255, 255, 255), rgbColor(0, 0, 0));
        made->setAutoSize(true);
        return made;
    }

    void send(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button,
              Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, at, target->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(target, &event);
    }

    // Notes every event of a label as text.
    void record(UniLabel& source) {
        const auto mouse = [this](const char* name) {
            return [this, name](int button, int shift, float x, float y) {
                events.push_back(std::string(name) + " " + std::to_string(button) + " " +
                                 std::to_string(shift) + " " + std::to_string(int(x)) + " " +
                                 std::to_string(int(y)));
            };
        };
        QObject::connect(&source, &UniLabel::mouseDown, mouse("MouseDown"));
        QObject::connect(&source, &UniLabel::mouseMove, mouse("MouseMove"));
        QObject::connect(&source, &UniLabel::mouseUp, mouse("MouseUp"));
        QObject::connect(&source, &UniLabel::click, [this](int button) {
            events.push_back("Click " + std::to_string(button));
        });
        QObject::connect(&source, &UniLabel::dblClick, [this](int button) {
            events.push_back("DblClick " + std::to_string(button));
        });
        QObject::connect(&source, &UniLabel::mouseEnter,
                         [this] { events.push_back("MouseEnter"); });
        QObject::connect(&source, &UniLabel::mouseLeave,
                         [this] { events.push_back("MouseLeave"); });
        QObject::connect(&source, &UniLabel::change, [this] { events.push_back("Change"); });
    }

    fake::FakeEventLog log;
    PaintedContainer container;
    std::vector<std::string> events;
};

TEST_F(UniLabelTest, ANewLabelIsLeftAlignedAndAStoredSetWithoutAlignmentRightAligned) {
    auto first = label();
    auto second = label();
    EXPECT_EQ(first->caption(), "UniLabel1");
    EXPECT_EQ(second->caption(), "UniLabel2");
    EXPECT_EQ(first->alignment(), 0);
    EXPECT_EQ(first->backStyle(), 1);
    EXPECT_TRUE(first->useEvents());
    EXPECT_TRUE(first->useMnemonic());
    EXPECT_TRUE(log.errors.empty());

    first->setGeometry(0, 0, 200, 30);
    first->setCaption("Hi");
    first->setColor(rgbColor(255, 255, 255), rgbColor(0, 0, 0));
    EXPECT_LT(firstInkColumn(first->grab().toImage(), kWhite), 10);

    first->setFontBold(true);
    first->readProperties({{"Caption", QByteArray("Hi")},
                           {"BackColor", rgbColor(255, 255, 255)},
                           {"ForeColor", rgbColor(0, 0, 0)}});
    EXPECT_EQ(first->alignment(), 3);
    EXPECT_EQ(first->font(), container.font());  // no "Font": the container's
    EXPECT_GT(firstInkColumn(first->grab().toImage(), kWhite), 150);
}

TEST_F(UniLabelTest, AMnemonicAmpersandIsNotDrawnAndUnderlinesTheNextCharacter) {
    auto marked = autoSized("&Hello");
    auto plain = autoSized("Hello");
    EXPECT_EQ(marked->size(), plain->size());
    EXPECT_NE(marked->grab().toImage(), plain->grab().toImage());  // the underline

    auto doubled = autoSized("A&&B");
    auto single = autoSized("A&B");
    single->setUseMnemonic(false);
    EXPECT_EQ(doubled->size(), single->size());

    marked->setUseMnemonic(false);  // the ampersand is drawn like any character
    EXPECT_GT(marked->width(), plain->width());
}

TEST_F(UniLabelTest, AutoSizeIsTheTextSizePlusThePaddings) {
    auto bare = autoSized("Auto size");
    auto padded = autoSized("Auto size");
    padded->setPadding(4, 2, 4, 2);
    EXPECT_EQ(padded->size(), bare->size() + QSize(8, 4));

    const QFontMetrics metrics(bare->font());
    EXPECT_NEAR(bare->width(), metrics.horizontalAdvance("Auto size"), 1);
    EXPECT_EQ(bare->height(), metrics.height());
}

TEST_F(UniLabelTest, AutoSizeWithWordWrapChangesOnlyTheHeight) {
    auto wrapped = label("Several words that cannot share one line of this width");
    wrapped->resize(120, 10);
    wrapped->setWordWrap(true);
    wrapped->setAutoSize(true);
    EXPECT_EQ(wrapped->width(), 120);
    EXPECT_GE(wrapped->height(), 3 * QFontMetrics(wrapped->font()).height());
}

TEST_F(UniLabelTest, AReleaseRaisesMouseUpWithoutTheButtonThenClick) {
    container.setProperty(kScaleModeProperty, "Pixel");
    auto target = label("Click me");
    target->setGeometry(10, 10, 100, 30);
    record(*target);

    send(target.get(), QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton, Qt::LeftButton,
         Qt::ShiftModifier | Qt::ControlModifier);
    send(target.get(), QEvent::MouseButtonRelease, {5, 6}, Qt::LeftButton, Qt::NoButton);
    send(target.get(), QEvent::MouseButtonDblClick, {5, 6}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(events, (std::vector<std::string>{"MouseDown 1 3 5 6", "MouseUp 0 0 5 6", "Click 1",
                                                "DblClick 2"}));

    events.clear();  // released outside: no click
    send(target.get(), QEvent::MouseButtonRelease, {150, 6}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(events, std::vector<std::string>{"MouseUp 0 0 150 6"});
}

TEST_F(UniLabelTest, MouseEventsFollowTheContainersScaleUnits) {
    auto target = label();
    container.show();  // the container is hooked once the label shows
    record(*target);
    EXPECT_EQ(target->scaleUnit(), kScaleTwip);  // a container that names none

    container.setProperty(kScaleModeProperty, "Point");
    EXPECT_EQ(target->scaleUnit(), kScalePoint);
    send(target.get(), QEvent::MouseMove, {10, 20}, Qt::NoButton, Qt::NoButton);
    const int x = 10 * 72 / target->logicalDpiX();
    const int y = 20 * 72 / target->logicalDpiY();
    EXPECT_EQ(events.back(), "MouseMove 0 0 " + std::to_string(x) + " " + std::to_string(y));

    container.setProperty(kScaleModeProperty, "User");  // no fixed size: twips instead
    EXPECT_EQ(target->scaleUnit(), kScaleTwip);
    EXPECT_EQ(container.property(kScaleModeProperty).toString(), "Twip");
}

TEST_F(UniLabelTest, EnterAndLeaveFollowThePointer) {
    auto target = label();
    target->resize(100, 30);
    record(*target);
    send(target.get(), QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::NoButton);
    send(target.get(), QEvent::MouseMove, {6, 5}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(target->mouseOver());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(target.get(), &leave);
    EXPECT_FALSE(target->mouseOver());
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0], "MouseEnter");
    EXPECT_EQ(events[3], "MouseLeave");
}

TEST_F(UniLabelTest, WithoutUseEventsNothingIsRaisedButMouseOverFollows) {
    auto silent = label();
    silent->resize(100, 30);
    silent->setUseEvents(false);
    record(*silent);
    silent->setCaption("quiet");
    send(silent.get(), QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(silent->mouseOver());
    send(silent.get(), QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    send(silent.get(), QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(silent.get(), &leave);
    EXPECT_FALSE(silent->mouseOver());
    EXPECT_TRUE(events.empty());
}

TEST_F(UniLabelTest, ASystemColourFollowsAPaletteChange) {
    PaletteGuard guard;
    auto coloured = label("");
    coloured->resize(20, 20);
    coloured->setColor(systemColor(kColorHighlight), rgbColor(1, 2, 3));

    QPalette changed = QApplication::palette();
    changed.setColor(QPalette::Highlight, QColor(10, 200, 30));
    QApplication::setPalette(changed);
    QCoreApplication::processEvents();  // the change reaches the widgets as a posted event
    EXPECT_EQ(coloured->resolvedBackColor(), QColor(10, 200, 30));
    EXPECT_EQ(coloured->resolvedForeColor(), QColor(1, 2, 3));
    EXPECT_EQ(coloured->grab().toImage().pixelColor(10, 10), QColor(10, 200, 30));
}

TEST_F(UniLabelTest, ATransparentLabelShowsItsContainersPainting) {
    auto see = label("");
    see->setGeometry(10, 10, 40, 20);
    see->setBackColor(rgbColor(0, 128, 0));
    EXPECT_EQ(container.grab().toImage().pixelColor(20, 20), QColor(0, 128, 0));
    see->setBackStyle(0);
    EXPECT_EQ(container.grab().toImage().pixelColor(20, 20), kMagenta);
}

TEST_F(UniLabelTest, ThePropertySetKeepsEveryPropertyAndUnicodeCaptions) {
    const QString text = QString::fromUtf8("Καλημέρα — مرحبا — שלום — 你好");
    auto source = label(text);
    source->setPadding(1, 2, 3, 250);
    source->setRightToLeft(true);
    source->setBackColor(systemColor(kColorInfoBackground));
    source->setMousePointer(2);
    const QVariantMap stored = source->writeProperties();
    EXPECT_EQ(stored.keys(),
              (QStringList{"Alignment", "AutoSize", "BackColor", "BackStyle", "Caption", "Font",
                           "ForeColor", "MouseIcon", "MousePointer", "PaddingBottom", "PaddingLeft",
                           "PaddingRight", "PaddingTop", "RightToLeft", "UseEvents", "UseMnemonic",
                           "WordWrap"}));
    EXPECT_EQ(stored["Caption"], QVariant(text.toUtf8()));

    auto copy = label();
    copy->readProperties(stored);
    EXPECT_EQ(copy->caption(), text);
    const QVariantMap again = copy->writeProperties();
    for (const QString& key : stored.keys()) {
        if (key != "MouseIcon") {  // pictures do not compare
            EXPECT_EQ(again[key], stored[key]) << key.toStdString();
        }
    }

    // An 8-bit text entry is decoded too; unusable values fall back.
    copy->readProperties({{"Caption", QString::fromLatin1(text.toUtf8())},
                          {"BackColor", 0x80000018u},
                          {"PaddingLeft", 300}});
    EXPECT_EQ(copy->caption(), text);
    EXPECT_EQ(copy->backColor(), systemColor(kColorInfoBackground));
    EXPECT_EQ(copy->paddingLeft(), 0);
}

TEST_F(UniLabelTest, TheLabelCanEndBeforeItsContainerAndWithIt) {
    container.show();
    auto first = label("first");
    first->show();
    first.reset();  // the container's hook goes with the label
    container.setProperty(kScaleModeProperty, "Pixel");
    container.repaint();

    auto doomed = std::make_unique<PaintedContainer>();
    auto* inner = new UniLabel(HookErrorReporting{log, {}}, doomed.get());
    doomed->show();
    inner->show();
    doomed.reset();  // the container ends, taking the label with it
    EXPECT_TRUE(log.errors.empty());
}

}  // namespace
}  // namespace tz

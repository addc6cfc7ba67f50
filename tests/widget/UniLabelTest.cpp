// The Unicode label control on the offscreen platform.
#include "unilabel/UniLabel.h"

#include <QPainter>

#include "tests/fakes/FakeEventLog.h"
#include "tests/widget/WindowsFixture.h"

namespace tz {
namespace {

using test::mouse;

// A container that paints itself magenta.
class PaintedContainer : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::magenta); }
};

// The first column, from the left, with a pixel that is not white.
int firstInkColumn(const QImage& image) {
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != Qt::white) {
                return x;
            }
        }
    }
    return -1;
}

class UniLabelTest : public ::testing::Test {
  protected:
    // A label, black on white and sized to its text when it has a caption.
    std::unique_ptr<UniLabel> label(const QString& caption = {}) {
        auto made = std::make_unique<UniLabel>(HookErrorReporting{log, {}}, &container);
        if (!caption.isEmpty()) {
            made->setCaption(caption);
            made->setColor(rgbColor(255, 255, 255), rgbColor(0, 0, 0));
            made->setAutoSize(true);
        }
        return made;
    }

    fake::FakeEventLog log;
    PaintedContainer container;
};

TEST_F(UniLabelTest, ANewLabelIsLeftAlignedAndAStoredSetWithoutAlignmentRightAligned) {
    auto first = label();
    EXPECT_EQ(first->caption(), "UniLabel1");
    EXPECT_EQ(label()->caption(), "UniLabel2");
    first->setGeometry(0, 0, 200, 30);
    first->setColor(rgbColor(255, 255, 255), rgbColor(0, 0, 0));
    EXPECT_LT(firstInkColumn(first->grab().toImage()), 10);
    first->setFontBold(true);
    first->readProperties({{"Caption", QByteArray("Hi")},
                           {"BackColor", rgbColor(255, 255, 255)},
                           {"ForeColor", rgbColor(0, 0, 0)}});
    EXPECT_EQ(first->font(), container.font());  // no "Font": the container's
    EXPECT_GT(firstInkColumn(first->grab().toImage()), 150);
    EXPECT_TRUE(log.errors.empty());
}

TEST_F(UniLabelTest, AutoSizeFitsTheTextWithoutAMnemonicsAmpersandPlusThePaddings) {
    auto plain = label("Hello");
    auto marked = label("&Hello");
    EXPECT_EQ(marked->size(), plain->size());
    EXPECT_NE(marked->grab().toImage(), plain->grab().toImage());  // the underline
    marked->setUseMnemonic(false);  // the ampersand is drawn like any character
    EXPECT_GT(marked->width(), plain->width());
    const QSize bare = plain->size();
    plain->setPadding(4, 2, 4, 2);
    EXPECT_EQ(plain->size(), bare + QSize(8, 4));
}

TEST_F(UniLabelTest, MouseEventsAreRaisedOnlyWithUseEventsAndAClickNeedsTheReleaseInside) {
    container.setProperty(kScaleModeProperty, "Pixel");
    auto target = label("Click me");
    target->setGeometry(10, 10, 100, 30);
    std::vector<std::string> events;
    const auto note = [&](const char* name) {
        return [&events, name](int button, int shift, float x, float y) {
            events.push_back(std::string(name) + " " + std::to_string(button) + " " +
                             std::to_string(shift) + " " + std::to_string(int(x)) + " " +
                             std::to_string(int(y)));
        };
    };
    QObject::connect(target.get(), &UniLabel::mouseDown, note("Down"));
    QObject::connect(target.get(), &UniLabel::mouseUp, note("Up"));
    QObject::connect(target.get(), &UniLabel::click,
                     [&](int button) { events.push_back("Click " + std::to_string(button)); });
    for (bool useEvents : {true, false}) {
        target->setUseEvents(useEvents);
        mouse(target.get(), QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton, Qt::LeftButton,
              Qt::ShiftModifier | Qt::ControlModifier);
        mouse(target.get(), QEvent::MouseButtonRelease, {5, 6}, Qt::LeftButton);
        mouse(target.get(), QEvent::MouseButtonRelease, {150, 6}, Qt::LeftButton);  // outside
    }
    EXPECT_EQ(events,
              (std::vector<std::string>{"Down 1 3 5 6", "Up 0 0 5 6", "Click 1", "Up 0 0 150 6"}));
}

TEST_F(UniLabelTest, ThePropertySetKeepsEveryPropertyAndUnicodeCaptions) {
    const QString text = QString::fromUtf8("Καλημέρα — مرحبا — שלום — 你好");
    auto source = label(text);
    source->setPadding(1, 2, 3, 250);
    source->setRightToLeft(true);
    source->setBackColor(systemColor(kColorInfoBackground));
    const QVariantMap stored = source->writeProperties();
    EXPECT_EQ(stored["Caption"], QVariant(text.toUtf8()));
    auto copy = label();
    copy->readProperties(stored);
    const QVariantMap again = copy->writeProperties();
    for (const QString& key : stored.keys()) {
        EXPECT_TRUE(key == "MouseIcon" || again[key] == stored[key]) << key.toStdString();
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
    (new UniLabel(HookErrorReporting{log, {}}, doomed.get()))->show();
    doomed->show();
    doomed.reset();  // the container ends, taking the label with it
    EXPECT_TRUE(log.errors.empty());
}

}  // namespace
}  // namespace tz

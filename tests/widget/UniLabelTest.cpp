// The Unicode label control on the offscreen platform.
#include "unilabel/UniLabel.h"

#include "tests/fakes/FakeEventLog.h"
#include "tests/widget/WindowsFixture.h"

namespace tz::test {
namespace {

class UniLabelTest : public ::testing::Test {
  protected:
    // A label in the container, black on white.
    std::unique_ptr<UniLabel> label(QWidget* parent = nullptr) {
        auto made = std::make_unique<UniLabel>(HookErrorReporting{log, {}},
                                               parent != nullptr ? parent : &container);
        made->setColor(rgbColor(255, 255, 255), rgbColor(0, 0, 0));
        return made;
    }

    fake::FakeEventLog log;
    QWidget container;
};

// The first column, from the left, with a pixel that is not white.
int firstInkColumn(UniLabel& label) {
    const QImage image = label.grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != Qt::white) {
                return x;
            }
        }
    }
    return -1;
}

TEST_F(UniLabelTest, ANewLabelIsLeftAlignedAndAStoredSetWithoutAlignmentOrFontIsNot) {
    auto first = label();
    EXPECT_EQ(first->caption(), "UniLabel1");
    EXPECT_EQ(label()->caption(), "UniLabel2");
    first->setGeometry(0, 0, 200, 30);
    EXPECT_LT(firstInkColumn(*first), 10);
    first->setFontBold(true);
    first->readProperties({{"Caption", QByteArray("Hi")},
                           {"BackColor", rgbColor(255, 255, 255)},
                           {"ForeColor", rgbColor(0, 0, 0)}});
    EXPECT_GT(firstInkColumn(*first), 150);      // right-aligned
    EXPECT_EQ(first->font(), container.font());  // the container's font
}

TEST_F(UniLabelTest, ACaptionInAnyScriptIsStoredAsUtf8AndReadBackEvenFromEightBitText) {
    const QString text = QString::fromUtf8("Καλημέρα — مرحبا — שלום — 你好");
    auto source = label();
    source->setCaption(text);
    const QVariantMap stored = source->writeProperties();
    EXPECT_EQ(stored["Caption"], QVariant(text.toUtf8()));
    for (const QVariant& caption :
         {stored["Caption"], QVariant(QString::fromLatin1(text.toUtf8()))}) {
        auto copy = label();
        copy->readProperties({{"Caption", caption}, {"PaddingLeft", 300}});
        EXPECT_EQ(copy->caption(), text);
        EXPECT_EQ(copy->paddingLeft(), 0);  // out of range: the default
    }
}

TEST_F(UniLabelTest, MouseEventsAreRaisedOnlyWithUseEventsAndAClickNeedsTheReleaseInside) {
    container.setProperty(kScaleModeProperty, "Pixel");
    auto target = label();
    target->setGeometry(10, 10, 100, 30);
    QStringList events;
    const auto note = [&events](const char* name) {
        return [&events, name](int button, int shift, float x, float y) {
            events << QString("%1 %2 %3 %4 %5").arg(name).arg(button).arg(shift).arg(x).arg(y);
        };
    };
    QObject::connect(target.get(), &UniLabel::mouseDown, note("Down"));
    QObject::connect(target.get(), &UniLabel::mouseUp, note("Up"));
    QObject::connect(target.get(), &UniLabel::click,
                     [&](int button) { events << "Click " + QString::number(button); });
    for (bool useEvents : {true, false}) {
        target->setUseEvents(useEvents);
        mouse(target.get(), QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton, Qt::LeftButton,
              Qt::ShiftModifier | Qt::ControlModifier);
        mouse(target.get(), QEvent::MouseButtonRelease, {5, 6}, Qt::LeftButton);
        mouse(target.get(), QEvent::MouseButtonRelease, {150, 6}, Qt::LeftButton);  // outside
    }
    EXPECT_EQ(events, (QStringList{"Down 1 3 5 6", "Up 0 0 5 6", "Click 1", "Up 0 0 150 6"}));
}

TEST_F(UniLabelTest, TheLabelCanEndBeforeItsContainerAndWithIt) {
    container.show();
    label()->show();  // ends at once, and the container's hook goes with it
    container.setProperty(kScaleModeProperty, "Pixel");
    container.repaint();
    auto doomed = std::make_unique<QWidget>();
    label(doomed.get()).release()->show();
    doomed->show();
    doomed.reset();  // the container ends, taking the label with it
    EXPECT_TRUE(log.errors.empty());
}

}  // namespace
}  // namespace tz::test

// The Unicode label and the message box; and the widget tests' main.
#include <QPainter>
#include <QWindow>

#include "gui/UnicodeMessageBox.h"
#include "tests/widget/WindowsFixture.h"
#include "unilabel/UniLabel.h"

namespace tz::test {
namespace {

// The first column, from the left, with a pixel that is not white.
int firstInkColumn(UniLabel& label) {
    const QImage image = label.grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != Qt::white)
                return x;
        }
    }
    return -1;
}

TEST(UniLabel, ANewLabelIsLeftAlignedAndAStoredSetWithoutAlignmentOrFontIsNot) {
    fake::FakeEventLog log;
    QWidget container;
    const auto label = [&] {
        return std::make_unique<UniLabel>(HookErrorReporting{log, {}}, &container);
    };
    auto first = label();
    EXPECT_EQ(first->caption(), "UniLabel1");
    EXPECT_EQ(label()->caption(), "UniLabel2");
    first->setGeometry(0, 0, 200, 30);
    first->setColor(rgbColor(255, 255, 255), rgbColor(0, 0, 0));
    EXPECT_LT(firstInkColumn(*first), 10);
    first->setFontBold(true);
    first->readProperties({{"Caption", QByteArray("Hi")},
                           {"BackColor", rgbColor(255, 255, 255)},
                           {"ForeColor", rgbColor(0, 0, 0)}});
    EXPECT_GT(firstInkColumn(*first), 150);      // right-aligned
    EXPECT_EQ(first->font(), container.font());  // the container's font
}

// Each rule as a label read from a property set (black "Wg" on white, fitted to its text unless the
// set says otherwise) that must draw as a reference label does, placed at `at`; the same change
// made through the setters, and the label read again from its own written set, must draw alike too.
TEST(UniLabel, EachRuleDrawsAsItsReferenceBySettersAndThroughItsPropertySet) {
    fake::FakeEventLog log;
    QWidget container;
    container.show();
    const auto label = [&](QVariantMap properties) {
        auto made = std::make_unique<UniLabel>(HookErrorReporting{log, {}}, &container, "L");
        made->setGeometry(0, 0, 60, 40);
        const QVariantMap defaults{{"Alignment", 0},
                                   {"AutoSize", true},
                                   {"BackColor", rgbColor(255, 255, 255)},
                                   {"Caption", QByteArray("Wg")},
                                   {"ForeColor", 0},
                                   {"UseEvents", false}};
        for (auto entry = defaults.begin(); entry != defaults.end(); ++entry)
            properties.insert(entry.key(), properties.value(entry.key(), entry.value()));
        made->readProperties(properties);
        made->show();
        return made;
    };
    const auto font = [&](double points, bool underline = false) {
        QFont font = container.font();
        font.setPointSizeF(points);
        font.setUnderline(underline);
        return font;
    };
    const QPalette desktop = QGuiApplication::palette();
    const auto rgb = [&](QPalette::ColorRole role) {
        const QColor color = desktop.color(role);
        return color.red() | color.green() << 8 | color.blue() << 16;  // 0x00BBGGRR
    };
    const QString greek = QString::fromUtf8("Καλημέρα");
    struct Case {
        const char* rule;
        QVariantMap label;
        std::function<void(UniLabel&)> set;  // the same from "Wg" at 60 x 40, AutoSize off
        QVariantMap reference;
        QPoint at{};
        QSize size{-1, -1};  // a side given: the label's; else the reference's plus twice `at`
    };
    const auto fit = [](auto... set) {
        return [=](UniLabel& l) { l.setAutoSize(true), (set(l), ...); };
    };
    // clang-format off
    const Case cases[] = {
        {"& underlines the next character", {{"Caption", "&W"}},
         fit([](UniLabel& l) { l.setCaption("&W"); }),
         {{"Caption", "W"}, {"Font", font(container.font().pointSizeF(), true)}}},
        {"&& draws one &; UseMnemonic off draws every &", {{"Caption", "&W"}, {"UseMnemonic", false}},
         fit([](UniLabel& l) { l.setCaption("&W"), l.setUseMnemonic(false); }), {{"Caption", "&&W"}}},
        {"paddings surround the text",
         {{"PaddingLeft", 4}, {"PaddingTop", 2}, {"PaddingRight", 4}, {"PaddingBottom", 2}},
         fit([](UniLabel& l) { l.setPadding(4, 2, 0, 2), l.setPaddingRight(4); }), {}, {4, 2}},
        {"a padding out of range is none", {{"PaddingLeft", 300}}, nullptr, {}},
        {"AutoSize off keeps the size", {{"AutoSize", false}}, nullptr, {}, {}, {60, 40}},
        {"RightToLeft keeps the side", {{"AutoSize", false}, {"RightToLeft", true}},
         [](UniLabel& l) { l.setRightToLeft(true); }, {}, {}, {60, 40}},
        {"WordWrap keeps the width and wraps at words", {{"Caption", "Wg Wg Wg"}, {"WordWrap", true}},
         [](UniLabel& l) { l.setCaption("Wg Wg Wg"), l.setWordWrap(true), l.setAutoSize(true); },
         {{"Caption", "Wg Wg\nWg"}, {"WordWrap", true}}, {}, {60, -1}},
        {"10.5 points draw as 10", {{"Font", font(10.5)}},
         fit([](UniLabel& l) { l.setFontSize(10.5f); }), {{"Font", font(10)}}},
        {"11.5 points draw as 12", {{"Font", font(11.5)}},
         fit([](UniLabel& l) { l.setFontSize(11.5f); }), {{"Font", font(12)}}},
        {"a negative colour is a system colour by its low byte",
         {{"BackColor", int(0xFFFFFF00 | kColorHighlight)},
          {"ForeColor", qint64(systemColor(kColorHighlightText)) & 0xFFFFFFFF}},
         fit([](UniLabel& l) { l.setBackColor(int(0xFFFFFF00 | kColorHighlight)),
                               l.setForeColor(systemColor(kColorHighlightText)); }),
         {{"BackColor", rgb(QPalette::Highlight)}, {"ForeColor", rgb(QPalette::HighlightedText)}}},
        {"without colours: 3D face and button text", {{"BackColor", QVariant()}, {"ForeColor", QVariant()}},
         nullptr, {{"BackColor", rgb(QPalette::Window)}, {"ForeColor", rgb(QPalette::WindowText)}}},
        {"a caption in 8-bit text is UTF-8", {{"Caption", QString::fromLatin1(greek.toUtf8())}},
         fit([&](UniLabel& l) { l.setCaption(greek); }), {{"Caption", greek}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const auto first = label(c.label);
        const auto reference = label(c.reference);
        QImage expected(first->size(), QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::white);
        QPainter(&expected).drawImage(c.at, reference->grab().toImage());
        const QImage drawn = first->grab().toImage().convertToFormat(expected.format());
        EXPECT_EQ(drawn, expected) << c.rule;
        const QSize grown = reference->size() + 2 * QSize(c.at.x(), c.at.y());
        EXPECT_EQ(first->size(), QSize(c.size.width() < 0 ? grown.width() : c.size.width(),
                                       c.size.height() < 0 ? grown.height() : c.size.height()))
            << c.rule;
        if (c.set) {
            const auto set = label({{"AutoSize", false}});
            c.set(*set);
            EXPECT_EQ(set->grab().toImage().convertToFormat(expected.format()), drawn) << c.rule;
        }
        QVariantMap written = first->writeProperties();
        const auto copy = label(written);
        EXPECT_EQ(copy->grab().toImage(), first->grab().toImage()) << c.rule;
        QVariantMap rewritten = copy->writeProperties();
        EXPECT_EQ(rewritten.take("MouseIcon").value<QPixmap>().isNull(),
                  written.take("MouseIcon").value<QPixmap>().isNull());
        EXPECT_EQ(rewritten, written) << c.rule;
        EXPECT_EQ(written.size(), 16) << c.rule;
    }

    // Without AutoSize the text stays out of the paddings.
    const QImage clipped =
        label({{"AutoSize", false}, {"Caption", "WWWWWWWW"}, {"PaddingRight", 30}})
            ->grab()
            .toImage();
    QImage blank = clipped.copy(30, 0, 30, 40);
    blank.fill(Qt::white);
    EXPECT_EQ(clipped.copy(30, 0, 30, 40), blank);

    // Mouse events: the buttons held after the event, Shift 1, Ctrl 2 and Alt 4, X and Y in twips,
    // then in the unit the container names.
    const auto target = label({{"ForeColor", systemColor(kColorHighlight)}, {"UseEvents", true}});
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
    QObject::connect(target.get(), &UniLabel::dblClick,
                     [&](int button) { events << "Double " + QString::number(button); });
    mouse(target.get(), QEvent::MouseButtonPress, {2, 3}, Qt::RightButton,
          Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
    container.setProperty(kScaleModeProperty, "Pixel");
    mouse(target.get(), QEvent::MouseButtonRelease, {2, 3}, Qt::RightButton, Qt::LeftButton,
          Qt::AltModifier);
    mouse(target.get(), QEvent::MouseButtonDblClick, {2, 3}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(events, (QStringList{"Down 3 3 30 45", "Up 1 4 2 3", "Click 2", "Double 1"}));
    target->setMousePointer(5);
    EXPECT_EQ(target->cursor().shape(), Qt::SizeAllCursor);
    target->setMousePointer(0);
    EXPECT_FALSE(target->testAttribute(Qt::WA_SetCursor));  // the container's
    const QSize fitted = target->size();
    target->resize(100, 100);  // by the container: AutoSize fits it again
    EXPECT_EQ(target->size(), fitted);

    // A system colour follows the desktop's.
    QPalette changed = desktop;
    changed.setColor(QPalette::Highlight, QColor(1, 2, 3));
    QApplication::setPalette(changed);
    QEvent paletteChange(QEvent::ApplicationPaletteChange);  // the toolkit's, once its loop runs
    QApplication::sendEvent(target.get(), &paletteChange);
    EXPECT_EQ(target->resolvedForeColor(), QColor(1, 2, 3));
    QApplication::setPalette(desktop);
}

TEST(UnicodeMessageBox, TheStyleChoosesTheButtonsTheDefaultAndTheIcon) {
    using B = QMessageBox;
    const std::tuple<std::uint32_t, B::StandardButtons, B::StandardButton, B::Icon> cases[] = {
        {48, B::Ok, B::Ok, B::Warning},
        {68, B::Yes | B::No, B::Yes, B::Information},
        {0x104, B::Yes | B::No, B::No, B::NoIcon},
    };
    for (const auto& [style, buttons, defaultButton, icon] : cases) {
        auto box = buildUnicodeMessageBox("a\r\nb\rc<BR>d", style, "Νέα [*] 2", "", nullptr);
        EXPECT_EQ(box->standardButtons(), buttons);
        EXPECT_EQ(box->defaultButton(), box->button(defaultButton));
        EXPECT_EQ(box->icon(), icon);
        EXPECT_EQ(box->text(), "a\nb\nc<BR>d");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        box->winId();  // Qt would drop "[*]" from a window title
        EXPECT_EQ(box->windowHandle()->title(), QString::fromUtf8("Νέα [*] 2"));
    }
    EXPECT_EQ(buildUnicodeMessageBox("", 9, "x", "", nullptr), nullptr);  // unknown buttons
}

}  // namespace
}  // namespace tz::test

int main(int argc, char** argv) {
    // The windows are tested without a display unless one is asked for.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_XCB_GL_INTEGRATION", "none", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

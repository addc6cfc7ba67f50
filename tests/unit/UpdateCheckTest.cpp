#include "core/update/UpdateCheck.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeHttpFetch.h"

namespace tz {
namespace {

const std::string kLocal = "001008001";

TEST(UpdateCheck, NewsIsExactlyNineCharactersGreaterByCharacterCode) {
    EXPECT_EQ(localVersionCode(1, 8, 1), kLocal);
    EXPECT_TRUE(isNews("001008002", kLocal));
    EXPECT_TRUE(isNews("00100800A", kLocal));
    EXPECT_FALSE(isNews("001008001", kLocal));
    EXPECT_FALSE(isNews("001007009", kLocal));
    for (const char* wrongLength : {"001009000\r\n", "1.9.0", "0010090000", ""}) {
        EXPECT_FALSE(isNews(wrongLength, kLocal)) << wrongLength;
    }
    // Characters, not bytes: an e-acute in UTF-8 or in Windows-1252 is one.
    EXPECT_TRUE(isNews("00100800\xC3\xA9", kLocal));
    EXPECT_TRUE(isNews("00100800\xE9", kLocal));
}

TEST(UpdateCheck, EveryBrBecomesAnEmptyLine) {
    EXPECT_EQ(expandLineBreaks("First<BR>Second"), "First\r\n\r\nSecond");
    EXPECT_EQ(expandLineBreaks("<BR>a<BR><BR>b<br>"), "\r\n\r\na\r\n\r\n\r\n\r\nb<br>");
}

class AnsweringPrompt : public UpdatePrompt {
  public:
    explicit AnsweringPrompt(int answer) : answer_(answer) {}
    int ask(const std::string& text, std::uint32_t style, const std::string& title) override {
        asked.push_back(title + "|" + std::to_string(style) + "|" + text);
        return answer_;
    }
    void openProductPage() override { ++pagesOpened; }

    std::vector<std::string> asked;
    int pagesOpened = 0;

  private:
    int answer_;
};

TEST(UpdateCheck, AsksOnNewsAndEndsOnlyOnYes) {
    const std::string url = "https://example.test/ver_tindromouse.txt";
    TextTable texts;
    texts[31] = "A new release.<BR>Open the page?";
    texts[32] = "Update";
    fake::FakeHttpFetch http;
    http.bodies[url] = "001009000";

    AnsweringPrompt yes(6), no(7);
    EXPECT_TRUE(CheckForUpdate(http, url, "Agent/1", texts, kLocal, yes));
    EXPECT_EQ(yes.asked,
              std::vector<std::string>{"Update|68|A new release.\r\n\r\nOpen the page?"});
    EXPECT_EQ(yes.pagesOpened, 1);
    EXPECT_EQ(http.requests.at(0).agent, "Agent/1");
    EXPECT_FALSE(CheckForUpdate(http, url, "Agent/1", texts, kLocal, no));
    EXPECT_EQ(no.asked.size(), 1u);
    EXPECT_EQ(no.pagesOpened, 0);

    // No network (an empty body) or no news: nothing is asked.
    AnsweringPrompt unasked(6);
    EXPECT_FALSE(CheckForUpdate(http, "https://unreachable.test/", "a", texts, kLocal, unasked));
    http.bodies[url] = kLocal;
    EXPECT_FALSE(CheckForUpdate(http, url, "a", texts, kLocal, unasked));
    EXPECT_TRUE(unasked.asked.empty());
    EXPECT_EQ(unasked.pagesOpened, 0);
}

}  // namespace
}  // namespace tz

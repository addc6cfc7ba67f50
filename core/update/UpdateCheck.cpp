#include "core/update/UpdateCheck.h"

#include <algorithm>
#include <cstdio>

#include "core/i18n/TextCodePage.h"

namespace tz {

std::string localVersionCode(int major, int minor, int revision) {
    // Parts stay below 1000; clamping keeps the code nine digits whatever happens.
    const auto part = [](int value) { return std::clamp(value, 0, 999); };
    char code[16];
    std::snprintf(code, sizeof code, "%03d%03d%03d", part(major), part(minor), part(revision));
    return code;
}

namespace {

std::size_t countCodePoints(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

bool isNews(std::string_view response, std::string_view localCode) {
    const std::string text = decodeLocalText(response);
    // Byte order of UTF-8 is code point order, so this compares by character code.
    return countCodePoints(text) == 9 && std::string_view(text) > localCode;
}

std::string expandLineBreaks(std::string_view text) {
    constexpr std::string_view kTag = "<BR>";
    std::string expanded;
    std::size_t from = 0;
    for (auto at = text.find(kTag); at != std::string_view::npos; at = text.find(kTag, from)) {
        expanded.append(text.substr(from, at - from)).append("\r\n\r\n");
        from = at + kTag.size();
    }
    expanded.append(text.substr(from));
    return expanded;
}

bool CheckForUpdate(HttpFetch& http, const std::string& url, const std::string& agent,
                    const TextTable& texts, const std::string& localCode, UpdatePrompt& prompt) {
    if (!isNews(http.fetch(url, agent), localCode)) {
        return false;
    }
    const int answer = prompt.ask(expandLineBreaks(texts[TextId::UpdateMessage]),
                                  kUpdateMessageStyle, texts[TextId::UpdateTitle]);
    if (answer != kAnswerYes) {
        return false;
    }
    prompt.openProductPage();
    return true;
}

}  // namespace tz

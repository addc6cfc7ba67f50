#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/i18n/TextTable.h"
#include "platform/HttpFetch.h"

namespace tz {

// The nine-digit code of a release: each part as three digits with leading
// zeros, joined (1, 8, 1 gives "001008001").
std::string localVersionCode(int major, int minor, int revision);

// Whether the version file names a newer release: its text, decoded like any
// local text, is exactly nine characters long and greater than the local code
// character by character. Nothing is trimmed, so a trailing line end is no news.
bool isNews(std::string_view response, std::string_view localCode);

// Every "<BR>" of the update message becomes an empty line (CR LF CR LF).
std::string expandLineBreaks(std::string_view text);

// The question asked when a newer release exists, and its Yes action.
class UpdatePrompt {
  public:
    virtual ~UpdatePrompt() = default;
    // Shows a message box and returns the button pressed (6 for Yes).
    virtual int ask(const std::string& text, std::uint32_t style, const std::string& title) = 0;
    virtual void openProductPage() = 0;
};

inline constexpr std::uint32_t kUpdateMessageStyle = 68;  // Yes and No, information icon
inline constexpr int kAnswerYes = 6;

// Fetches the version file and, when it names a newer release, asks whether
// to open the product page. Returns true when the user said Yes: the page has
// been opened and the program must end.
bool CheckForUpdate(HttpFetch& http, const std::string& url, const std::string& agent,
                    const TextTable& texts, const std::string& localCode, UpdatePrompt& prompt);

}  // namespace tz

#include "gui/ApplyTexts.h"

#include "gui/ClickBar.h"
#include "gui/ExitWindow.h"
#include "gui/OptionsWindow.h"
#include "gui/WindowManager.h"

namespace tz {

void ApplyTexts(WindowManager& w) {
    const TextTable& texts = w.app().texts;
    w.bar().retranslate(texts);
    // Making the options window runs its load step, which applies the texts
    // itself and makes the exit window on the way.
    w.makeOptionsWindow();
    w.optionsWindow()->retranslate(texts);
    w.makeExitWindow();
    w.exitWindow()->retranslate(texts);
}

}  // namespace tz

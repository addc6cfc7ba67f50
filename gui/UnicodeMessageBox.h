#pragma once
#include <QMessageBox>
#include <QPushButton>  // callers hand push buttons to SetWindowTextUnicode
#include <QtGlobal>
#include <cstdint>
#include <memory>
#include <string>

#include "unilabel/MessageHook.h"

class QWidget;

namespace tz {

// The picture a box shows when its caller names an icon that is not a
// picture of the program's resources.
inline constexpr const char* kMessageBoxUserIcon = ":/images/icon/icon-48.png";

// A message box set up from a style value (buttons, icon, default button),
// modal, above every window, not yet shown. Text is plain UTF-8 text; its CR LF
// and CR line ends become line breaks. Null when the style names no known set
// of buttons. With an owner, release the box before the owner is destroyed.
std::unique_ptr<QMessageBox> buildUnicodeMessageBox(const std::string& prompt, std::uint32_t style,
                                                    const std::string& title,
                                                    const std::string& iconName, QWidget* owner);

// The owner window of a box: with owner 0, the program's active window if any,
// whose id is then written back to `owner`; otherwise the window of that id.
QWidget* resolveMessageBoxOwner(quintptr& owner);

// The number a closed box returns for the button that closed it: 1 OK,
// 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No; 0 when none did.
int unicodeMessageBoxResult(const QMessageBox& box);

// Shows a modal message box and returns the number of the button chosen, or 0
// when it could not be shown. owner: 0 lets the routine choose (see
// resolveMessageBoxOwner).
int UnicodeMessageBox(const std::string& prompt, std::uint32_t style, const std::string& title,
                      const std::string& iconName, quintptr& owner);

// Gives a button its caption (UTF-8; '&' marks the mnemonic). Null: nothing.
void SetWindowTextUnicode(QAbstractButton* control, const std::string& text);

// A reporting of message hooking errors that shows its boxes with UnicodeMessageBox.
HookErrorReporting withUnicodeMessageBox(EventLog& log);

}  // namespace tz

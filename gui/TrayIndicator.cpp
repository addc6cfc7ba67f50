#include "gui/TrayIndicator.h"

#include <QActionGroup>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QToolTip>
#include <algorithm>

namespace tz {

namespace {

// The resting kinds in the bar's order, each with its menu item's name and
// text; the scroll item shows only while the bar shows its button.
struct Kind {
    ClickMode mode;
    const char* name;
    std::size_t text;
};
constexpr Kind kKinds[] = {
    {ClickMode::DoubleClick, "doubleClickAction", TextId::DoubleClickTip},
    {ClickMode::LeftClick, "leftClickAction", TextId::LeftClickTip},
    {ClickMode::Drag, "dragAction", TextId::DragTip},
    {ClickMode::RightClick, "rightClickAction", TextId::RightClickTip},
    {ClickMode::MiddleClick, "middleClickAction", TextId::MiddleClickTip},
    {ClickMode::Scroll, "scrollAction", TextId::Scroll},
};

QString text(const TextTable& texts, std::size_t id) {
    return QString::fromStdString(texts[id]);
}

// The bar button's picture for `mode` (its index is the mode's number), with
// its double-size rendering for sharp icons on high-resolution screens.
QIcon buttonIcon(ClickMode mode) {
    const int index = static_cast<int>(mode);
    QIcon icon(QStringLiteral(":/images/bar/button%1.jpg").arg(index));
    icon.addFile(QStringLiteral(":/images/bar/button%1@2x.jpg").arg(index));
    return icon;
}

// A menu item's text as written: a lone "&" would mark an access key.
QString itemText(const TextTable& texts, std::size_t id) {
    return text(texts, id).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace

TrayIndicator::TrayIndicator() : menu_(std::make_unique<QMenu>()) {
    menu_->setObjectName(QStringLiteral("trayMenu"));
    // Not a popup: a popup grabs the keyboard and the pointer while it is open,
    // so keys typed meanwhile would be lost. Rests choose its items and a rest
    // outside closes it, so it needs neither grab.
    menu_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::BypassWindowManagerHint);
    menu_->setAttribute(Qt::WA_ShowWithoutActivating);
    pauseAction_ = addAction("pauseAction");
    menu_->addSeparator();
    kinds_ = new QActionGroup(this);
    kinds_->setExclusive(true);
    for (const Kind& kind : kKinds) {
        QAction* action = addAction(kind.name);
        action->setCheckable(true);
        action->setVisible(kind.mode != ClickMode::Scroll);
        kinds_->addAction(action);
        const ClickMode mode = kind.mode;
        QObject::connect(action, &QAction::triggered, this,
                         [this, mode] { emit clickModeChosen(mode); });
    }
    menu_->addSeparator();
    optionsAction_ = addAction("optionsAction");
    helpAction_ = addAction("helpAction");
    aboutAction_ = addAction("aboutAction");
    menu_->addSeparator();
    quitAction_ = addAction("quitAction");
    QObject::connect(pauseAction_, &QAction::triggered, this, &TrayIndicator::pauseToggled);
    QObject::connect(optionsAction_, &QAction::triggered, this, &TrayIndicator::optionsRequested);
    QObject::connect(helpAction_, &QAction::triggered, this, &TrayIndicator::helpRequested);
    QObject::connect(aboutAction_, &QAction::triggered, this, &TrayIndicator::aboutRequested);
    QObject::connect(quitAction_, &QAction::triggered, this, &TrayIndicator::quitRequested);

    icon_ = new QSystemTrayIcon(this);
    icon_->setObjectName(QStringLiteral("trayIcon"));
    icon_->setContextMenu(menu_.get());
    // The icon's tooltip, which comes up while the pointer rests on the icon,
    // would hide the menu's first item: it waits until the menu closes.
    QObject::connect(menu_.get(), &QMenu::aboutToShow, this, [this] {
        icon_->setToolTip(QString());
        QToolTip::hideText();
    });
    QObject::connect(menu_.get(), &QMenu::aboutToHide, this, [this] { showState(); });
    // A click by hand opens the menu too, or closes the open one.
    QObject::connect(icon_, &QSystemTrayIcon::activated, this,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger) {
                             menu_->isVisible() ? menu_->hide() : openMenuBeside(icon_->geometry());
                         }
                     });
    showState();
}

TrayIndicator::~TrayIndicator() = default;

QAction* TrayIndicator::addAction(const char* name) {
    QAction* action = menu_->addAction(QString());
    action->setParent(this);
    action->setObjectName(QLatin1String(name));
    return action;
}

bool TrayIndicator::restActsAt(QPoint global) const {
    return menu_->isVisible() || (icon_->isVisible() && icon_->geometry().contains(global));
}

void TrayIndicator::actAt(QPoint global) {
    if (menu_->isVisible()) {
        const QPoint inMenu = menu_->mapFromGlobal(global);
        QAction* action = menu_->rect().contains(inMenu) ? menu_->actionAt(inMenu) : nullptr;
        if (action != nullptr && action->isEnabled() && !action->isSeparator()) {
            menu_->hide();
            action->trigger();
        } else if (!menu_->geometry().contains(global) && !icon_->geometry().contains(global)) {
            menu_->hide();
        }
    } else if (icon_->isVisible() && icon_->geometry().contains(global)) {
        openMenuBeside(icon_->geometry());
    }
}

void TrayIndicator::openMenuBeside(const QRect& icon) {
    // Below the icon, or above it where the screen ends, so that the pointer
    // resting on the icon is not on an item yet. A panel that keeps the icon's
    // place to itself gets the menu at the pointer.
    if (!icon.isValid()) {
        menu_->popup(pointerPlace_ ? pointerPlace_() : QCursor::pos());
        return;
    }
    const QScreen* screen = QGuiApplication::screenAt(icon.center());
    const QRect room = screen != nullptr ? screen->geometry() : QRect();
    const QSize size = menu_->sizeHint();
    QPoint at(icon.left(), icon.bottom() + 1);
    if (!room.isNull()) {
        if (at.y() + size.height() > room.bottom() + 1) {
            at.setY(icon.top() - size.height());
        }
        at.setX(std::clamp(at.x(), room.left(),
                           std::max(room.left(), room.right() + 1 - size.width())));
    }
    menu_->popup(at);
}

void TrayIndicator::setEnabled(bool wanted) {
    // Wanted is enough: Qt docks the icon once a tray appears, as it does when
    // the program starts at logon before the desktop's panel.
    icon_->setVisible(wanted);
}

void TrayIndicator::offerScroll(bool offered) {
    kinds_->actions().back()->setVisible(offered);
}

void TrayIndicator::showClickMode(ClickMode mode) {
    if (mode == ClickMode::Pause) {
        paused_ = true;
    } else if (std::any_of(std::begin(kKinds), std::end(kKinds),
                           [mode](const Kind& kind) { return kind.mode == mode; })) {
        paused_ = false;
        kind_ = mode;
    } else {
        return;
    }
    showState();
}

void TrayIndicator::retranslate(const TextTable& texts) {
    texts_ = texts;
    const QList<QAction*> kinds = kinds_->actions();
    for (std::size_t i = 0; i < std::size(kKinds); ++i) {
        kinds.at(static_cast<qsizetype>(i))->setText(itemText(texts, kKinds[i].text));
    }
    const std::pair<QAction*, std::size_t> items[] = {{optionsAction_, TextId::OptionsTitle},
                                                      {helpAction_, TextId::HelpTip},
                                                      {aboutAction_, TextId::About},
                                                      {quitAction_, TextId::ExitTitle}};
    for (const auto& [action, id] : items) {
        action->setText(itemText(texts, id));
    }
    showState();
}

void TrayIndicator::showState() {
    pauseAction_->setText(
        itemText(texts_, paused_ ? TextId::ResumeClicking : TextId::PauseClicking));
    for (std::size_t i = 0; i < std::size(kKinds); ++i) {
        if (kKinds[i].mode == kind_) {
            kinds_->actions().at(static_cast<qsizetype>(i))->setChecked(true);
            icon_->setToolTip(text(texts_, TextId::ProgramName) + QLatin1Char('\n') +
                              text(texts_, paused_ ? TextId::ClickingPaused : kKinds[i].text));
        }
    }
    icon_->setIcon(buttonIcon(paused_ ? ClickMode::Pause : kind_));
}

}  // namespace tz

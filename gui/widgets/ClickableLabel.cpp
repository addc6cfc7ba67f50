#include "gui/widgets/ClickableLabel.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace tz {

namespace {

// What a screen reader sees of a ClickableLabel. Everything is read afresh,
// since the label's role, action and choice are set after it is made.
class ClickableLabelAccessible : public QAccessibleWidget {
  public:
    explicit ClickableLabelAccessible(ClickableLabel* label) : QAccessibleWidget(label) {}

    QAccessible::Role role() const override {
        if (label()->accessibleRole != QAccessible::NoRole) {
            return label()->accessibleRole;
        }
        return label()->pixmap().isNull() ? QAccessible::StaticText : QAccessible::Graphic;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (label()->isChecked) {
            state.checkable = true;
            state.checked = label()->isChecked();
        }
        return state;
    }

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) {
            text = label()->text();
        }
        return text;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (label()->pressable()) {
            names.prepend(pressAction());
        }
        return names;
    }

    void doAction(const QString& name) override {
        if (name == pressAction() && label()->pressable()) {
            label()->press();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

  private:
    ClickableLabel* label() const { return static_cast<ClickableLabel*>(widget()); }
};

QAccessibleInterface* accessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(ClickableLabel::staticMetaObject.className())) {
        return new ClickableLabelAccessible(static_cast<ClickableLabel*>(object));
    }
    return nullptr;
}

}  // namespace

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
}

void ClickableLabel::press() {
    if (onPress) {
        onPress();
    } else if (onClick) {
        onClick();
    }
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        onMouseMove();
    }
    event->accept();
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click && onClick) {
        onClick();
    }
}

}  // namespace tz

#pragma once
#include <QCheckBox>

namespace tz {

// A check box that can hold 0 (clear), 1 (set) or 2 (greyed), and that a click
// always turns into set or clear: set becomes clear, anything else set.
class TriStateCheckBox : public QCheckBox {
  public:
    explicit TriStateCheckBox(QWidget* parent) : QCheckBox(parent) { setTristate(true); }

  protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

}  // namespace tz

#pragma once

namespace dravlet {

// While a click handler runs, the accessibility updates of the window are held back;
// when it ends they are sent in the order a screen reader needs to tell the learner
// the truth: every change first, then one focus event for the control that ends up
// with the focus, last. The focused control's own text, caret, name and description
// changes are left out, since the focus event makes the reader read it afresh:
// sent first, they would let the reader follow the focus there silently and then
// treat the focus event as no change. Only one holder is active at a time, on the
// one GUI thread.
class HeldAccessibilityUpdates {
public:
    HeldAccessibilityUpdates();
    ~HeldAccessibilityUpdates();
    HeldAccessibilityUpdates(const HeldAccessibilityUpdates&) = delete;
    HeldAccessibilityUpdates& operator=(const HeldAccessibilityUpdates&) = delete;
};

}  // namespace dravlet

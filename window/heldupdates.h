// SPDX-License-Identifier: MIT
#pragma once

namespace dravlet {

// While a click handler runs, the accessibility updates of the window are held back;
// when it ends they are sent in the order a screen reader needs to tell the learner
// the truth: every change first, then one focus event for the control that ends up
// with the focus. The focused control's own text and caret changes are left out,
// since the focus event makes the reader read it afresh: sent first, they would let
// the reader follow the focus there silently and then treat the focus event as no
// change. Its name and description changes go first, while the reader's focus is
// still elsewhere, so every client's cache is fresh when the focus comes; those of
// other controls go after the focus event, so the reader never takes them for news
// about the control that had the focus (the button just pressed). Only one holder
// is active at a time, on the one GUI thread.
class HeldAccessibilityUpdates {
public:
    HeldAccessibilityUpdates();
    ~HeldAccessibilityUpdates();
    HeldAccessibilityUpdates(const HeldAccessibilityUpdates&) = delete;
    HeldAccessibilityUpdates& operator=(const HeldAccessibilityUpdates&) = delete;
};

}  // namespace dravlet

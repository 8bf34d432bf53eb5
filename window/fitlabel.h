// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QLabel>

namespace dravlet {

// A label of fixed size whose text is never clipped: when a caption does not fit at
// the label's own font, it is shown at the largest smaller size that fits.
class FitLabel final : public QLabel {
public:
    FitLabel(const QFont& font, QWidget* parent);

    void setCaption(const QString& caption);
    // The font the label is meant to show, before any shrinking.
    const QFont& baseFont() const { return m_baseFont; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitFont();

    QFont m_baseFont;
};

}  // namespace dravlet

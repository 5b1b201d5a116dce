// \brief The picture button's look and keys.
#include "crash/ui/picture_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

namespace kestrix {

PictureButton::PictureButton(const QString& caption,
                             const QIcon& picture,
                             bool withPicture,
                             QWidget* parent)
    : QPushButton(caption, parent) {
    if (withPicture) {
        setIcon(picture);
        setIconSize(QSize(16, 16));
    }
    setFixedHeight(withPicture ? 26 : 22);
    setAutoDefault(true);
    const int textWidth = fontMetrics().horizontalAdvance(caption);
    setMinimumWidth(std::max(100, textWidth + (withPicture ? 16 + 8 : 0) + 24));
}

void PictureButton::SetFill(double fraction) {
    m_fill = std::clamp(fraction, 0.0, 1.0);
    update();
}

void PictureButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (m_fill <= 0) {
        return;
    }
    QPainter painter(this);
    QColor fill = palette().color(QPalette::Highlight);
    fill.setAlpha(80);
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    painter.fillRect(
        QRect(inside.topLeft(), QSize(static_cast<int>(inside.width() * m_fill), inside.height())),
        fill);
}

// The arrow keys move between the box's buttons like Tab and Shift+Tab.
void PictureButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            focusPreviousChild();
            return;
        case Qt::Key_Right:
        case Qt::Key_Down:
            focusNextChild();
            return;
        default:
            QPushButton::keyPressEvent(event);
    }
}

}  // namespace kestrix

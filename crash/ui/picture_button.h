// \brief A failure box button: its picture and caption, and the progress fill that shows how soon
// the automatic button presses itself.
#pragma once

#include <QPushButton>

namespace kestrix {

class PictureButton : public QPushButton {
  public:
    // Without `withPicture` a plain button 22 pixels high; with it 26 pixels and the picture.
    PictureButton(const QString& caption, const QIcon& picture, bool withPicture, QWidget* parent);

    // 0 (none) to 1 (full).
    void SetFill(double fraction);
    double Fill() const { return m_fill; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    double m_fill = 0;
};

}  // namespace kestrix

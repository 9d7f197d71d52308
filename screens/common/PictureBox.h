#pragma once

#include <QWidget>

namespace tonovka {

// A picture control: shows a shared picture, at its natural size (the control takes the
// picture's size, keeping its top-left corner) or stretched over a fixed area. It keeps the
// very picture object it is given, so two controls can be compared for showing the same one.
// To assistive technology a picture that answers clicks is a button that can be pressed, and
// any other picture is a graphic.
class PictureBox final : public QWidget {
    Q_OBJECT

public:
    enum class Fit { NaturalSize, Stretch };

    PictureBox(const QString& name, QWidget* parent, Fit fit = Fit::NaturalSize);

    void setPicture(const QPixmap& picture);
    const QPixmap* picture() const { return m_picture; }

    // Whether anything listens to clicks on this picture.
    bool answersClicks() const;
    // Does what a click does: announces the click.
    void click();

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QPixmap* m_picture = nullptr;
    Fit m_fit;
    bool m_pressed = false;
};

} // namespace tonovka

#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace zentaris::tutorial {

// A soft black shadow under a rounded frame that changes many times a second, such as a playing
// film. A graphics effect on the film would blur again for every new picture; this lies beneath
// the frame as a sibling of its own, blurred once for its size, and follows the frame around.
class FilmShadow : public QWidget {
public:
    FilmShadow(QWidget* frame, double opacity, double radius, double offsetY, double cornerRadius);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow();
    QImage render() const;

    QPointer<QWidget> frame_;
    double opacity_;
    double radius_;
    double offsetY_;
    double cornerRadius_;
    QImage cache_;
};

} // namespace zentaris::tutorial

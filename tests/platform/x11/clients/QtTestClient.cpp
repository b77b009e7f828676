// A toolkit window for the backend's tests: a plain Qt widget window titled by its first argument.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("qt client"));
    window.resize(500, 400);
    window.show();
    return app.exec();
}

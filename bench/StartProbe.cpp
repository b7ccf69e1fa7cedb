// A bare Qt window of her size, the yardstick for her start-up.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(208, 452);
    window.show();
    return app.exec();
}

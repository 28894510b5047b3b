#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Stavox Mixer 2.17"));
    w.showMaximized();
    return app.exec();
}

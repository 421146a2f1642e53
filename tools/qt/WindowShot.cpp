// Saves a picture of one window of the X display, as the X server shows it:
//   varnok_window_shot WINDOW_ID FILE.png
// The build's screenshot of the main window uses it (tools/window-screenshot.sh).

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <iostream>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: varnok_window_shot WINDOW_ID FILE.png\n";
        return 2;
    }
    bool ok = false;
    const auto window = static_cast<WId>(QString::fromLocal8Bit(argv[1]).toULongLong(&ok, 0));
    if (!ok) {
        std::cerr << "varnok_window_shot: not a window id: " << argv[1] << "\n";
        return 2;
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
    if (shot.isNull()) {
        std::cerr << "varnok_window_shot: window " << argv[1] << " cannot be grabbed\n";
        return 1;
    }
    if (!shot.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::cerr << "varnok_window_shot: " << argv[2] << " cannot be written\n";
        return 1;
    }
    std::cout << shot.width() << "x" << shot.height() << "\n";
    return 0;
}

#include <QApplication>
#include <QDialog>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog window;
    window.setWindowTitle(QStringLiteral("Varnok Keyboard 3.0 Designed by QV"));
    window.setWindowIcon(QIcon(QStringLiteral(":/varnok.png")));
    return window.exec() == QDialog::Accepted ? 0 : 0;
}

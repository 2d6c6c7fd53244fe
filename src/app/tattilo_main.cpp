#include <QApplication>
#include <QMainWindow>
#include <iostream>

#include "app/display_check.h"

int main(int argc, char** argv) {
    std::string why;
    if (!app::displayAvailable(why)) {
        std::cerr << app::noDisplayAdvice("tattilo", why);
        return 1;
    }
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tattilo"));
    window.show();
    return application.exec();
}

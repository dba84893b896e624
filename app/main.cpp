#include "mainwin/form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HzDot"));
    Form1 window(QCoreApplication::applicationDirPath());
    window.show();
    return QApplication::exec();
}

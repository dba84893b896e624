#include "gui/common/qt_chinese.h"
#include "gui/mainwin/form1.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <cstdio>
#include <cstring>

using namespace hz::gui;

namespace {

constexpr const char* kUsage =
    "Usage: hzdot [Qt options]\n"
    "Opens the HzDot window: look up Chinese characters in a dot-matrix font library and copy or\n"
    "export their bytes in five arrangements, as assembly DB lines and C arrays.\n"
    "\n"
    "  -h, --help       print this text and exit\n"
    "      --version    print the version and exit\n"
    "\n"
    "The six library files are read from the program's folder, or from ../share/hzdot/fonts beside\n"
    "it in an installed copy. Qt's own options (-platform, -style, -display, ...) are accepted too.\n"
    "Exit status: 0 when the window was closed; without a display Qt stops it with a message.\n";

// Answered before the window system is touched, so they work without a display.
int answerQuestion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("hzdot (HzDot) " HZDOT_VERSION "\n", stdout);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (const int status = answerQuestion(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HzDot"));
    QApplication::setApplicationVersion(QStringLiteral(HZDOT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("hzdot"));
    // The installed icon (share/icons/hicolor); a build folder has none and keeps the default.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("hzdot")));
    const auto qtChinese = hz::gui::installQtChinese(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    Form1 window(QCoreApplication::applicationDirPath());
    window.show();
    return QApplication::exec();
}

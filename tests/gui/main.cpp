#include "gui_test_registry.h"

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <vector>

std::vector<GuiTestFactory>& guiTests() {
    static std::vector<GuiTestFactory> tests;
    return tests;
}

// "gui_tests --class NAME [Qt Test options]" runs one test class, so that each class is its own
// entry for CTest; without --class every class runs.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const char* only = nullptr;
    std::vector<char*> args(argv, argv + argc);
    if (args.size() >= 3 && std::strcmp(args[1], "--class") == 0) {
        only = args[2];
        args.erase(args.begin() + 1, args.begin() + 3);
    }
    const int testArgc = static_cast<int>(args.size());
    int failed = 0;
    int ran = 0;
    for (const auto& make : guiTests()) {
        auto test = make();
        if (only && std::strcmp(test->metaObject()->className(), only) != 0)
            continue;
        ++ran;
        failed += QTest::qExec(test.get(), testArgc, args.data()) != 0 ? 1 : 0;
    }
    if (only && ran == 0) {
        std::fprintf(stderr, "gui_tests: no test class %s\n", only);
        return 2;
    }
    return failed == 0 ? 0 : 1;
}

#include "gui_test_registry.h"

#include <QApplication>
#include <QTest>
#include <cstring>
#include <vector>

std::vector<GuiTestFactory>& guiTests() {
    static std::vector<GuiTestFactory> tests;
    return tests;
}

// gui_tests [--class NAME] [Qt Test arguments]: every test class, or only the one named, so that
// each class can be its own CTest entry.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    const char* only = nullptr;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (i + 1 < argc && std::strcmp(argv[i], "--class") == 0)
            only = argv[++i];
        else
            args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    QApplication app(count, args.data());
    int failed = 0;
    int ran = 0;
    for (const auto& make : guiTests()) {
        auto test = make();
        if (only && std::strcmp(test->metaObject()->className(), only) != 0)
            continue;
        ++ran;
        failed += QTest::qExec(test.get(), count, args.data()) != 0 ? 1 : 0;
    }
    // A class name that matches nothing is a mistake, not a pass.
    return failed == 0 && ran > 0 ? 0 : 1;
}

#pragma once
// Every Qt Test class of gui_tests registers itself here; main() runs them all.
//   static GuiTestRegistration<MyTest> registration;

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<GuiTestFactory>& guiTests();

template <typename T> struct GuiTestRegistration {
    GuiTestRegistration() {
        guiTests().push_back([] { return std::make_unique<T>(); });
    }
};

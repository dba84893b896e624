#pragma once
// A pointer shape for the lifetime of a guard: the hourglass while the program works, and the normal
// arrow over a message box that interrupts the work (the hourglass comes back after it).

#include <QApplication>

namespace hz::gui {

class CursorGuard {
public:
    explicit CursorGuard(Qt::CursorShape shape) { QApplication::setOverrideCursor(shape); }
    ~CursorGuard() { QApplication::restoreOverrideCursor(); }
    CursorGuard(const CursorGuard&) = delete;
    CursorGuard& operator=(const CursorGuard&) = delete;
};

class WaitCursor : public CursorGuard {
public:
    WaitCursor() : CursorGuard(Qt::WaitCursor) {}
};

class ArrowCursor : public CursorGuard {
public:
    ArrowCursor() : CursorGuard(Qt::ArrowCursor) {}
};

} // namespace hz::gui

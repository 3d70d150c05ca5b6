#pragma once

#include <QApplication>

// Shows the wait cursor for the lifetime of the object.
class Waitcursor {
public:
    Waitcursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Waitcursor() { QApplication::restoreOverrideCursor(); }

    Waitcursor(const Waitcursor&) = delete;
    Waitcursor& operator=(const Waitcursor&) = delete;
};

#pragma once

// One of the process-wide mode values with which an opener tells a window what it is opened
// for: set for as long as this object lives, 0 again afterwards, however the window ended.
class ScopedMode {
public:
    ScopedMode(int &mode, int value) : m_mode(mode) { m_mode = value; }
    ~ScopedMode() { m_mode = 0; }
    ScopedMode(const ScopedMode &) = delete;
    ScopedMode &operator=(const ScopedMode &) = delete;

private:
    int &m_mode;
};

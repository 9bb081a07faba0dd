#pragma once
#include <windows.h>

// The single-instance guard, keyed by the identifier and the application title. The
// mutex lives as long as this object (the whole run).
class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    bool AnotherRunning() const { return anotherRunning_; }
    // Tells the user, then brings the running copy's window forward.
    void RefuseThisCopy() const;

private:
    HANDLE mutex_ = nullptr;
    bool anotherRunning_ = false;
};

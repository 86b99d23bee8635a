#pragma once

#include <QString>

namespace tavrin {

// Tells a run whether another run of the program is going on, so that it leaves the other
// run's working folder alone. Each run holds a shared lock on a file in the data folder until
// it ends (the system drops it when the process dies); a run that cannot get the lock
// exclusively knows another one is running. It is not used for mutual exclusion.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Takes the lock in the data folder when that folder exists. Returns true when another
    // run holds it. When the folder does not exist yet no run can be going on: false is
    // returned and the lock is taken later by acquireIfNotHeld().
    bool acquire(const QString &dataFolder);
    // Takes the lock now if acquire() could not (the data folder has just been made).
    void acquireIfNotHeld(const QString &dataFolder);
    bool held() const { return fd_ >= 0; }

private:
    bool lock(const QString &dataFolder);
    int fd_ = -1;
};

} // namespace tavrin

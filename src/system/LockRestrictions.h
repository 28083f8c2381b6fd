// What the lock changes in the system (the task bar, the task manager policy), and how it is
// put back exactly as the administrator left it, also after a crash during a lock.
#pragma once

#include "ports/System.h"

namespace lumivar {

class CLockRestrictions {
public:
    explicit CLockRestrictions(ILockPolicy& policy) : m_policy(policy) {}

    void Impose();
    // Shows the task bar in any case; the policy goes back only if this program changed it.
    void Lift();
    // At start: a record left by a run that ended during a lock is put back and removed.
    void RepairAfterCrash();
    // A new task bar (a restarted shell, another monitor) must not show through the lock.
    void TaskBarsAppeared();
    bool Restricted() const { return m_restricted; }

private:
    ILockPolicy& m_policy;
    RegistryValue m_before;  // the policy as it was before this program's lock changed it
    bool m_restricted = false;
};

}  // namespace lumivar

#include "system/LockRestrictions.h"

namespace lumivar {

void CLockRestrictions::Impose() {
    if (!m_restricted) {
        // Recorded durably before anything changes, so that a crash during the lock can be undone.
        m_before = m_policy.ReadTaskMgrPolicy();
        m_policy.WriteLockRecord(&m_before);
        m_restricted = true;
    }
    m_policy.ShowTaskBar(false);
    m_policy.WriteTaskMgrPolicy({true, true, kRegDword, std::string("\x01\0\0\0", 4)});
    m_policy.TrapShellKeys(true);
}

void CLockRestrictions::Lift() {
    m_policy.TrapShellKeys(false);
    m_policy.ShowTaskBar(true);
    // An administrator's own value is put back as it was, never deleted.
    if (!m_restricted) return;
    m_policy.WriteTaskMgrPolicy(m_before);
    m_policy.WriteLockRecord(nullptr);
    m_restricted = false;
}

void CLockRestrictions::TaskBarsAppeared() {
    if (m_restricted) m_policy.ShowTaskBar(false);
}

void CLockRestrictions::RepairAfterCrash() {
    RegistryValue before;
    if (!m_policy.ReadLockRecord(before)) return;
    m_policy.ShowTaskBar(true);
    m_policy.WriteTaskMgrPolicy(before);
    m_policy.WriteLockRecord(nullptr);
}

}  // namespace lumivar

#include "tasks/RemindDlg.h"

#include "ports/Geometry.h"

namespace lumivar {

namespace {
std::string OkText(int seconds) { return "确定(" + std::to_string(seconds) + ")"; }
}  // namespace

void CRemindDlg::OnInitDialog(IRemindView& view) {
    m_strOkText = "确定";
    view.SetOkText(m_strOkText);
    view.SetSmallIcon(128);
    view.SetTitle(m_strTitle);
    if (m_nCountdown > 0) {
        m_strOkText = OkText(m_nCountdown);
        view.SetOkText(m_strOkText);
        view.SetTimer(1, 1000);
    }
    view.CaretToStart();
    if (m_bAnimated) {
        view.Animate(500, AW_CENTER);
        view.InvalidateErase();
    }
}

void CRemindDlg::OnTimer(IRemindView& view) {
    --m_nCountdown;
    m_strOkText = OkText(m_nCountdown);
    view.SetOkText(m_strOkText);
    if (m_nCountdown <= 0) OnOK(view);
}

void CRemindDlg::OnOK(IRemindView& view) {
    // The box may confirm itself from its timer: stop it before the end is posted.
    view.KillTimer(1);
    if (m_bAnimated) view.Animate(500, AW_HIDE | AW_CENTER);
    view.End(IDOK);
}

void CRemindDlg::OnCancel(IRemindView& view) {
    view.KillTimer(1);
    if (m_bAnimated) view.Animate(500, AW_HIDE | AW_CENTER);
    view.End(IDCANCEL);
}

void CRemindDlg::OnDestroy(IRemindView& view) { view.KillTimer(1); }

}  // namespace lumivar

// Menu commands of the main window, each to its operation.
#include "app/MainDlg.h"

namespace lumivar {

bool CMainDlg::OnCommand(int id) {
    switch (id) {
    case 1: OnOK(); break;               // Enter
    case 2: OnCancel(); break;           // Esc
    case 32771: StartRest(); break;
    case 32772: BackToWork(); break;
    case 32775: OnExit(); break;
    case 32779: OnReloadSettings(); break;
    case 32782: OnToggleEyeCare(); break;
    case 32783: StartScreenSaver(); break;
    case 32784: ShutdownComputer(); break;
    case 32785: LogoffUser(); break;
    case 32786: RebootComputer(); break;
    case 32798: LockScreen(); break;
    case 32799: CheckNewVersion(true); break;
    case 32801: ForceShutdownComputer(); break;
    default: return false;
    }
    return true;
}

}  // namespace lumivar

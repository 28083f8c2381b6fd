// The task list, the task editor and the password prompt, run from the resources of a given
// module (the program's own in normal use; the tests take them from the built program file).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lumivar {

class CRemindDlg;
class CTaskEditDlg;
class CTaskListDlg;

// Shows the list's confirmation box; IDOK or IDCANCEL.
using NoticeRunner = std::function<int(CRemindDlg&)>;

// Each is modal to `owner` (may be null); IDOK or IDCANCEL.
int RunTaskListDialog(HINSTANCE module, HWND owner, CTaskListDlg& dlg, const NoticeRunner& notice);
int RunTaskEditDialog(HINSTANCE module, HWND owner, CTaskEditDlg& dlg);
// False on cancel; on OK `typed` is the text as typed.
bool RunPasswordDialog(HINSTANCE module, HWND owner, std::string& typed);

}  // namespace lumivar

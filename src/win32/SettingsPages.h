// The views of the settings dialog's pages, and the control helpers they share.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "settings/SettingsDlg.h"

namespace lumivar {

// One page's view: it moves values between the page's controls and its model.
class PageView {
public:
    virtual ~PageView() = default;
    virtual void Init(HWND page) = 0;  // the model into the controls, ranges, enable states
    virtual void Take(HWND page) = 0;  // the controls into the model
    virtual void Command(HWND, int) {}  // a button or check box was clicked
    virtual INT_PTR Colour(HWND, HDC, HWND) { return 0; }
};

// The six views, in tab order.
std::vector<std::unique_ptr<PageView>> MakePageViews(CSettingsDlg& model);
std::vector<std::unique_ptr<PageView>> MakeGeneralAndPasswordViews(CSettingsDlg& model);
std::unique_ptr<PageView> MakeDayView(CDayPage& model);

bool Checked(HWND page, int id);
void Check(HWND page, int id, bool on);
std::string Text(HWND page, int id);
void SetText(HWND page, int id, const std::string& text);
// A control and the model member it shows: a check box for an int, an edit box for a string.
struct Field {
    int id;
    std::variant<int*, std::string*> member;
};
void Show(HWND page, const std::vector<Field>& fields);  // the members into the controls
void Read(HWND page, const std::vector<Field>& fields);  // the controls into the members
void Enable(HWND page, std::initializer_list<int> ids, bool on);
void SetSpin(HWND page, int spin, int low, int high, int value);
int SpinValue(HWND page, int buddy);
void PageMessage(HWND page, const std::string& text);

}  // namespace lumivar

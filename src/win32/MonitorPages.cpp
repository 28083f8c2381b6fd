// The views of the three monitor pages.
#include "win32/SettingsPages.h"

#include <commctrl.h>

#include "settings_ids.h"

namespace lumivar {

namespace {

class MailView : public PageView {
public:
    MailView(CMailPage& model, IBackground& background) : m_model(model), m_background(background) {}
    void Init(HWND page) override {
        SetSpin(page, IDC_PAGE_SPIN, CMailPage::kSpinLow, CMailPage::kSpinHigh, int(m_model.m_nMailInterval));
        SetDlgItemInt(page, IDC_POP_INTERVAL, m_model.m_nMailInterval, FALSE);
        Show(page, m_fields);
        Refresh(page);
    }
    void Take(HWND page) override {
        m_model.m_nMailInterval = unsigned(SpinValue(page, IDC_POP_INTERVAL));
        Read(page, m_fields);
    }
    void Command(HWND page, int id) override {
        Take(page);
        if (id == IDC_POP_CHECK) Refresh(page);
        if (id != IDC_PAGE_TEST) return;
        // The answer comes when the server has had its say; the page stays usable meanwhile.
        const bool started = m_model.StartAccountTest(m_background, [page](bool, const std::string& message) {
            EnableWindow(GetDlgItem(page, IDC_PAGE_TEST), TRUE);
            PageMessage(page, message);
        });
        if (started) EnableWindow(GetDlgItem(page, IDC_PAGE_TEST), FALSE);
    }

private:
    void Refresh(HWND page) {
        Enable(page, {IDC_POP_SERVER, IDC_POP_INTERVAL, IDC_POP_USER, IDC_POP_PASS, IDC_PAGE_SPIN},
               m_model.FieldsEnabled());
    }
    CMailPage& m_model;
    IBackground& m_background;
    const std::vector<Field> m_fields{{IDC_POP_CHECK, &m_model.m_bMailCheck}, {IDC_POP_SERVER, &m_model.m_strMailServer},
                                      {IDC_POP_USER, &m_model.m_strMailUser}, {IDC_POP_PASS, &m_model.m_strMailPass}};
};

class NetworkView : public PageView {
public:
    explicit NetworkView(CNetworkPage& model) : m_model(model) {}
    void Init(HWND page) override {
        SetSpin(page, IDC_PAGE_SPIN, CNetworkPage::kSpinLow, CNetworkPage::kSpinHigh, m_model.m_nHostInterval);
        SetDlgItemInt(page, IDC_NET_INTERVAL, UINT(m_model.m_nHostInterval), TRUE);
        Show(page, m_fields);
        SetText(page, IDC_NET_EXPLAIN, CNetworkPage::kExplanation);
        Refresh(page);
    }
    void Take(HWND page) override {
        m_model.m_nHostInterval = SpinValue(page, IDC_NET_INTERVAL);
        Read(page, m_fields);
    }
    void Command(HWND page, int id) override {
        Take(page);
        if (id == IDC_NET_MONITOR) Refresh(page);
    }

private:
    void Refresh(HWND page) {
        Enable(page, {IDC_NET_HOST, IDC_NET_INTERVAL, IDC_PAGE_SPIN}, m_model.FieldsEnabled());
    }
    CNetworkPage& m_model;
    const std::vector<Field> m_fields{{IDC_NET_HOST, &m_model.m_strHostName}, {IDC_NET_MONITOR, &m_model.m_bHostMonitor}};
};

class HomepageView : public PageView {
public:
    explicit HomepageView(CHomepagePage& model) : m_model(model) {}
    void Init(HWND page) override {
        m_model.OnInitDialog();
        SetSpin(page, IDC_PAGE_SPIN, CHomepagePage::kSpinMin, CHomepagePage::kSpinMax, int(m_model.m_nInterval));
        SetDlgItemInt(page, IDC_WEB_INTERVAL, m_model.m_nInterval, FALSE);
        Show(page, m_fields);
        Enable(page, {IDC_PAGE_SPIN}, m_model.m_bSpinEnabled);
        Refresh(page);
    }
    void Take(HWND page) override {
        m_model.m_nInterval = unsigned(SpinValue(page, IDC_WEB_INTERVAL));
        Read(page, m_fields);
    }
    void Command(HWND page, int id) override {
        // The check box has turned already; the model's click turns its member to match.
        if (id == IDC_WEB_WATCH) m_model.OnClickWatch();
        if (id == IDC_WEB_PROXY) m_model.OnClickProxy();
        if (id == IDC_PAGE_TEST) {
            Take(page);
            m_model.OnTest();
        }
        Refresh(page);
    }

private:
    void Refresh(HWND page) {
        Enable(page, {IDC_WEB_ADDRESS, IDC_WEB_INTERVAL}, m_model.m_bAddressEnabled);
        Enable(page, {IDC_WEB_USER, IDC_WEB_PASS}, m_model.m_bProxyEnabled);
    }
    CHomepagePage& m_model;
    const std::vector<Field> m_fields{{IDC_WEB_WATCH, &m_model.m_bWatch},        {IDC_WEB_PROXY, &m_model.m_bProxy},
                                      {IDC_WEB_ADDRESS, &m_model.m_strAddress}, {IDC_WEB_USER, &m_model.m_strProxyUser},
                                      {IDC_WEB_PASS, &m_model.m_strProxyPass}};
};

}  // namespace

std::vector<std::unique_ptr<PageView>> MakePageViews(CSettingsDlg& model) {
    auto views = MakeGeneralAndPasswordViews(model);
    views.push_back(std::make_unique<MailView>(model.m_mail, model.m_ports.background));
    views.push_back(std::make_unique<HomepageView>(model.m_homepage));
    views.push_back(std::make_unique<NetworkView>(model.m_network));
    views.push_back(MakeDayView(model.m_day));
    return views;
}

}  // namespace lumivar

// The settings dialog: six pages on a tab strip, validated in tab order on OK.
#pragma once

#include <memory>
#include <string>

#include "net/HomepagePage.h"
#include "net/MailPage.h"
#include "net/NetworkPage.h"
#include "net/TcpStream.h"
#include "ports/Background.h"
#include "ports/Dialogs.h"
#include "ports/System.h"
#include "settings/DayPage.h"
#include "settings/GeneralPage.h"
#include "settings/PasswordPage.h"
#include "settings/SettingsTab.h"

namespace lumivar {

class ISettingsUi : public IGeneralPageUi, public IPasswordPageUi {};

// What the pages' test buttons use of the shell.
struct SettingsPorts {
    IBackground& background;
    IShell& shell;
    INotices& notices;
    std::shared_ptr<const IHttpTransport> http;
    std::shared_ptr<const ITcpConnector> tcp;
};

class CSettingsDlg {
public:
    enum Page { GeneralPage, PasswordPage, MailPage, HomepagePage, NetworkPage, DayPage };

    explicit CSettingsDlg(SettingsPorts ports)
        : m_ports(ports), m_mail(ports.tcp), m_homepage({ports.shell, ports.notices, ports.background, ports.http}) {}

    SettingsPorts m_ports;  // for the pages' tests, which run in the background
    CSettingsTab m_tab;
    CGeneralPage m_general;
    CPasswordPage m_password;
    CMailPage m_mail;
    CHomepagePage m_homepage;
    CNetworkPage m_network;
    CDayPage m_day;

    void OnInitDialog();
    // Each page's check in tab order; the first that fails is shown and the dialog stays open.
    bool OnOK(ISettingsUi& ui);
};

}  // namespace lumivar

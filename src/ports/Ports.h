// Every port together: what the hub is given at construction, and hands out piece by piece.
// The Win32 shell implements them for the real program, the fake shell for tests.
#pragma once

#include <memory>

#include "ports/Background.h"
#include "ports/Dialogs.h"
#include "ports/Files.h"
#include "ports/Icmp.h"
#include "ports/System.h"
#include "ports/Window.h"

namespace lumivar {

class IHttpTransport;
class ITcpConnector;

struct Ports {
    IMainWindow& window;
    ITray& tray;
    ISystem& system;
    IFileSystem& files;
    IDialogs& dialogs;
    IBackgroundPicture& picture;
    IBackground& background;
    IIcmp& icmp;
    // HTTP GET (net/HttpTransport.h); shared, as a request may outlive the main window.
    std::shared_ptr<const IHttpTransport> http;
    // TCP connections (net/TcpStream.h), for the mail monitor and its page's test; shared likewise.
    std::shared_ptr<const ITcpConnector> tcp;
};

}  // namespace lumivar

// The program's own network clients, run alone against the local peers of a story:
//   net_probe get URL                 the web page monitor's fetch: "<code> <body>"
//   net_probe pop3 SERVER USER PASS   the mail monitor's login: "<messages>" or "error <text>"
//   net_probe ping HOST               the host monitor's echo: its reply line, "unresolved" or "invalid"
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "net/HttpClient.h"
#include "net/Ping.h"
#include "net/Pop3Connection.h"
#include "net/RobotInternet.h"
#include "net/SystemIcmp.h"

using namespace lumivar;

int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "get")) {
        CRobotInternet robot(std::make_shared<CHttpClient>());
        std::string body, text;
        int code = 0;
        robot.HttpGet(argv[2], body, code, text);
        std::printf("%d %s\n", code, body.c_str());
        return 0;
    }
    if (argc == 5 && !std::strcmp(argv[1], "pop3")) {
        CPop3Connection pop3(argv[2], 110, argv[3], argv[4]);
        if (!pop3.Connect()) return std::printf("error %s\n", pop3.GetError().c_str()), 0;
        std::printf("%d\n", pop3.Stat());
        pop3.Quit();
        return 0;
    }
    if (argc == 3 && !std::strcmp(argv[1], "ping")) {
        CSystemIcmp icmp;
        CPing ping(icmp.OpenEcho());
        if (!ping.m_bValid) return std::puts("invalid"), 0;
        if (!ping.Resolve(argv[2])) return std::puts("unresolved"), 0;
        std::string text;
        ping.Ping(40, 2000, text);
        std::puts(text.c_str());
        return 0;
    }
    std::puts("usage: net_probe get URL | pop3 SERVER USER PASS | ping HOST");
    return 2;
}

// URL canonicalisation and parsing: what parses is a request that parses back to itself.
#include <cstdint>
#include <string>

#include "Check.h"
#include "net/RobotInternet.h"

using lumivar::CRobotInternet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string canonical = CRobotInternet::CanonicalizeUrl(text);
    FUZZ_CHECK(CRobotInternet::CanonicalizeUrl(canonical) == canonical);
    FUZZ_CHECK(canonical.find(':') != std::string::npos);

    lumivar::HttpUrl url;
    if (!CRobotInternet::ParseUrl(canonical, url)) return 0;
    FUZZ_CHECK(!url.host.empty() && url.port != 0 && !url.target.empty() && url.target[0] == '/');
    // The target goes into the request line as it is: nothing there may end or split it.
    for (const char c : url.target)
        FUZZ_CHECK(static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F && c != '#');
    for (const char c : url.host) FUZZ_CHECK(c != ' ' && c != '\r' && c != '\n' && c != '/' && c != '@');
    if (url.host.find(':') == std::string::npos) {
        lumivar::HttpUrl again;
        FUZZ_CHECK(CRobotInternet::ParseUrl(url.Absolute(), again) && again == url);
    }
    return 0;
}

// The HTTP status line, headers and body as any peer may send them, through CHttpClient and
// then CRobotInternet's error codes.
#include <cstdint>
#include <memory>
#include <string>

#include "Check.h"
#include "ScriptedStream.h"
#include "net/HttpClient.h"
#include "net/RobotInternet.h"

using namespace lumivar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HttpLimits limits;
    limits.maxBody = 300;  // small, so the fuzzer reaches the limits
    limits.maxHeader = 200;
    const fuzz::PeerScript script = fuzz::ScriptFrom(data, size);
    const std::string_view peer = script.bytes;
    // No proxy: every request goes to the scripted peer itself.
    const auto client = std::make_shared<CHttpClient>(std::make_shared<fuzz::ScriptedTcp>(script), nullptr, limits);

    HttpRequest request;
    request.url.host = "127.0.0.1";
    const HttpReply reply = client->Get(request);
    FUZZ_CHECK(reply.status == 0 || (reply.status >= 100 && reply.status <= 999));
    FUZZ_CHECK((reply.outcome == HttpReply::Outcome::NoResponse) == (reply.status == 0));
    FUZZ_CHECK(reply.body.size() <= limits.maxBody);
    FUZZ_CHECK(reply.location.empty() || (reply.status / 100 == 3 && reply.body.empty()));
    if (!reply.body.empty()) {
        // The body is what followed the headers, never a header's bytes.
        const size_t headEnd = peer.find("\r\n\r\n");
        FUZZ_CHECK(headEnd != std::string_view::npos && peer.substr(headEnd + 4, reply.body.size()) == reply.body);
        FUZZ_CHECK(reply.status < 400);
    }

    CRobotInternet robot(client);  // a second connection, hearing the same bytes
    std::string body = "before", text;
    int code = -1;
    const bool ok = robot.HttpGet("http://127.0.0.1/", body, code, text);
    FUZZ_CHECK(ok == (code == 0) && text == CRobotInternet::ErrorText(code));
    // Where a redirect leads is another fetch of the same bytes: only its code is bounded.
    const bool redirect = !reply.location.empty();
    if (!redirect) FUZZ_CHECK(ok == (reply.outcome == HttpReply::Outcome::Complete && reply.status < 300));
    if (ok && !redirect) FUZZ_CHECK(body == reply.body);
    if (reply.status == 404) FUZZ_CHECK(code == 5 && body == "before");
    return 0;
}

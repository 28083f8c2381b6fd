// A POP3 server's replies, any bytes: greeting, USER, PASS, STAT and QUIT answered from the input.
#include <climits>
#include <cstdint>
#include <memory>
#include <string>

#include "Check.h"
#include "ScriptedStream.h"
#include "net/Pop3Connection.h"

using lumivar::CPop3Connection;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const lumivar::fuzz::PeerScript script = lumivar::fuzz::ScriptFrom(data, size);
    const std::string_view peer = script.bytes;
    CPop3Connection pop3("127.0.0.1", 110, "user", "密码", std::make_unique<lumivar::fuzz::ScriptedStream>(script));
    const bool connected = pop3.Connect();
    FUZZ_CHECK(connected == pop3.IsConnected());
    FUZZ_CHECK(pop3.GetResponse().size() <= CPop3Connection::kMaxReplyLine - 2);
    FUZZ_CHECK(!pop3.GetError().empty());
    if (!connected) return 0;
    // Three lines were taken, each one the server sent and none of them "-ERR".
    FUZZ_CHECK(peer.find("\r\n") != std::string_view::npos && pop3.GetResponse().rfind("-ERR", 0) != 0);

    const int count = pop3.Stat();
    FUZZ_CHECK(count >= -1 && count <= INT_MAX);
    FUZZ_CHECK(count == -1 ? !pop3.IsConnected() : pop3.GetResponse().find_first_of("0123456789") != std::string::npos);
    FUZZ_CHECK(peer.find(pop3.GetResponse()) != std::string_view::npos);
    pop3.Quit();
    FUZZ_CHECK(!pop3.IsConnected());
    return 0;
}

// A scripted ICMP library and name service: what the echoes answer, which names resolve,
// and a record of everything asked of it.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ports/Ports.h"

namespace lumivar::fake {

struct EchoScript {
    IEchoSession::State state = IEchoSession::State::Ready;
    std::string computerName = "DESKPC";  // empty: gethostname fails
    std::map<std::string, uint32_t> names;     // forward look-ups that succeed
    std::map<uint32_t, std::string> reverse;   // reverse look-ups that succeed
    // Replies in order, then `standing` for every later echo; nullopt writes no record.
    std::deque<std::optional<EchoReply>> replies;
    std::optional<EchoReply> standing = TimedOut();

    struct Sent {
        uint32_t address;
        std::string payload;
        uint32_t timeoutMs;
    };
    std::vector<Sent> sent;
    std::vector<std::string> lookUps;
    std::vector<uint32_t> reverseLookUps;
    int opened = 0, closed = 0;

    static EchoReply TimedOut() { return {0, 11010, 0, 0, 0}; }
    static EchoReply Answer(uint32_t address, uint32_t ms = 1, uint8_t ttl = 128, uint16_t size = 40) {
        return {address, 0, ms, size, ttl};
    }
};

class FakeEchoSession : public IEchoSession {
public:
    explicit FakeEchoSession(std::shared_ptr<EchoScript> script) : m_script(std::move(script)) { ++m_script->opened; }
    ~FakeEchoSession() override { ++m_script->closed; }
    State GetState() const override { return m_script->state; }
    void SendEcho(uint32_t address, const std::string& payload, uint32_t timeoutMs, EchoReply& reply) override {
        m_script->sent.push_back({address, payload, timeoutMs});
        std::optional<EchoReply> next = m_script->standing;
        if (!m_script->replies.empty()) {
            next = m_script->replies.front();
            m_script->replies.pop_front();
        }
        if (next) reply = *next;
    }
    bool LocalHostName(std::string& name) override {
        name = m_script->computerName;
        return !name.empty();
    }
    bool LookUp(const std::string& name, uint32_t& address) override {
        m_script->lookUps.push_back(name);
        auto it = m_script->names.find(name);
        if (it != m_script->names.end()) address = it->second;
        return it != m_script->names.end();
    }
    bool ReverseLookUp(uint32_t address, std::string& name) override {
        m_script->reverseLookUps.push_back(address);
        auto it = m_script->reverse.find(address);
        if (it != m_script->reverse.end()) name = it->second;
        return it != m_script->reverse.end();
    }

private:
    std::shared_ptr<EchoScript> m_script;
};

class FakeIcmp : public IIcmp {
public:
    std::unique_ptr<IEchoSession> OpenEcho() override { return std::make_unique<FakeEchoSession>(script); }
    std::shared_ptr<EchoScript> script = std::make_shared<EchoScript>();
};

}  // namespace lumivar::fake

// The network ports of the fake shell: a scripted TCP peer and fixed proxy settings.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "net/HttpProxy.h"
#include "net/TcpStream.h"

namespace lumivar::fake {

// A TCP peer that talks in lines, as a POP3 server does: it greets each connection, answers
// each line sent to it by the line's first word, and records every line it heard. Safe from
// any thread, as the checks use their streams on threads of their own. Nobody listens until
// a script says so.
class FakeTcp : public ITcpConnector {
public:
    // A reply "" is silence: the client's wait runs out (at once). A "|" cuts a reply into two
    // receives. A reply that does not end its line is the peer's last: it hangs up after it.
    // Once silent or gone, the peer hears nothing more.
    struct Script {
        bool listening = true;
        std::string greeting;
        std::map<std::string, std::string> replies;  // by first word; other lines go unanswered
        TlsError tls = TlsError::Unavailable;        // what a StartTls comes to
    };
    // A POP3 server: a login that goes through and an empty mailbox, but for one reply (or the greeting).
    static Script Pop3(const std::string& word = "", const std::string& reply = "") {
        Script s{true, "+OK POP3 ready\r\n",
                 {{"USER", "+OK\r\n"}, {"PASS", "+OK logged in\r\n"}, {"STAT", "+OK 0 0\r\n"}, {"QUIT", "+OK bye\r\n"},
                  {"CAPA", "-ERR\r\n"}}};
        if (!word.empty()) (word == "greeting" ? s.greeting : s.replies[word]) = reply;
        return s;
    }

    std::unique_ptr<ITcpStream> NewStream() const override { return std::make_unique<Stream>(m_state); }
    // For the connections from now on; those open keep the script they started with.
    void SetScript(Script script) {
        std::lock_guard lock(m_state->mutex);
        m_state->script = std::move(script);
    }
    void SetReply(const std::string& word, std::string reply) {
        std::lock_guard lock(m_state->mutex);
        m_state->script.replies[word] = std::move(reply);
    }
    std::vector<std::string> Received() const { return Locked(m_state->received); }  // over every connection so far
    std::vector<std::string> Connections() const { return Locked(m_state->connections); }  // "host:port" of each one tried

private:
    template <class T>
    T Locked(const T& shared) const {
        std::lock_guard lock(m_state->mutex);
        return shared;
    }
    struct State {
        std::mutex mutex;
        Script script{false, {}, {}};
        std::vector<std::string> received, connections;
    };

    class Stream : public ITcpStream {
    public:
        explicit Stream(std::shared_ptr<State> state) : m_state(std::move(state)) {}
        bool Connect(const std::string& host, uint16_t port, int) override {
            Close();
            std::lock_guard lock(m_state->mutex);
            m_state->connections.push_back(host + ":" + std::to_string(port));
            if (!m_state->script.listening) return false;
            m_script = m_state->script;
            m_open = true;
            Say(m_script.greeting);
            return true;
        }
        bool SendAll(std::string_view bytes) override {
            if (!m_open) return false;
            m_sent += bytes;
            for (size_t end; (end = m_sent.find("\r\n")) != std::string::npos;) {
                const std::string line = m_sent.substr(0, end);
                m_sent.erase(0, end + 2);
                if (m_done) continue;
                {
                    std::lock_guard lock(m_state->mutex);
                    m_state->received.push_back(line);
                }
                const auto reply = m_script.replies.find(line.substr(0, line.find(' ')));
                Say(reply == m_script.replies.end() ? "" : reply->second);
            }
            return true;
        }
        // Heard as a line "<TLS>"; from then on the talk goes on as before, as if secure.
        TlsError StartTls(const std::string&, int) override {
            {
                std::lock_guard lock(m_state->mutex);
                m_state->received.push_back("<TLS>");
            }
            if (m_script.tls != TlsError::None) Close();
            return m_script.tls;
        }
        int Receive(char* buffer, int size) override {
            if (!m_open || size <= 0) return -1;
            if (m_pieces.empty()) return m_hungUp ? 0 : -1;
            std::string& piece = m_pieces.front();
            const size_t n = std::min(piece.size(), size_t(size));
            std::memcpy(buffer, piece.data(), n);
            piece.erase(0, n);
            if (piece.empty()) m_pieces.pop_front();
            return int(n);
        }
        bool ReceiveLine(std::string& line, std::size_t maxLength) override { return m_lines.Next(*this, line, maxLength); }
        void Close() override {
            m_open = m_done = m_hungUp = false;
            m_pieces.clear();
            m_sent.clear();
            m_lines.Clear();
        }
        bool IsOpen() const override { return m_open; }

    private:
        void Say(const std::string& reply) {
            if (m_done) return;
            m_done = reply.empty() || !reply.ends_with('\n');
            m_hungUp = !reply.empty() && m_done;
            for (size_t start = 0, bar; start < reply.size(); start = bar + 1) {
                bar = std::min(reply.find('|', start), reply.size());
                if (bar > start) m_pieces.push_back(reply.substr(start, bar - start));
            }
        }

        std::shared_ptr<State> m_state;
        Script m_script;  // as it stood when this connection opened
        bool m_open = false;
        bool m_done = false;    // the peer says nothing more
        bool m_hungUp = false;  // and it closed: receives end, rather than wait
        std::deque<std::string> m_pieces;
        std::string m_sent;     // a line not yet ended
        CLineBuffer m_lines;
    };

    std::shared_ptr<State> m_state = std::make_shared<State>();
};

// Proxy settings that stay as the test gave them.
class FakeProxy : public IProxySettings {
public:
    explicit FakeProxy(ProxyConfig config = {}) : m_config(std::move(config)) {}
    ProxyConfig For(const HttpUrl&) const override { return m_config; }

private:
    const ProxyConfig m_config;
};

}  // namespace lumivar::fake

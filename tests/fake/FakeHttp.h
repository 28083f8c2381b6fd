// A scripted HTTP transport: answers by URL, records every request. Safe from any thread.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "net/HttpTransport.h"

namespace lumivar::fake {

class FakeHttp : public IHttpTransport {
public:
    HttpReply Get(const HttpRequest& request) const override {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
        auto it = m_replies.find(request.url.Absolute());
        if (it == m_replies.end() || it->second.empty()) return {};  // unreachable
        HttpReply reply = it->second.front();
        if (it->second.size() > 1) it->second.pop_front();  // the last answer stays
        return reply;
    }
    // Answers for one absolute URL, in turn; the last one repeats.
    void Answer(const std::string& url, HttpReply reply) {
        std::lock_guard lock(m_mutex);
        m_replies[url].push_back(std::move(reply));
    }
    void Page(const std::string& url, const std::string& body, int status = 200) {
        Answer(url, {HttpReply::Outcome::Complete, status, body});
    }
    void Unreachable(const std::string& url) { Answer(url, {}); }
    void Forget(const std::string& url) {
        std::lock_guard lock(m_mutex);
        m_replies.erase(url);
    }
    std::vector<HttpRequest> Requests() const {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }
    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        for (const HttpRequest& r : Requests()) urls.push_back(r.url.Absolute());
        return urls;
    }

private:
    mutable std::mutex m_mutex;
    mutable std::map<std::string, std::deque<HttpReply>> m_replies;
    mutable std::vector<HttpRequest> m_requests;
};

}  // namespace lumivar::fake

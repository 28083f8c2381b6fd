// A scripted HTTP transport: answers by URL, records every request. Safe from any thread.
#pragma once

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
        return it == m_replies.end() ? HttpReply{} : it->second;  // unscripted: unreachable
    }
    // The answer for one absolute URL from now on.
    void Answer(const std::string& url, HttpReply reply) {
        std::lock_guard lock(m_mutex);
        m_replies[url] = std::move(reply);
    }
    void Page(const std::string& url, const std::string& body, int status = 200) {
        Answer(url, {HttpReply::Outcome::Complete, status, body});
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
    std::map<std::string, HttpReply> m_replies;
    mutable std::vector<HttpRequest> m_requests;
};

}  // namespace lumivar::fake

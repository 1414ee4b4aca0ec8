#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

typedef struct _SoupServer SoupServer;

// A loopback HTTP server that the page engine uses as its proxy, so every
// request arrives here with its absolute address. It answers only what the
// test registered: any other request, or a CONNECT to a host and port not
// tunnelled, fails the test.
class TestServer
{
public:
    struct Request
    {
        std::string method;
        std::string url;
        std::map<std::string, std::string> headers; // lower-case names
    };
    struct Response
    {
        int status = 200;
        std::string contentType = "text/html; charset=utf-8";
        std::string body = "<html><head><title>Test page</title></head><body>Test page</body></html>";
        std::vector<std::pair<std::string, std::string>> headers;
        // Kept back until release(), as a slow site would.
        bool held = false;
        // The body sent again and again, without end, until the client leaves.
        bool endless = false;
        // Only this many first bytes of the body are sent (its length is
        // announced whole); the rest waits for release().
        std::optional<std::size_t> pauseAfter = std::nullopt;
    };

    TestServer();
    ~TestServer();
    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    // "http://127.0.0.1:<port>", for the engine's proxy setting.
    std::string proxyAddress() const { return m_proxyAddress; }
    // Answers this exact address (query included) with `response`.
    void expect(const std::string &url, Response response);
    void expect(const std::string &url) { expect(url, Response()); }
    // Starts a second server for https with a self-signed certificate and
    // returns its "https://127.0.0.1:<port>"; expect() its addresses too.
    std::string startTls();

    // A CONNECT to `authority` ("bank.test:443") is joined to the server of
    // `address` ("https://127.0.0.1:<port>" from startTls(), or
    // proxyAddress() for a site that speaks no TLS); an empty address leaves
    // the CONNECT unanswered until release(), as a site that never answers.
    void tunnel(const std::string &authority, const std::string &address);

    // Sends the answers kept back.
    void release();

    // Answers what expect() did not list; nullopt makes the request unexpected.
    std::function<std::optional<Response>(const Request &)> handler;

    // Every request, in order.
    std::vector<Request> requests;
    std::vector<std::string> urls() const;
    int count(const std::string &url) const;
    // Endless answers still being sent.
    int streaming = 0;

private:
    static void serve(SoupServer *, void *message, const char *, void *, void *self);

    SoupServer *m_proxy = nullptr;
    SoupServer *m_tls = nullptr;
    std::string m_proxyAddress;
    std::map<std::string, Response> m_routes;
    std::map<std::string, int> m_tunnels;
    std::vector<void *> m_held;
    // Answers paused part way, with the rest of their body.
    std::vector<std::pair<void *, std::string>> m_rests;
};

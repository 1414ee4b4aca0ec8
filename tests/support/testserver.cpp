#include "testserver.h"

#include <gtest/gtest.h>
#include <libsoup/soup.h>

namespace {

std::string listen(SoupServer *server, SoupServerListenOptions options, const char *scheme)
{
    GError *error = nullptr;
    if (!soup_server_listen_local(server, 0, SoupServerListenOptions(options | SOUP_SERVER_LISTEN_IPV4_ONLY), &error)) {
        ADD_FAILURE() << "test server cannot listen: " << error->message;
        g_error_free(error);
        return std::string();
    }
    GSList *uris = soup_server_get_uris(server);
    const int port = uris ? g_uri_get_port(static_cast<GUri *>(uris->data)) : 0;
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port);
}

} // namespace

TestServer::TestServer()
{
    m_proxy = soup_server_new(nullptr, nullptr);
    soup_server_add_handler(m_proxy, nullptr, reinterpret_cast<SoupServerCallback>(&TestServer::serve), this, nullptr);
    m_proxyAddress = listen(m_proxy, SoupServerListenOptions(0), "http");
}

TestServer::~TestServer()
{
    release();
    for (SoupServer *server : {m_proxy, m_tls}) {
        if (server) {
            soup_server_disconnect(server);
            g_object_unref(server);
        }
    }
}

void TestServer::tunnel(const std::string &authority, const std::string &address)
{
    m_tunnels[authority] = address.empty() ? 0 : std::stoi(address.substr(address.rfind(':') + 1));
}

void TestServer::expect(const std::string &url, Response response)
{
    m_routes[url] = std::move(response);
}

std::string TestServer::startTls()
{
    std::string folder = __FILE__;
    folder.erase(folder.rfind('/'));
    GError *error = nullptr;
    GTlsCertificate *certificate =
        g_tls_certificate_new_from_file((folder + "/certs/selfsigned.pem").c_str(), &error);
    if (!certificate) {
        ADD_FAILURE() << "test certificate: " << error->message;
        g_error_free(error);
        return std::string();
    }
    m_tls = soup_server_new("tls-certificate", certificate, nullptr);
    g_object_unref(certificate);
    soup_server_add_handler(m_tls, nullptr, reinterpret_cast<SoupServerCallback>(&TestServer::serve), this, nullptr);
    return listen(m_tls, SOUP_SERVER_LISTEN_HTTPS, "https");
}

std::vector<std::string> TestServer::urls() const
{
    std::vector<std::string> result;
    for (const Request &request : requests)
        result.push_back(request.url);
    return result;
}

int TestServer::count(const std::string &url) const
{
    int n = 0;
    for (const Request &request : requests)
        n += request.url == url;
    return n;
}

void TestServer::serve(SoupServer *, void *raw, const char *, void *, void *data)
{
    auto *self = static_cast<TestServer *>(data);
    auto *message = static_cast<SoupServerMessage *>(raw);
    Request request;
    request.method = soup_server_message_get_method(message);
    gchar *url = g_uri_to_string(soup_server_message_get_uri(message));
    request.url = url;
    g_free(url);
    SoupMessageHeadersIter iter;
    soup_message_headers_iter_init(&iter, soup_server_message_get_request_headers(message));
    const char *name = nullptr, *value = nullptr;
    while (soup_message_headers_iter_next(&iter, &name, &value)) {
        gchar *lower = g_ascii_strdown(name, -1);
        request.headers[lower] = value;
        g_free(lower);
    }
    self->requests.push_back(request);

    if (request.method == "CONNECT") {
        const char *host = g_uri_get_host(soup_server_message_get_uri(message));
        const std::string authority = std::string(host ? host : "") + ":"
                                      + std::to_string(g_uri_get_port(soup_server_message_get_uri(message)));
        if (const auto tunnel = self->m_tunnels.find(authority); tunnel != self->m_tunnels.end() && !tunnel->second) {
            soup_server_message_pause(message);
            self->m_held.push_back(g_object_ref(message));
            return;
        } else if (tunnel != self->m_tunnels.end()) {
            // Once the answer is out, the connection is joined to the server's.
            soup_server_message_set_status(message, 200, nullptr);
            g_signal_connect(message, "wrote-body", G_CALLBACK(+[](SoupServerMessage *message, gpointer port) {
                                 GIOStream *client = soup_server_message_steal_connection(message);
                                 GSocketClient *connector = g_socket_client_new();
                                 GSocketConnection *server = g_socket_client_connect_to_host(
                                     connector, "127.0.0.1", guint16(GPOINTER_TO_INT(port)), nullptr, nullptr);
                                 g_object_unref(connector);
                                 if (server) {
                                     g_io_stream_splice_async(client, G_IO_STREAM(server),
                                                              GIOStreamSpliceFlags(G_IO_STREAM_SPLICE_CLOSE_STREAM1
                                                                                   | G_IO_STREAM_SPLICE_CLOSE_STREAM2),
                                                              G_PRIORITY_DEFAULT, nullptr, nullptr, nullptr);
                                     g_object_unref(server);
                                 }
                                 g_object_unref(client);
                             }),
                             GINT_TO_POINTER(tunnel->second));
            return;
        }
    }
    std::optional<Response> response;
    const auto route = self->m_routes.find(request.url);
    if (request.method == "CONNECT")
        ADD_FAILURE() << "the engine tunnelled through the test proxy to " << request.url;
    else if (route != self->m_routes.end())
        response = route->second;
    else if (self->handler)
        response = self->handler(request);
    if (!response) {
        if (request.method != "CONNECT")
            ADD_FAILURE() << "unexpected request: " << request.method << " " << request.url;
        soup_server_message_set_status(message, 404, nullptr);
        return;
    }
    soup_server_message_set_status(message, guint(response->status), nullptr);
    SoupMessageHeaders *headers = soup_server_message_get_response_headers(message);
    soup_message_headers_append(headers, "Cache-Control", "no-store");
    for (const auto &[header, text] : response->headers)
        soup_message_headers_append(headers, header.c_str(), text.c_str());
    if (response->endless) {
        // Chunk after chunk, each let go once written.
        soup_message_headers_set_content_type(headers, response->contentType.c_str(), nullptr);
        soup_message_headers_set_encoding(headers, SOUP_ENCODING_CHUNKED);
        SoupMessageBody *body = soup_server_message_get_response_body(message);
        soup_message_body_set_accumulate(body, FALSE);
        GBytes *chunk = g_bytes_new(response->body.data(), response->body.size());
        soup_message_body_append_bytes(body, chunk);
        g_signal_connect_data(message, "wrote-chunk", G_CALLBACK(+[](SoupServerMessage *message, GBytes *chunk) {
                                  soup_message_body_append_bytes(soup_server_message_get_response_body(message), chunk);
                              }),
                              chunk, [](gpointer chunk, GClosure *) { g_bytes_unref(static_cast<GBytes *>(chunk)); },
                              GConnectFlags(0));
        ++self->streaming;
        g_signal_connect_swapped(message, "finished", G_CALLBACK(+[](TestServer *self) { --self->streaming; }), self);
    } else if (response->pauseAfter) {
        // The server pauses by itself once the first part is written.
        const std::size_t first = std::min(*response->pauseAfter, response->body.size());
        soup_message_headers_set_content_type(headers, response->contentType.c_str(), nullptr);
        soup_message_headers_set_content_length(headers, goffset(response->body.size()));
        SoupMessageBody *body = soup_server_message_get_response_body(message);
        soup_message_body_append(body, SOUP_MEMORY_COPY, response->body.data(), first);
        self->m_rests.emplace_back(g_object_ref(message), response->body.substr(first));
    } else {
        soup_server_message_set_response(message, response->contentType.c_str(), SOUP_MEMORY_COPY,
                                         response->body.data(), response->body.size());
    }
    if (response->held) {
        soup_server_message_pause(message);
        self->m_held.push_back(g_object_ref(message));
    }
}

void TestServer::release()
{
    for (void *message : m_held) {
        soup_server_message_unpause(static_cast<SoupServerMessage *>(message));
        g_object_unref(message);
    }
    m_held.clear();
    for (auto &[message, rest] : m_rests) {
        auto *paused = static_cast<SoupServerMessage *>(message);
        soup_message_body_append(soup_server_message_get_response_body(paused), SOUP_MEMORY_COPY, rest.data(),
                                 rest.size());
        soup_server_message_unpause(paused);
        g_object_unref(paused);
    }
    m_rests.clear();
}

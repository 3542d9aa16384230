// `serve` under load, on 127.0.0.1 only:
//
//   pagewell-serve-load-bench [--plain] [SLOW] [TABS] [REQUESTS]
//
// starts the server with a page of about 20 KB, opens SLOW clients (default
// 50) that send one byte of a request every 2 seconds (and connect again
// when cut off), and TABS kept connections (default 20) that ask for the
// site's version once a second as an open page does; then times REQUESTS
// page requests (default 100, one every 100 ms, each on a new connection).
// Prints the median, 90th and 99th percentiles and the share answered in
// under 50 ms; exits 1 when that share is below 90 %. --plain serves the
// same site from the HTTP library's own server (a thread per connection from
// a pool of 8), as `serve` did before it read requests itself.
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <httplib.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "cli/CSiteServer.h"

namespace {

using CClock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kSlowRequest = "GET /index.htm HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

int ConnectTo(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// SLOW connections, each sending the next byte of a request every 2 s.
void RunSlowClients(int port, int nSlow, const std::atomic<bool>& bStop, std::atomic<int>& nCutOff)
{
    struct CSlow {
        int fd = -1;
        size_t nSent = 0;
    };
    std::vector<CSlow> clients(static_cast<size_t>(nSlow));
    while (!bStop) {
        for (CSlow& client : clients) {
            if (client.fd < 0) {
                client.fd = ConnectTo(port);
                client.nSent = 0;
            }
            const char byte = kSlowRequest[client.nSent % std::strlen(kSlowRequest)];
            if (client.fd >= 0 && ::send(client.fd, &byte, 1, MSG_NOSIGNAL | MSG_DONTWAIT) != 1) {
                ::close(client.fd);
                client.fd = -1;
                ++nCutOff;
            }
            ++client.nSent;
        }
        for (int i = 0; i < 20 && !bStop; ++i)
            std::this_thread::sleep_for(100ms);
    }
    for (const CSlow& client : clients)
        if (client.fd >= 0)
            ::close(client.fd);
}

// An open page: asks for the version once a second on a kept connection.
void RunTab(int port, const std::atomic<bool>& bStop, std::atomic<int>& nPolls)
{
    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    while (!bStop) {
        if (client.Get(CSiteServer::kVersionPath))
            ++nPolls;
        for (int i = 0; i < 10 && !bStop; ++i)
            std::this_thread::sleep_for(100ms);
    }
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[std::min(
        values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())))];
}

std::string MakePage()
{
    std::string page = "<!DOCTYPE html>\n<html><body>\n";
    while (page.size() < 20000)
        page += "<p>A paragraph of the page, long enough to be like a real one.</p>\n";
    return page + "</body></html>\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool bPlain = !args.empty() && args[0] == "--plain";
    if (bPlain)
        args.erase(args.begin());
    const int nSlow = args.size() > 0 ? std::stoi(args[0]) : 50;
    const int nTabs = args.size() > 1 ? std::stoi(args[1]) : 20;
    const int nRequests = args.size() > 2 ? std::stoi(args[2]) : 100;

    const std::string page = MakePage();
    CSiteServer server;
    httplib::Server plain;
    std::thread plainThread;
    int port = 0;
    if (bPlain) {
        plain.set_tcp_nodelay(true);
        plain.Get(".*", [&page](const httplib::Request& request, httplib::Response& response) {
            response.set_content(request.path == CSiteServer::kVersionPath ? "1" : page, "text/html");
        });
        port = plain.bind_to_any_port("127.0.0.1");
        plainThread = std::thread([&plain] { plain.listen_after_bind(); });
    } else {
        CRenderedSite site;
        site.pages["index.htm"] = page;
        site.strHome = "index.htm";
        server.SetSite(std::move(site));
        if (!server.Start("127.0.0.1", 0)) {
            std::fprintf(stderr, "cannot listen\n");
            return 2;
        }
        port = server.GetPort();
    }

    std::atomic<bool> bStop { false };
    std::atomic<int> nCutOff { 0 };
    std::atomic<int> nPolls { 0 };
    std::thread slow([&] { RunSlowClients(port, nSlow, bStop, nCutOff); });
    std::vector<std::thread> tabs;
    for (int i = 0; i < nTabs; ++i)
        tabs.emplace_back([&] { RunTab(port, bStop, nPolls); });
    // Every slow client and tab connected and waiting.
    std::this_thread::sleep_for(3s);

    std::vector<double> times;
    int nFailed = 0;
    for (int i = 0; i < nRequests; ++i) {
        const auto start = CClock::now();
        httplib::Client client("127.0.0.1", port);
        client.set_read_timeout(5);
        const httplib::Result result = client.Get("/index.htm");
        const double ms = std::chrono::duration<double, std::milli>(CClock::now() - start).count();
        if (!result || result->status != 200)
            ++nFailed;
        times.push_back(ms);
        std::this_thread::sleep_for(100ms);
    }
    bStop = true;
    slow.join();
    for (std::thread& tab : tabs)
        tab.join();
    if (bPlain) {
        plain.stop();
        plainThread.join();
    }

    const auto nFast = std::count_if(times.begin(), times.end(), [](double ms) { return ms < 50.0; });
    const double share = 100.0 * static_cast<double>(nFast) / static_cast<double>(times.size());
    std::printf("%s: %d slow clients (%d cut off), %d tabs (%d version requests), %d page requests\n",
        bPlain ? "plain library server" : "serve", nSlow, nCutOff.load(), nTabs, nPolls.load(), nRequests);
    std::printf(
        "page: median %.2f ms, p90 %.2f ms, p99 %.2f ms, max %.2f ms; under 50 ms: %.0f %%; failed: %d\n",
        Percentile(times, 0.5), Percentile(times, 0.9), Percentile(times, 0.99), Percentile(times, 1.0),
        share, nFailed);
    return share >= 90.0 && nFailed == 0 ? 0 : 1;
}

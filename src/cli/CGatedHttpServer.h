#pragma once

#include <httplib.h>
#include <string>

#include "cli/CRequestGate.h"

// The HTTP library's server with its connections handed to a request gate
// (no worker waits for a slow client) and a listening socket of its own: a
// port that another server uses is refused, never shared, and a failure
// says why.
class CGatedHttpServer : public httplib::Server {
public:
    explicit CGatedHttpServer(CRequestGate::CLimits limits);
    ~CGatedHttpServer() override;

    // Listens on address:port (port 0: a free one), not yet answering; false
    // with the reason in error ("port N is in use", or the system's reason).
    bool Bind(const std::string& address, int port, std::string& error);
    int GetPort() const { return m_nPort; }
    // Accepts and answers connections until stop(); call Bind first.
    bool Run();

private:
    bool process_and_close_socket(socket_t sock) override;
    // Answers the one request at the start of stream.
    bool AnswerOne(httplib::Stream& stream);

    CRequestGate m_gate;
    int m_nPort = 0;
};

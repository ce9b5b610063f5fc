#pragma once
// A loopback server for one HTTP exchange whose answer a script plays: the script runs on
// the server's thread once the request has arrived and sends as it likes, at any pace; the
// connection closes when the script returns.
// Every wait is bounded (10 s in all), so a client that never lets go cannot hang a test.
#include <QByteArray>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

// A TCP socket bound to a free port on the loopback address, not yet listening; port
// receives the port's number.
int BindLoopback(int& port);

class TScriptedServer {
public:
    using TScript = std::function<void(TScriptedServer&)>;
    explicit TScriptedServer(TScript script);
    ~TScriptedServer();
    TScriptedServer(const TScriptedServer&) = delete;
    TScriptedServer& operator=(const TScriptedServer&) = delete;

    int Port() const { return FPort; }
    // False once the client has closed, the server is stopping or its time is up.
    bool Send(const QByteArray& data);
    bool Pause(int ms);
    // Bytes handed to the connection so far.
    long long Sent() const { return FSent; }

private:
    bool Going() const;

    int FListen = -1;
    int FConn = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<long long> FSent{0};
    std::chrono::steady_clock::time_point FEnd;
    std::thread FThread;
};

#pragma once
// A pseudo-terminal pair standing in for a serial line: the port under test opens the
// slave by its name; the test collects what arrives at the master on a thread of its
// own, or leaves it unread so that writes stall, or closes it as if the adapter were
// pulled out.

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace pc::test {

class PtyPair {
  public:
    PtyPair() {
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            return;
        m_slaveName = name;
        termios raw{};
        ::tcgetattr(m_slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(m_slave, TCSANOW, &raw);
    }
    ~PtyPair() {
        StopReading();
        CloseMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Valid() const { return m_master >= 0 && !m_slaveName.empty(); }
    const std::string& SlaveName() const { return m_slaveName; }
    // Our own descriptor of the slave: it shows the line settings the port gave it.
    int Slave() const { return m_slave; }

    void StartReading() {
        m_reader = std::thread([this] {
            char buffer[4096];
            while (!m_stop) {
                pollfd ready{m_master, POLLIN, 0};
                if (::poll(&ready, 1, 10) <= 0 || !(ready.revents & POLLIN))
                    continue;
                const ssize_t count = ::read(m_master, buffer, sizeof buffer);
                if (count > 0) {
                    const std::lock_guard<std::mutex> lock(m_mutex);
                    m_received.append(buffer, static_cast<std::size_t>(count));
                }
            }
        });
    }
    void StopReading() {
        m_stop = true;
        if (m_reader.joinable())
            m_reader.join();
    }
    std::string Received() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_received;
    }
    void CloseMaster() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

  private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slaveName;
    std::thread m_reader;
    std::atomic<bool> m_stop = false;
    std::mutex m_mutex;
    std::string m_received;
};

}  // namespace pc::test

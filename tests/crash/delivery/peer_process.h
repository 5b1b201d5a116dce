// A peer program (a Python server of the tests) that runs while the object lives: started with an
// argument vector, its first output line read (the port it listens on), ended on destruction.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kestrix::test {

class PeerProcess {
  public:
    // Throws std::runtime_error when the peer does not start or prints nothing within a minute.
    explicit PeerProcess(const std::vector<std::string>& arguments);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    const std::string& FirstLine() const { return m_firstLine; }
    int Port() const { return std::stoi(m_firstLine); }

  private:
    void Stop();

    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_firstLine;
};

// The folder of the tests' Python peers.
std::string PeerScript(const std::string& name);

}  // namespace kestrix::test

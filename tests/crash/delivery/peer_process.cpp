#include "tests/crash/delivery/peer_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace kestrix::test {

PeerProcess::PeerProcess(const std::vector<std::string>& arguments) {
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) {
        throw std::runtime_error("no pipe for the peer");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    m_output = output[0];
    if (spawned != 0) {
        m_pid = -1;
        Stop();
        throw std::runtime_error("cannot start " + arguments.front());
    }
    for (char c = 0; c != '\n';) {
        pollfd entry{m_output, POLLIN, 0};
        if (poll(&entry, 1, 60000) <= 0 || read(m_output, &c, 1) != 1) {
            Stop();
            throw std::runtime_error("the peer " + arguments[1] + " printed no port");
        }
        if (c != '\n') {
            m_firstLine.push_back(c);
        }
    }
}

PeerProcess::~PeerProcess() {
    Stop();
}

void PeerProcess::Stop() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    close(m_output);
    m_output = -1;
}

std::string PeerScript(const std::string& name) {
    return std::string(GATOOL_DELIVERY_PEERS_DIR) + "/" + name;
}

}  // namespace kestrix::test

// The --lines mode of the program itself, driven through pipes the way another program uses it:
// write a formula, wait for its line, write the next one, with standard input still open.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace {

class LinesProcess {
public:
    LinesProcess() {
        int toChild[2];
        int fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toChild[0], STDIN_FILENO);
            dup2(fromChild[1], STDOUT_FILENO);
            close(toChild[1]);
            close(fromChild[0]);
            const std::string program = std::string(TATTILO_BIN_DIR) + "/tattilo-cli";
            execl(program.c_str(), program.c_str(), "to-braille", "--lines",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
        signal(SIGPIPE, SIG_IGN);
    }

    ~LinesProcess() {
        closeInput();
        if (out_ >= 0) {
            close(out_);
        }
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    bool started() const { return pid_ > 0 && in_ >= 0; }

    bool write(const std::string& text) const {
        return ::write(in_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }

    void closeInput() {
        if (in_ >= 0) {
            close(in_);
            in_ = -1;
        }
    }

    // The next output line with its line end, or what came before giving up after 20 seconds.
    std::string readLine() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            if (const auto end = pending_.find('\n'); end != std::string::npos) {
                std::string line = pending_.substr(0, end + 1);
                pending_.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd ready{out_, POLLIN, 0};
            if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
                return pending_;
            }
            char buffer[256];
            const ssize_t n = read(out_, buffer, sizeof buffer);
            if (n <= 0) {
                return pending_;
            }
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
    }

    int exitStatus() {
        int status = 0;
        if (waitpid(pid_, &status, 0) != pid_) {
            return -1;
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string pending_;
};

TEST(CliLinesProcess, AnswersEachLineBeforeTheInputEnds) {
    LinesProcess cli;
    ASSERT_TRUE(cli.started());
    ASSERT_TRUE(cli.write("x+1\n"));
    EXPECT_EQ(cli.readLine(), "_x+#a\n");
    // A refused line answers too: its empty line comes at once.
    ASSERT_TRUE(cli.write("(x\n"));
    EXPECT_EQ(cli.readLine(), "\n");
    ASSERT_TRUE(cli.write("\\frac{3}{4}\r\n"));
    EXPECT_EQ(cli.readLine(), "#:d\n");
    cli.closeInput();
    EXPECT_EQ(cli.readLine(), "");
    EXPECT_EQ(cli.exitStatus(), 1);
}

TEST(CliLinesProcess, ALongInputComesOutWhole) {
    LinesProcess cli;
    ASSERT_TRUE(cli.started());
    // Written in one go, far more than a pipe holds: the program must keep reading while its
    // answers pile up, and we read them as they come.
    std::string input;
    for (int i = 0; i < 5000; ++i) {
        input += "x+1\n";
    }
    std::size_t written = 0;
    std::string output;
    while (written < input.size()) {
        const std::size_t chunk = std::min<std::size_t>(4096, input.size() - written);
        ASSERT_TRUE(cli.write(input.substr(written, chunk)));
        written += chunk;
        // Take what is there without waiting for more than the first line.
        output += cli.readLine();
    }
    cli.closeInput();
    for (std::string line = cli.readLine(); !line.empty(); line = cli.readLine()) {
        output += line;
    }
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        expected += "_x+#a\n";
    }
    EXPECT_EQ(output, expected);
    EXPECT_EQ(cli.exitStatus(), 0);
}

}  // namespace

// A player that misbehaves on purpose, for the tests of the mpv decks. It serves mpv's JSON
// IPC on the socket named by --input-ipc-server= well enough to be taken for a deck (other
// options are ignored), and misbehaves as the variable FAKE_PLAYER_MODE says:
//   chatter  answers and plays as mpv does, with a line that is not mpv's after each line
//   junk     answers every request with such a line, and nothing else
//   endless  answers the first request with a line that never ends, and nothing else
//   frozen   plays what it is handed, its position standing still
//   cut      closes the connection in the middle of its third answer and keeps running
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

const std::string kJunk[] = {
    "\x01\xff\xfe not json at all",
    "{\"request_id\":",
    "[1,2,3]",
    "{\"error\":5,\"request_id\":1}",
    "{\"event\":null,\"data\":\"x\"}",
    "null",
    "{\"event\":\"property-change\",\"name\":\"time-pos\",\"data\":\"soon\"}",
    "{\"event\":\"property-change\",\"name\":\"idle-active\",\"data\":[]}",
    "{\"event\":\"property-change\",\"name\":\"duration\",\"data\":1e999}",
    std::string(3000, '[') + std::string(3000, ']'),
    "{\"error\":\"success\",\"request_id\":99999999999999999999}",
};

struct Player {
    std::string mode;
    int client = -1;
    std::string inbox;
    std::string outbox;
    int requests = 0;
    std::size_t junkShown = 0;
    bool playing = false;
    Clock::time_point startedAt;
    Clock::time_point lastTick;

    double Position() const {
        if (mode == "frozen") return 1.5;
        return std::chrono::duration<double>(Clock::now() - startedAt).count();
    }

    void Junk() { outbox += kJunk[junkShown++ % std::size(kJunk)] + '\n'; }

    void Line(const std::string& line) {
        outbox += line + '\n';
        if (mode == "chatter") Junk();
    }

    void Property(const char* name, const std::string& value) {
        Line(std::string("{\"event\":\"property-change\",\"name\":\"") + name +
             "\",\"data\":" + value + "}");
    }

    void Reply(int id, const std::string& data = "") {
        const std::string field = data.empty() ? "" : "\"data\":" + data + ",";
        Line("{" + field + "\"error\":\"success\",\"request_id\":" + std::to_string(id) + "}");
    }

    void Load() {
        playing = true;
        startedAt = Clock::now();
        Line("{\"event\":\"start-file\"}");
        Property("idle-active", "false");
        Property("pause", "false");
        Property("duration", "600");
        Line("{\"event\":\"playback-restart\"}");
    }

    void Stop() {
        playing = false;
        Line("{\"event\":\"end-file\"}");
        Property("idle-active", "true");
        Line("{\"event\":\"idle\"}");
    }

    void Answer(const std::string& request) {
        ++requests;
        const auto idAt = request.find("\"request_id\":");
        const int id = idAt == std::string::npos ? 0 : std::atoi(request.c_str() + idAt + 13);
        const auto is = [&](const char* what) { return request.find(what) != std::string::npos; };
        if (mode == "junk") return Junk();
        if (mode == "endless") {
            if (requests == 1) outbox += "{\"event\":\"property-change\",\"data\":\"";
            return;
        }
        if (mode == "cut" && requests == 3) {
            outbox += "{\"error\":\"succ";
            Flush();
            ::close(client);
            client = -1;
            return;
        }
        if (is("[\"get_property\",\"pid\"]")) return Reply(id, std::to_string(::getpid()));
        if (is("[\"get_property\",\"time-pos\"]")) {
            if (playing) return Reply(id, std::to_string(Position()));
            return Line("{\"error\":\"property unavailable\",\"request_id\":" + std::to_string(id) +
                        "}");
        }
        Reply(id);
        if (is("[\"observe_property\",1,")) Property("idle-active", playing ? "false" : "true");
        if (is("[\"loadfile\"")) Load();
        if (is("[\"stop\"]") && playing) Stop();
        if (is("[\"quit\"]")) std::exit(0);
    }

    void Tick() {
        if (mode == "endless" && requests > 0 && outbox.size() < 65536) outbox.append(65536, 'x');
        if (!playing || Clock::now() - lastTick < std::chrono::milliseconds(100)) return;
        lastTick = Clock::now();
        Property("time-pos", std::to_string(Position()));
    }

    void Read() {
        char buffer[4096];
        const ssize_t n = ::read(client, buffer, sizeof buffer);
        if (n <= 0) {
            ::close(client);
            client = -1;
            return;
        }
        inbox.append(buffer, static_cast<std::size_t>(n));
        std::size_t end;
        while (client >= 0 && (end = inbox.find('\n')) != std::string::npos) {
            const std::string request = inbox.substr(0, end);
            inbox.erase(0, end + 1);
            Answer(request);
        }
    }

    void Flush() {
        const ssize_t n = ::send(client, outbox.data(), outbox.size(), MSG_DONTWAIT);
        if (n > 0) outbox.erase(0, static_cast<std::size_t>(n));
    }
};

int Listen(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ::unlink(path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0)
        return -1;
    return fd;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    std::string socketPath;
    const std::string option = "--input-ipc-server=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], option.c_str(), option.size()) == 0)
            socketPath = argv[i] + option.size();
    const char* mode = std::getenv("FAKE_PLAYER_MODE");
    Player player;
    player.mode = mode ? mode : "chatter";
    const int listener = Listen(socketPath);
    if (listener < 0) return 2;
    for (;;) {
        if (player.client < 0) {
            player.client = ::accept(listener, nullptr, nullptr);
            player.inbox.clear();
            player.outbox.clear();
            continue;
        }
        player.Tick();
        pollfd watched{player.client, POLLIN, 0};
        if (!player.outbox.empty()) watched.events |= POLLOUT;
        ::poll(&watched, 1, 20);
        if (watched.revents & POLLOUT) player.Flush();
        if (watched.revents & (POLLIN | POLLHUP | POLLERR)) player.Read();
    }
}

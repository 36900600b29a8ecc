#include "platform/console/terminal.h"

#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/console/key_decode.h"
#include "platform/text/cp852.h"

#define NCURSES_NOMACROS
#include <curses.h>

namespace platform::console {

namespace {

// What the signal handlers need. Signal handlers can reach nothing else, so this is the one piece of
// process-wide state of the toolkit; it exists only while a TerminalBackend does.
struct SignalState {
    std::atomic<bool> active{false};
    struct termios saved {};
    int wake_fd = -1;                   // write end of the self-pipe that wakes a waiting read
    volatile std::sig_atomic_t end_signal = 0;
    volatile std::sig_atomic_t resized = 0;
    char restore[256] = {};  // terminal strings that undo our screen: reset colours, leave the alternate screen, show the cursor
    std::size_t restore_len = 0;
};
SignalState g_sig;

constexpr int kEndSignals[] = {SIGHUP, SIGTERM, SIGINT};
constexpr int kCrashSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

// Async-signal-safe: puts the terminal back as it was before we took it.
void restore_terminal_raw() {
    if (!g_sig.active.load()) return;
    if (g_sig.restore_len) {
        ssize_t ignored = ::write(STDOUT_FILENO, g_sig.restore, g_sig.restore_len);
        (void)ignored;
    }
    ::tcsetattr(STDIN_FILENO, TCSANOW, &g_sig.saved);
}

extern "C" void on_end_signal(int sig) {
    if (!g_sig.end_signal) g_sig.end_signal = sig;
    if (g_sig.wake_fd >= 0) {
        char b = 1;
        ssize_t ignored = ::write(g_sig.wake_fd, &b, 1);
        (void)ignored;
    }
}

extern "C" void on_crash_signal(int sig) {
    restore_terminal_raw();
    g_sig.active.store(false);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

extern "C" void on_resize(int) { g_sig.resized = 1; }

extern "C" void restore_at_exit() { restore_terminal_raw(); }

void append_cap(const char* name) {
    const char* s = ::tigetstr(const_cast<char*>(name));
    if (!s || s == reinterpret_cast<const char*>(-1)) return;
    std::size_t n = std::strlen(s);
    if (g_sig.restore_len + n >= sizeof g_sig.restore) return;
    std::memcpy(g_sig.restore + g_sig.restore_len, s, n);
    g_sig.restore_len += n;
}

// DOS colour order (N B G BG R RB GR W) to curses colour numbers.
constexpr short kCursesColour[8] = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN,  COLOR_CYAN,
                                    COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

}  // namespace

struct TerminalBackend::Impl {
    SCREEN* scr = nullptr;
    int pipe_read = -1;
    bool colours = false;
    bool bright_colours = false;  // 16 colours: bright foregrounds are colours of their own
    std::vector<Cell> drawn;      // what the terminal shows now
    bool full_redraw = true;
    int cursor_mode = -1;
    std::string pending;          // input bytes not yet decoded
    struct sigaction old_actions[NSIG] {};

    short pair_of(Attr a) const {
        int fg = attr_fg(a), bg = attr_bg(a);
        if (bright_colours) return static_cast<short>(1 + fg * 8 + bg);
        // Pair 0 is white on black by our own choice (assume_default_colors), so 8-colour terminals
        // with only 64 pairs still get every combination.
        return static_cast<short>(((fg & 7) * 8 + bg) ^ 56);
    }
    attr_t attrs_of(Attr a) const {
        attr_t r = A_NORMAL;
        if (!colours) {
            if (attr_bg(a) != 0) r |= A_REVERSE;
            if (attr_fg(a) & kAttrBright) r |= A_BOLD;
        } else if (!bright_colours && (attr_fg(a) & kAttrBright)) {
            r |= A_BOLD;
        }
        if (attr_blink(a)) r |= A_BLINK;
        return r;
    }
    void init_colours() {
        colours = ::has_colors();
        if (!colours) return;
        ::start_color();
        ::assume_default_colors(COLOR_WHITE, COLOR_BLACK);
        bright_colours = COLORS >= 16 && COLOR_PAIRS > 128;
        if (bright_colours) {
            for (int fg = 0; fg < 16; ++fg)
                for (int bg = 0; bg < 8; ++bg)
                    ::init_pair(static_cast<short>(1 + fg * 8 + bg),
                                static_cast<short>(kCursesColour[fg & 7] + (fg & 8 ? 8 : 0)), kCursesColour[bg]);
        } else if (COLOR_PAIRS >= 64) {
            for (int fg = 0; fg < 8; ++fg)
                for (int bg = 0; bg < 8; ++bg) {
                    short p = static_cast<short>((fg * 8 + bg) ^ 56);
                    if (p) ::init_pair(p, kCursesColour[fg], kCursesColour[bg]);
                }
        } else {
            colours = false;
        }
    }
    void handle_resize() {
        g_sig.resized = 0;
        struct winsize ws {};
        if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0)
            ::resizeterm(ws.ws_row, ws.ws_col);
        ::clearok(::curscr, TRUE);
        full_redraw = true;
    }
};

TerminalBackend::TerminalBackend() : impl_(std::make_unique<Impl>()) {
    if (!::isatty(STDIN_FILENO) || !::isatty(STDOUT_FILENO)) throw TerminalError("standard input/output is not a terminal");
    bool expected = false;
    if (!g_sig.active.compare_exchange_strong(expected, true)) throw TerminalError("the terminal is already in use");
    if (::tcgetattr(STDIN_FILENO, &g_sig.saved) != 0) {
        g_sig.active = false;
        throw TerminalError("cannot read the terminal settings");
    }

    // Wide characters need a UTF-8 character type; numbers and the rest keep the "C" rules.
    std::setlocale(LC_CTYPE, "");
    if (std::string(::nl_langinfo(CODESET)) != "UTF-8") std::setlocale(LC_CTYPE, "C.UTF-8");

    impl_->scr = ::newterm(nullptr, stdout, stdin);
    if (!impl_->scr) {
        g_sig.active = false;
        throw TerminalError("the terminal type is unknown (TERM)");
    }
    ::set_term(impl_->scr);
    ::raw();
    ::noecho();
    ::nonl();
    ::keypad(::stdscr, FALSE);
    ::intrflush(::stdscr, FALSE);
    ::scrollok(::stdscr, FALSE);
    impl_->init_colours();

    // Raw mode of our own on top: the key codes 3 (PgDn), 19 (Left) and 28 (F1) are control bytes,
    // which in the normal mode would interrupt, stop the output or quit.
    struct termios t {};
    ::tcgetattr(STDIN_FILENO, &t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP | BRKINT);
    t.c_lflag &= ~static_cast<tcflag_t>(ISIG | ICANON | ECHO | IEXTEN);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &t);
    ::def_prog_mode();

    g_sig.restore_len = 0;
    append_cap("sgr0");
    append_cap("rmcup");
    append_cap("cnorm");

    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
        impl_->pipe_read = fds[0];
        g_sig.wake_fd = fds[1];
    }
    g_sig.end_signal = 0;
    struct sigaction sa {};
    sigemptyset(&sa.sa_mask);
    sa.sa_handler = on_end_signal;
    for (int s : kEndSignals) ::sigaction(s, &sa, &impl_->old_actions[s]);
    sa.sa_handler = on_crash_signal;
    sa.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (int s : kCrashSignals) ::sigaction(s, &sa, &impl_->old_actions[s]);
    sa.sa_handler = on_resize;
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGWINCH, &sa, &impl_->old_actions[SIGWINCH]);
    static bool at_exit_registered = false;
    if (!at_exit_registered) at_exit_registered = std::atexit(restore_at_exit) == 0;

    impl_->drawn.assign(kRows * kCols, Cell{});
    ::erase();
}

TerminalBackend::~TerminalBackend() {
    ::endwin();
    ::delscreen(impl_->scr);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &g_sig.saved);
    for (int s : kEndSignals) ::sigaction(s, &impl_->old_actions[s], nullptr);
    for (int s : kCrashSignals) ::sigaction(s, &impl_->old_actions[s], nullptr);
    ::sigaction(SIGWINCH, &impl_->old_actions[SIGWINCH], nullptr);
    if (g_sig.wake_fd >= 0) ::close(g_sig.wake_fd);
    if (impl_->pipe_read >= 0) ::close(impl_->pipe_read);
    g_sig.wake_fd = -1;
    g_sig.active = false;
}

void TerminalBackend::present(const Screen& screen, const CursorState& cursor) {
    if (g_sig.resized) impl_->handle_resize();
    int rows = std::min(kRows, LINES), cols = std::min(kCols, COLS);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const Cell& cell = screen.at(r, c);
            Cell& was = impl_->drawn[r * kCols + c];
            if (!impl_->full_redraw && was == cell) continue;
            was = cell;
            wchar_t wc[2] = {static_cast<wchar_t>(text::to_display(cell.ch)), 0};
            cchar_t cc{};
            ::setcchar(&cc, wc, impl_->attrs_of(cell.attr), impl_->colours ? impl_->pair_of(cell.attr) : 0, nullptr);
            ::mvwadd_wch(::stdscr, r, c, &cc);
        }
    impl_->full_redraw = false;
    int mode = cursor.visible() && cursor.row < rows && cursor.col < cols
                   ? (cursor.shape == CursorShape::Normal ? 1 : 2)
                   : 0;
    if (mode != impl_->cursor_mode) {
        ::curs_set(mode);
        impl_->cursor_mode = mode;
    }
    if (mode) ::wmove(::stdscr, cursor.row, cursor.col);
    ::wnoutrefresh(::stdscr);
    ::doupdate();
}

ReadResult TerminalBackend::read_key(Clock& clock, std::optional<Millis> wait) {
    // How long an incomplete escape sequence may wait for the rest of its bytes.
    constexpr int kSequenceGapMs = 40;
    std::optional<Millis> deadline;
    if (wait) deadline = clock.ticks() + *wait;
    std::string& buf = impl_->pending;
    bool waited_for_rest = false;
    while (true) {
        if (g_sig.end_signal) return ReadResult::end(g_sig.end_signal);
        if (!buf.empty()) {
            Decoded d = decode_key(buf, waited_for_rest);
            if (d.status != Decoded::Status::Incomplete) {
                buf.erase(0, std::max<std::size_t>(d.used, 1));
                waited_for_rest = false;
                if (d.status == Decoded::Status::Key) return ReadResult::of_key(d.key);
                continue;
            }
        }
        int timeout_ms = -1;
        if (!buf.empty()) {
            timeout_ms = kSequenceGapMs;
        } else if (deadline) {
            auto left = (*deadline - clock.ticks()).count();
            timeout_ms = static_cast<int>(std::max<long long>(0, left));
        }
        struct pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {impl_->pipe_read, POLLIN, 0}};
        int n = ::poll(fds, impl_->pipe_read >= 0 ? 2 : 1, timeout_ms);
        if (n < 0) {
            if (errno == EINTR) continue;
            return ReadResult::end(SIGHUP);
        }
        if (n == 0) {
            if (!buf.empty()) {
                waited_for_rest = true;
                continue;
            }
            return ReadResult::timeout();
        }
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(impl_->pipe_read, drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            char in[256];
            ssize_t got = ::read(STDIN_FILENO, in, sizeof in);
            if (got > 0) {
                buf.append(in, static_cast<std::size_t>(got));
            } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
                // The terminal has gone (hang-up): end in order as for SIGHUP.
                return ReadResult::end(SIGHUP);
            }
        }
    }
}

void TerminalBackend::tone(double, double) { ::beep(); }

bool TerminalBackend::colour() const { return impl_->colours; }

}  // namespace platform::console

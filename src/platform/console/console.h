#pragma once
// The console: one screen, one keyboard and one clock over one backend. Everything a screen of the
// application draws or waits for goes through here. The object holds all console state; nothing of
// it is global.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/console/backend.h"
#include "platform/console/clock.h"
#include "platform/console/colour.h"
#include "platform/console/keyboard.h"
#include "platform/console/screen.h"

namespace platform::console {

// Where positioned output (devpos/devout) and line output (qout/qqout) go instead of, or besides,
// the screen: the printer or spool file. The print subsystem implements it and switches it in.
class DeviceSink {
  public:
    virtual ~DeviceSink() = default;
    virtual void devpos(int row, int col) = 0;
    virtual void devout(std::string_view cp852) = 0;
    // qout: a new line, then the text; qqout: the text where the last output stopped.
    virtual void qout(std::string_view cp852) = 0;
    virtual void qqout(std::string_view cp852) = 0;
};

// The run-time choices that several parts of the toolkit share.
struct ConsoleSettings {
    bool wrap = false;     // light-bar menus wrap from the last entry to the first and back
    bool insert = false;   // insert mode of entry fields and the editor
    bool confirm = false;  // an entry field is left only with Enter or a cursor key
    bool bell = false;     // ring when an entry field fills up
    std::optional<int> message_row;  // where menu prompt messages appear; none = not shown
    bool message_centre = false;
};

class Console {
  public:
    Console(std::unique_ptr<Backend> backend, std::unique_ptr<Clock> clock);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    Screen& screen() { return screen_; }
    const Screen& screen() const { return screen_; }
    Keyboard& keyboard() { return keyboard_; }
    Clock& clock() { return *clock_; }
    Backend& backend() { return *backend_; }
    ConsoleSettings& settings() { return settings_; }
    bool is_colour() const { return backend_->colour(); }

    // ---- colour
    const ColourSpec& colour() const { return colour_; }
    // Applies a colour string ("" = defaults, empty entries keep their slot); returns the one before,
    // in a form that restores it exactly.
    std::string set_colour(std::string_view spec);
    void set_colour(const ColourSpec& spec) { colour_ = spec; }
    // The attribute for an optional colour argument: the standard pair of `spec` when given (the
    // current standard colour when it is empty or malformed).
    Attr attr_of(std::string_view spec) const;

    // ---- position and output on the screen
    int row() const { return cursor_.row; }
    int col() const { return cursor_.col; }
    void set_pos(int row, int col);
    // Writes at the current position in `attr` (current standard colour when none) and moves the
    // position past the text; clipped at the screen edge.
    void out(std::string_view cp852, std::optional<Attr> attr = std::nullopt);
    void out_at(int row, int col, std::string_view cp852, std::optional<Attr> attr = std::nullopt);

    // Positioned output to the current device: the screen, or the device sink when one is set.
    void devpos(int row, int col);
    void devout(std::string_view cp852, std::optional<Attr> attr = std::nullopt);
    void set_device_sink(DeviceSink* sink) { device_sink_ = sink; }
    DeviceSink* device_sink() const { return device_sink_; }

    // Line output: on the screen it wraps at column 79 and scrolls the screen up at the bottom.
    // With a line sink set it goes there too, and to the screen only when `screen_too` was given.
    void qout(std::string_view cp852);
    void qqout(std::string_view cp852);
    void set_line_sink(DeviceSink* sink, bool screen_too) {
        line_sink_ = sink;
        line_screen_too_ = screen_too;
    }
    DeviceSink* line_sink() const { return line_sink_; }

    // ---- rectangles
    // Frame in `attr` (current standard colour when none); the position goes inside the top-left corner.
    void box(int top, int left, int bottom, int right, std::string_view frame, std::optional<Attr> attr = {});
    // Scrolls (or, with 0/0, clears) in the current standard colour.
    void scroll(int top, int left, int bottom, int right, int rows = 0, int cols = 0);
    void clear_screen();  // whole screen, position to 0,0
    ScreenImage save(int top, int left, int bottom, int right) const { return screen_.save(top, left, bottom, right); }
    void restore(int top, int left, int bottom, int right, const ScreenImage& image);
    // Repaints the attribute of a rectangle.
    void paint(int top, int left, int bottom, int right, Attr attr);

    // ---- cursor
    CursorShape cursor_shape() const { return cursor_.shape; }
    CursorShape set_cursor_shape(CursorShape shape);

    // ---- drawing in batches: nothing is shown until the outermost disp_end
    void disp_begin() { ++disp_depth_; }
    void disp_end();
    int disp_depth() const { return disp_depth_; }
    // Shows the screen now unless inside disp_begin/disp_end.
    void refresh();

    // ---- sound
    void tone(double frequency, double duration);

    // ---- keyboard (shows the screen before waiting)
    int inkey(Wait wait, bool hot_keys = true);
    int nextkey() { return keyboard_.nextkey(); }
    int lastkey() const { return keyboard_.lastkey(); }

    // Waits without watching the keyboard.
    void sleep(Millis d);

    // ---- orderly end
    // Runs when a signal (SIGHUP, SIGTERM, SIGINT) or a lost terminal ends the program during a wait:
    // release the workstation, close the tables. Afterwards the console restores the terminal and
    // ends the process with exit code 128 + signal.
    void set_end_handler(std::function<void(int signal)> handler) { end_handler_ = std::move(handler); }
    // Stops the process in the orderly way (used by the keyboard; exposed for the shell's own exits).
    [[noreturn]] void end(int signal);

  private:
    std::unique_ptr<Backend> backend_;
    std::unique_ptr<Clock> clock_;
    Screen screen_;
    Keyboard keyboard_;
    ConsoleSettings settings_;
    ColourSpec colour_;
    CursorState cursor_;
    int disp_depth_ = 0;
    DeviceSink* device_sink_ = nullptr;
    DeviceSink* line_sink_ = nullptr;
    bool line_screen_too_ = false;
    std::function<void(int)> end_handler_;
    bool ending_ = false;

    void console_write(std::string_view cp852);  // qout/qqout on the screen
};

}  // namespace platform::console

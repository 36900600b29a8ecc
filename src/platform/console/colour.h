#pragma once
// Colour strings: comma-separated foreground/background pairs such as "W+/N", "N/W", "W/N,N/W,,,W+/N".
// Letters N B G BG R RB GR W (black, blue, green, cyan, red, magenta, brown, white); '+' makes the
// foreground bright, '*' blinks. A pair becomes one text-screen attribute byte:
// bits 0-3 foreground (bit 3 bright), bits 4-6 background, bit 7 blink.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::console {

using Attr = std::uint8_t;

inline constexpr Attr kAttrBright = 0x08;
inline constexpr Attr kAttrBlink = 0x80;

constexpr Attr make_attr(int fg, int bg, bool blink = false) {
    return static_cast<Attr>((fg & 0x0F) | ((bg & 0x07) << 4) | (blink ? kAttrBlink : 0));
}
constexpr int attr_fg(Attr a) { return a & 0x0F; }
constexpr int attr_bg(Attr a) { return (a >> 4) & 0x07; }
constexpr bool attr_blink(Attr a) { return (a & kAttrBlink) != 0; }

// One pair: "W+/B", "n/w", "GR*/N", "I" (inverse, N/W), "X" (black on black). nullopt when malformed.
// A missing part ("W+", "/W") is black.
std::optional<Attr> parse_colour_pair(std::string_view pair);
// Every comma-separated pair of a list; an empty or malformed entry is nullopt.
std::vector<std::optional<Attr>> parse_colour_list(std::string_view list);
// Canonical text of an attribute: "W+/B", "N*/W".
std::string colour_name(Attr a);

// The five slots of the current colour.
enum class ColourSlot : int { Standard = 0, Enhanced = 1, Border = 2, Background = 3, Unselected = 4 };

class ColourSpec {
  public:
    static constexpr int kSlots = 5;
    // "W/N,N/W,N/N,N/N,N/W"
    static ColourSpec defaults();

    // Applies a colour string: "" restores the defaults; an empty entry keeps that slot.
    void apply(std::string_view text);
    // A new spec from a string, starting from the defaults.
    static ColourSpec parse(std::string_view text);

    Attr get(ColourSlot s) const { return slots_[static_cast<int>(s)]; }
    void set(ColourSlot s, Attr a) { slots_[static_cast<int>(s)] = a; }
    Attr standard() const { return get(ColourSlot::Standard); }
    Attr enhanced() const { return get(ColourSlot::Enhanced); }
    Attr unselected() const { return get(ColourSlot::Unselected); }

    // "W/N,N/W,N/N,N/N,N/W" form; apply(to_string()) gives the same spec back.
    std::string to_string() const;

    friend bool operator==(const ColourSpec&, const ColourSpec&) = default;

  private:
    Attr slots_[kSlots] = {make_attr(7, 0), make_attr(0, 7), make_attr(0, 0), make_attr(0, 0), make_attr(0, 7)};
};

}  // namespace platform::console

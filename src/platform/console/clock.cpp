#include "platform/console/clock.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>

namespace platform::console {

using namespace std::chrono;

Millis seconds_to_millis(double seconds) { return Millis{static_cast<long long>(std::llround(seconds * 1000.0))}; }

platform::Date Clock::today() const {
    year_month_day ymd{floor<days>(now())};
    return platform::Date::from_ymd(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                                    static_cast<int>(static_cast<unsigned>(ymd.day())));
}

std::string Clock::time_of_day() const {
    LocalTime t = now();
    hh_mm_ss<Millis> hms{t - floor<days>(t)};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(hms.hours().count()),
                  static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count()));
    return buf;
}

double Clock::seconds() const {
    LocalTime t = now();
    return duration<double>(t - floor<days>(t)).count();
}

LocalTime RealClock::now() const {
    auto sys = time_point_cast<Millis>(system_clock::now());
    std::time_t tt = system_clock::to_time_t(sys);
    std::tm tm{};
    localtime_r(&tt, &tm);
    return LocalTime{sys.time_since_epoch() + duration_cast<Millis>(std::chrono::seconds{tm.tm_gmtoff})};
}

Millis RealClock::ticks() const { return duration_cast<Millis>(steady_clock::now().time_since_epoch()); }

void RealClock::sleep(Millis d) {
    if (d.count() > 0) std::this_thread::sleep_for(d);
}

VirtualClock::VirtualClock() : VirtualClock(platform::Date::from_ymd(2024, 1, 15)) {}

VirtualClock::VirtualClock(platform::Date day, int hour, int minute, int second) {
    local_days d{year{day.year()} / day.month() / day.day()};
    now_ = LocalTime{d} + hours{hour} + minutes{minute} + std::chrono::seconds{second};
}

void VirtualClock::advance(Millis d) {
    if (d.count() <= 0) return;
    now_ += d;
    elapsed_ += d;
}

}  // namespace platform::console

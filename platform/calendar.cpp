#include "platform/calendar.h"

#include <ctime>

namespace {

std::string Format(const char* pattern) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, pattern, &local);
    return text;
}

}  // namespace

std::string Calendar::StampText() {
    std::string digits;
    for (char c : NowText())
        if (c >= '0' && c <= '9') digits += c;
    return digits.size() == 12 ? digits.substr(0, 8) + "-" + digits.substr(8) + "00" : digits;
}

std::string SystemCalendar::Today() { return Format("%Y-%m-%d"); }

std::string SystemCalendar::NowText() { return Format("%Y-%m-%d %H:%M"); }

std::string SystemCalendar::StampText() { return Format("%Y%m%d-%H%M%S"); }

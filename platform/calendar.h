#pragma once
// The local calendar date and time, for the learning record's review dates and
// the history of finished games. The game reads them only through this, so
// tests can fix the day (and move it over midnight).
#include <string>

class Calendar {
public:
    virtual ~Calendar() = default;
    virtual std::string Today() = 0;    // "YYYY-MM-DD", local time
    virtual std::string NowText() = 0;  // "YYYY-MM-DD HH:MM", local time
    // "YYYYMMDD-HHMMSS", local time, for file names; to the minute where only that is known.
    virtual std::string StampText();
};

// The machine's local time.
class SystemCalendar : public Calendar {
public:
    std::string Today() override;
    std::string NowText() override;
    std::string StampText() override;
};

// A calendar that shows what it is told.
class FixedCalendar : public Calendar {
public:
    explicit FixedCalendar(std::string today, std::string time = "12:00")
        : today_(std::move(today)), time_(std::move(time)) {}
    std::string Today() override { return today_; }
    std::string NowText() override { return today_ + " " + time_; }
    void Set(std::string today) { today_ = std::move(today); }

private:
    std::string today_, time_;
};

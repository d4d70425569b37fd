#include "clock/schedule.h"

#include <limits>

const Stretch& stretch_at(double beat) {
    int i = 0;
    while (i + 1 < schedule_length && beat >= schedule[i + 1].start) ++i;
    return schedule[i];
}

double stretch_end(const Stretch& stretch) {
    int next = static_cast<int>(&stretch - schedule) + 1;
    return next < schedule_length ? schedule[next].start : std::numeric_limits<double>::infinity();
}

double script_start(Script script) {
    for (const Stretch& stretch : schedule)
        if (stretch.script == script) return stretch.start;
    return 0;
}
